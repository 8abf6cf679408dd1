// The command-line rule: flags are skipped, the first other argument is the location.
#include "app/command_line.h"

std::vector<std::string> ArgumentsAfterName(int argc, const char* const* argv) {
  if (argc <= 1) return {};
  return std::vector<std::string>(argv + 1, argv + argc);
}

CCommandLineInfo ParseCommandLine(const std::vector<std::string>& args) {
  CCommandLineInfo info;
  for (const std::string& arg : args) {
    if (arg == "--help") {
      // --help wins over --version wherever the two stand.
      info.m_action = CommandLineAction::Help;
    } else if (arg == "--version") {
      if (info.m_action == CommandLineAction::Run) info.m_action = CommandLineAction::Version;
    } else if (!arg.empty() && (arg.front() == '-' || arg.front() == '/')) {
      continue;
    } else if (info.m_strFileName.empty()) {
      // An empty argument leaves the location unset, so a later word may still become it.
      info.m_strFileName = arg;
    }
  }
  return info;
}

std::string UsageText(std::string_view programName) {
  std::string name(programName);
  return "Usage: " + name + " [LOCATION]\n" +
         "Finds a place and opens the National Weather Service point forecast for it.\n"
         "\n"
         "Without LOCATION the dialog opens for interactive use. With LOCATION (a place\n"
         "name, an address, \"LAT,LON\" or a ZIP code; quote it when it has blanks) the\n"
         "program looks it up, opens the forecast page in the browser and closes.\n"
         "Arguments that begin with '-' or '/' are flags and never a location, so a\n"
         "southern latitude cannot come first; other flags are ignored.\n"
         "\n"
         "  --help     show this text and exit\n"
         "  --version  show the program's version and exit\n";
}

std::string VersionText() { return std::string(kProductName) + " " + kProductVersion; }

std::optional<int> AnswerOwnFlags(const std::vector<std::string>& args,
                                  std::string_view programName, std::ostream& out) {
  switch (ParseCommandLine(args).m_action) {
    case CommandLineAction::Help:
      out << UsageText(programName);
      return 0;
    case CommandLineAction::Version:
      out << VersionText() << '\n';
      return 0;
    case CommandLineAction::Run:
      break;
  }
  return std::nullopt;
}
