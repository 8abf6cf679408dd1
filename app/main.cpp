// Orlimar's entry point: our own informational flags, otherwise the application's run.
#include <iostream>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "platform/application/win_app.h"
#include "platform/process/application_name.h"

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
  if (const auto status = AnswerOwnFlags(args, ApplicationName(argv[0]), std::cout)) {
    return *status;
  }
  return AfxWinMain(argc, argv);
}
