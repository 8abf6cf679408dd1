// orlimar-lookup's command line: its options and the one location.
#pragma once

#include <string>
#include <vector>

enum class LookupToolAction { Lookup, Help, Version, Usage };

struct LookupToolArgs {
  LookupToolAction action = LookupToolAction::Usage;
  bool json = false;
  std::string location;
  // Why the command line is wrong, for the usage message; empty when nothing is given.
  std::string problem;
};

// args are the arguments after the program's name. Options come first and "--"
// ends them, so "-- -33.9,151.2" is a location; exactly one location is taken.
LookupToolArgs ParseLookupToolArgs(const std::vector<std::string>& args);
