// The program's command line: the optional location and our own two flags.
#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "orlimar_version.h"

enum class CommandLineAction { Run, Help, Version, SetApiKey, MissingApiKey };

struct CCommandLineInfo {
  // The first argument that is not a flag, or empty: the run is interactive.
  std::string m_strFileName;
  CommandLineAction m_action = CommandLineAction::Run;
  // The text after --set-api-key; empty removes the stored key.
  std::string m_strApiKey;
};

// argv less the program's own name, in order.
std::vector<std::string> ArgumentsAfterName(int argc, const char* const* argv);

// args are the arguments after the program's name, as the shell split them.
// An argument beginning with '-' or '/' is a flag and never the location;
// "-h", "--help", "--version" and "--set-api-key KEY" are ours (KEY is never
// the location); every other flag changes nothing.
CCommandLineInfo ParseCommandLine(const std::vector<std::string>& args);

std::string UsageText(std::string_view programName);
// "Orlimar 1.0.2.15": the product name and version, whatever the file is called.
std::string VersionText();

// --help and --version are answered before anything of the platform starts,
// so they work without a display; so is a --set-api-key without its KEY (the
// usage on err, status 64). Returns the exit status when one of them was
// given; nothing when the program is to go on.
std::optional<int> AnswerOwnFlags(const std::vector<std::string>& args,
                                  std::string_view programName, std::ostream& out,
                                  std::ostream& err);

// Where the dialog could show: one of DISPLAY, WAYLAND_DISPLAY, QT_QPA_PLATFORM
// set (environmentNamesOne), or the toolkit's own -platform option among args.
bool DisplayNamed(const std::vector<std::string>& args, bool environmentNamesOne);
// The one line printed instead of starting without a display.
std::string NoDisplayText(std::string_view programName);
