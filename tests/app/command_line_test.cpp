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
  std::ostringstream out;
  EXPECT_EQ(AnswerOwnFlags({"95814", "--version"}, "Orlimar", out), 0);
  EXPECT_EQ(out.str(), std::string("Orlimar ") + kProductVersion + "\n");

  out.str("");
  EXPECT_EQ(AnswerOwnFlags({"--help"}, "Orlimar", out), 0);
  EXPECT_EQ(out.str(), UsageText("Orlimar"));

  out.str("");
  EXPECT_EQ(AnswerOwnFlags({"/p", "95814"}, "Orlimar", out), std::nullopt);
  EXPECT_EQ(out.str(), "");
}

}  // namespace
