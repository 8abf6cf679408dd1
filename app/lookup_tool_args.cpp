// orlimar-lookup's options: help and version answer at once, anything unknown is a usage error.
#include "app/lookup_tool_args.h"

LookupToolArgs ParseLookupToolArgs(const std::vector<std::string>& args) {
  LookupToolArgs parsed;
  std::vector<std::string> locations;
  bool options = true;
  for (const std::string& arg : args) {
    if (options && arg == "--") {
      options = false;
    } else if (options && (arg == "-h" || arg == "--help")) {
      parsed.action = LookupToolAction::Help;
      return parsed;
    } else if (options && arg == "--version") {
      parsed.action = LookupToolAction::Version;
      return parsed;
    } else if (options && arg == "--json") {
      parsed.json = true;
    } else if (options && arg.size() > 1 && arg.front() == '-') {
      parsed.problem = "unknown option " + arg;
      return parsed;
    } else {
      locations.push_back(arg);
    }
  }
  if (locations.size() != 1) {
    if (!locations.empty()) parsed.problem = "give one location (quote one of several words)";
    return parsed;
  }
  parsed.location = locations.front();
  parsed.action = LookupToolAction::Lookup;
  return parsed;
}
