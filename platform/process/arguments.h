// The program's arguments as UTF-8 text, whatever form the system hands main.
#pragma once

#include <string>
#include <vector>

// argv[0] first. On Windows from the UTF-16 command line (argv there is in
// the ANSI code page); elsewhere argv as it is.
std::vector<std::string> Utf8Arguments(int argc, char** argv);
