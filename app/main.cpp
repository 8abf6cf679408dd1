// Orlimar's entry point: our own flags, the stored key, otherwise the application's run.
#include <cstdlib>
#include <iostream>

#include "app/command_line.h"
#include "app/platform_options_reader.h"
#include "platform/interfaces/platform_factories.h"
#include "platform/process/application_name.h"
#include "platform/window/win_app.h"
#include "settings/settings_store.h"

namespace {

// --set-api-key: the settings alone, no window. The key itself is never printed.
int StoreApiKey(const PlatformOptions& options, const std::string& programName,
                const std::string& key) {
  const auto store = MakeProfileStore(options, programName);
  AppSettingsState app;
  SetUpRegistry(*store, app);
  if (!WriteApiKey(*store, app, key)) {
    std::cerr << programName << ": the API key could not be stored in the settings\n";
    return 1;
  }
  std::cout << (key.empty() ? "The stored API key is removed.\n" : "The API key is stored.\n");
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  UseParentConsole();
  const std::vector<std::string> args = ArgumentsAfterName(argc, argv);
  const std::string name = ApplicationName(argv[0]);
  if (const auto status = AnswerOwnFlags(args, name, std::cout, std::cerr)) return *status;
  const CCommandLineInfo info = ParseCommandLine(args);
  const PlatformOptions options = ReadPlatformOptions(std::getenv);
  if (info.m_action == CommandLineAction::SetApiKey) {
    return StoreApiKey(options, name, info.m_strApiKey);
  }
  // Without a display the toolkit would abort; say what to do instead.
  if (WindowSystemNeedsDisplay() && !DisplayNamed(args, options.displayNamed)) {
    std::cerr << NoDisplayText(name) << '\n';
    return 1;
  }
  return AfxWinMain(argc, argv);
}
