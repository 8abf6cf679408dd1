// Orlimar's entry point: our own informational flags, otherwise the application's run.
#include <iostream>

#include "app/command_line.h"
#include "platform/process/application_name.h"
#include "platform/window/win_app.h"

int main(int argc, char** argv) {
  if (const auto status =
          AnswerOwnFlags(ArgumentsAfterName(argc, argv), ApplicationName(argv[0]), std::cout)) {
    return *status;
  }
  return AfxWinMain(argc, argv);
}
