// The command-line rule over argument lists as the shell hands them over.
#include "app/command_line.h"

#include <gtest/gtest.h>

#include <sstream>

#include "tests/support/named_rows.h"

namespace {

struct Case {
  const char* name;
  std::vector<std::string> args;
  std::string location;
  CommandLineAction action = CommandLineAction::Run;
};

using named_rows::PrintTo;

class CommandLineRule : public testing::TestWithParam<Case> {};

TEST_P(CommandLineRule, TakesFirstNonFlagArgument) {
  const Case& c = GetParam();
  CCommandLineInfo info = ParseCommandLine(c.args);
  EXPECT_EQ(info.m_strFileName, c.location);
  EXPECT_EQ(info.m_action, c.action);
}

TEST(CommandLineRule, SetApiKeyKeepsTheKeyWhateverItLooksLike) {
  EXPECT_EQ(ParseCommandLine({"--set-api-key", "-AIza/x y"}).m_strApiKey, "-AIza/x y");
  EXPECT_EQ(ParseCommandLine({"--set-api-key=a=b"}).m_strApiKey, "a=b");
  EXPECT_EQ(ParseCommandLine({"--set-api-key", ""}).m_strApiKey, "");
}

TEST(CommandLineRule, DisplayNamedByTheEnvironmentOrTheToolkitsOption) {
  EXPECT_TRUE(DisplayNamed({}, true));
  EXPECT_FALSE(DisplayNamed({"95814"}, false));
  EXPECT_TRUE(DisplayNamed({"-platform", "offscreen", "95814"}, false));
  EXPECT_TRUE(DisplayNamed({"--platform", "xcb"}, false));
  EXPECT_EQ(NoDisplayText("Orlimar").find('\n'), std::string::npos);
  EXPECT_NE(NoDisplayText("Orlimar").find("orlimar-lookup"), std::string::npos);
}

const Case kCases[] = {
    {"NoArgument", {}, ""},
    {"QuotedWordsAreOneLocation", {"Pine Hollow"}, "Pine Hollow"},
    {"UnquotedWordsTakeOnlyTheFirst", {"Pine", "Hollow"}, "Pine"},
    {"LeadingMinusIsAFlag", {"-33.9,151.2"}, ""},
    {"SlashFlagIsSkipped", {"/p", "95814"}, "95814"},
    {"DashFlagIsSkipped", {"--geometry", "95814"}, "95814"},
    {"LoneSlashIsAFlag", {"/"}, ""},
    {"EmptyArgumentIsNoLocation", {""}, ""},
    {"EmptyArgumentThenWord", {"", "95814"}, "95814"},
    {"LaterArgumentsIgnored", {"95814", "/p", "Pine Hollow"}, "95814"},
    {"NonAsciiKept", {"Z\xC3\xBCrich"}, "Z\xC3\xBCrich"},
    {"Help", {"--help"}, "", CommandLineAction::Help},
    {"HelpAfterLocation", {"95814", "--help"}, "95814", CommandLineAction::Help},
    {"Version", {"--version"}, "", CommandLineAction::Version},
    {"HelpWinsOverVersion", {"--version", "--help"}, "", CommandLineAction::Help},
    {"SingleDashHelpIsAnOrdinaryFlag", {"-help", "95814"}, "95814"},
    {"ShortHelp", {"-h"}, "", CommandLineAction::Help},
    {"SetApiKeyTakesTheNextArgument", {"--set-api-key", "95814"}, "", CommandLineAction::SetApiKey},
    {"SetApiKeyJoined", {"--set-api-key=AIza", "95814"}, "95814", CommandLineAction::SetApiKey},
    {"SetApiKeyEmpty", {"--set-api-key", ""}, "", CommandLineAction::SetApiKey},
    {"SetApiKeyAlone", {"--set-api-key"}, "", CommandLineAction::MissingApiKey},
    {"HelpWinsOverSetApiKey", {"--set-api-key", "k", "-h"}, "", CommandLineAction::Help},
};

INSTANTIATE_TEST_SUITE_P(Table, CommandLineRule, testing::ValuesIn(kCases),
                         named_rows::RowName<Case>);

TEST(CommandLineText, VersionIsTheProductsNameAndVersion) {
  EXPECT_EQ(VersionText(), std::string("Orlimar ") + kProductVersion);
}

TEST(CommandLineText, UsageNamesTheProgramAndBothFlags) {
  std::string usage = UsageText("Copy");
  EXPECT_EQ(usage.rfind("Usage: Copy [LOCATION]\n", 0), 0u);
  EXPECT_NE(usage.find("--help"), std::string::npos);
  EXPECT_NE(usage.find("--version"), std::string::npos);
}

TEST(OwnFlags, AnsweredWithStatusZeroAndOnlyThen) {
  std::ostringstream out, err;
  EXPECT_EQ(AnswerOwnFlags({"95814", "--version"}, "Orlimar", out, err), 0);
  EXPECT_EQ(out.str(), std::string("Orlimar ") + kProductVersion + "\n");

  out.str("");
  EXPECT_EQ(AnswerOwnFlags({"--help"}, "Orlimar", out, err), 0);
  EXPECT_EQ(out.str(), UsageText("Orlimar"));

  out.str("");
  EXPECT_EQ(AnswerOwnFlags({"/p", "95814"}, "Orlimar", out, err), std::nullopt);
  EXPECT_EQ(AnswerOwnFlags({"--set-api-key", "k"}, "Orlimar", out, err), std::nullopt);
  EXPECT_EQ(out.str(), "");
  EXPECT_EQ(err.str(), "");

  EXPECT_EQ(AnswerOwnFlags({"--set-api-key"}, "Orlimar", out, err), 64);
  EXPECT_EQ(out.str(), "");
  EXPECT_NE(err.str().find(UsageText("Orlimar")), std::string::npos);
}

}  // namespace
