// The command-line rule: flags are skipped, the first other argument is the location.
#include "app/command_line.h"

#include <iterator>

std::vector<std::string> ArgumentsAfterName(int argc, const char* const* argv) {
  if (argc <= 1) return {};
  return std::vector<std::string>(argv + 1, argv + argc);
}

CCommandLineInfo ParseCommandLine(const std::vector<std::string>& args) {
  CCommandLineInfo info;
  constexpr std::string_view kSetApiKey = "--set-api-key";
  for (auto it = args.begin(); it != args.end(); ++it) {
    const std::string& arg = *it;
    if (arg == "--help" || arg == "-h") {
      // Help wins over the other flags wherever they stand.
      info.m_action = CommandLineAction::Help;
    } else if (arg == kSetApiKey || arg.starts_with(std::string(kSetApiKey) + "=")) {
      const bool joined = arg.size() > kSetApiKey.size();
      const bool given = joined || std::next(it) != args.end();
      if (info.m_action != CommandLineAction::Help) {
        info.m_action = given ? CommandLineAction::SetApiKey : CommandLineAction::MissingApiKey;
      }
      if (joined) {
        info.m_strApiKey = arg.substr(kSetApiKey.size() + 1);
      } else if (given) {
        info.m_strApiKey = *++it;  // the key, even when it begins with '-', is never the location
      }
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
         "  -h, --help           show this text and exit\n"
         "  --version            show the program's version and exit\n"
         "  --set-api-key KEY    store KEY as the Google Maps API key and exit (\"\" removes\n"
         "                       it); the key in ORLIMAR_API_KEY, when set, goes first\n"
         "\n"
         "Without a display, orlimar-lookup LOCATION prints the same look-up.\n";
}

std::string VersionText() { return std::string(kProductName) + " " + kProductVersion; }

std::optional<int> AnswerOwnFlags(const std::vector<std::string>& args,
                                  std::string_view programName, std::ostream& out,
                                  std::ostream& err) {
  switch (ParseCommandLine(args).m_action) {
    case CommandLineAction::Help:
      out << UsageText(programName);
      return 0;
    case CommandLineAction::Version:
      out << VersionText() << '\n';
      return 0;
    case CommandLineAction::MissingApiKey:
      err << programName << ": --set-api-key needs the key (\"\" removes the stored one)\n"
          << UsageText(programName);
      return 64;
    case CommandLineAction::Run:
    case CommandLineAction::SetApiKey:
      break;
  }
  return std::nullopt;
}

bool DisplayNamed(const std::vector<std::string>& args, bool environmentNamesOne) {
  if (environmentNamesOne) return true;
  for (const std::string& arg : args) {
    if (arg == "-platform" || arg == "--platform" || arg.starts_with("-platform=")) return true;
  }
  return false;
}

std::string NoDisplayText(std::string_view programName) {
  return std::string(programName) +
         ": no display to show the dialog on (neither DISPLAY, WAYLAND_DISPLAY nor "
         "QT_QPA_PLATFORM is set); for a look-up without a window run: orlimar-lookup LOCATION";
}
