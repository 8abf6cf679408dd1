// The program's command line: the optional location and our own two flags.
#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "orlimar_version.h"

enum class CommandLineAction { Run, Help, Version };

struct CCommandLineInfo {
  // The first argument that is not a flag, or empty: the run is interactive.
  std::string m_strFileName;
  CommandLineAction m_action = CommandLineAction::Run;
};

// argv less the program's own name, in order.
std::vector<std::string> ArgumentsAfterName(int argc, const char* const* argv);

// args are the arguments after the program's name, as the shell split them.
// An argument beginning with '-' or '/' is a flag and never the location;
// "--help" and "--version" are ours, every other flag changes nothing.
CCommandLineInfo ParseCommandLine(const std::vector<std::string>& args);

std::string UsageText(std::string_view programName);
// "Orlimar 1.0.2.15": the product name and version, whatever the file is called.
std::string VersionText();

// --help and --version are answered before anything of the platform starts,
// so they work without a display. Returns the exit status when one of them was
// given; nothing when the program is to run.
std::optional<int> AnswerOwnFlags(const std::vector<std::string>& args,
                                  std::string_view programName, std::ostream& out);
