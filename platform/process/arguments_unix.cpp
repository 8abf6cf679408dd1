// The arguments on Unix: argv's bytes, already the program's text.
#include "platform/process/arguments.h"

std::vector<std::string> Utf8Arguments(int argc, char** argv) { return {argv, argv + argc}; }
