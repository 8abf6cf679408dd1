// Start-up load and one changed-flag save on the hive file, each beside
// QSettings doing the same with an INI file, printed as ratios; and both on a
// hive file of 40,000 keys, against a time goal.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <QSettings>
#include <QString>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>

#include "platform/registry/hive_file_store_unix.h"
#include "settings/settings_store.h"

namespace {

namespace fs = std::filesystem;

struct Dialog {
  BOOL m_bDewPoint = 1, m_bPrecipitationPotential = 1, m_bRelativeHumidity = 1, m_bSkyCover = 1,
       m_bSurfaceWinds = 1, m_bTemperature = 1, m_bWindChill = 1, m_bRain = 1, m_bThunder = 1,
       m_bSnow = 1, m_bFreezingRain = 1, m_bSleet = 1;
};

fs::path Folder() {
  static const fs::path folder = [] {
    std::string pattern = (fs::temp_directory_path() / "orlimar-bench-XXXXXX").string();
    return fs::path(mkdtemp(pattern.data()));
  }();
  return folder;
}

std::string HivePath() { return (Folder() / "Quenwick Software" / "registry.reg").string(); }
QString IniPath() { return QString::fromStdString((Folder() / "Orlimar.ini").string()); }

// A hive grown large by other programs' keys (1.5 MB), with ours at the end.
constexpr int kLargeKeyCount = 40000;
std::string LargeHivePath() { return (Folder() / "Large" / "registry.reg").string(); }

void WriteLargeHive() {
  fs::create_directories(Folder() / "Large");
  std::ofstream out(LargeHivePath(), std::ios::binary);
  out << "REGEDIT4\n";
  for (int i = 0; i < kLargeKeyCount; ++i) {
    out << "\n[HKEY_CURRENT_USER\\Software\\Key" << i << "]\n";
  }
  out << "\n[HKEY_CURRENT_USER\\Software\\Quenwick Software\\Orlimar]\n"
         "\"LastLocation\"=\"Pine Hollow\"\n";
}

// Both files hold what the program keeps: twelve flags and a last location.
void WriteFiles() {
  auto store = MakeHiveProfileStore("Orlimar", HivePath());
  AppSettingsState app;
  SetUpRegistry(*store, app);
  WriteLastLocation(*store, app, "Pine Hollow");
  QSettings ini(IniPath(), QSettings::IniFormat);
  ini.setValue("LastLocation", "Pine Hollow");
  for (const WeatherSeries& row : kWeatherSeries) {
    store->WriteProfileInt(kPreferencesSection, row.valueName, 1);
    ini.setValue(QString("Preferences/") + row.valueName, 1);
  }
}

// Start-up's reads: the flags and the last location, from a store made anew.
void LoadHive(benchmark::State& state, const std::string& path) {
  for (auto _ : state) {
    auto store = MakeHiveProfileStore("Orlimar", path);
    AppSettingsState app;
    SetUpRegistry(*store, app);
    LoadPreferences(*store);
    ReadLastLocation(*store, app);
    benchmark::DoNotOptimize(app.m_szLastLocation[0]);
  }
}

// One flag changed per save, as after one click and Exit; the store lives on.
void SaveHive(benchmark::State& state, const std::string& path) {
  auto store = MakeHiveProfileStore("Orlimar", path);
  AppSettingsState app;
  SetUpRegistry(*store, app);
  LoadPreferences(*store);
  Dialog dialog;
  for (auto _ : state) {
    dialog.m_bSleet = !dialog.m_bSleet;
    SaveChangedPreferences(*store, dialog);
  }
}

void HiveLoad(benchmark::State& state) { LoadHive(state, HivePath()); }

void QSettingsLoad(benchmark::State& state) {
  for (auto _ : state) {
    QSettings ini(IniPath(), QSettings::IniFormat);
    for (const WeatherSeries& row : kWeatherSeries) {
      FlagOf(thePreferences, row.id) =
          ini.value(QString("Preferences/") + row.valueName, 1).toInt();
    }
    benchmark::DoNotOptimize(ini.value("LastLocation").toString());
  }
}

void HiveSave(benchmark::State& state) { SaveHive(state, HivePath()); }

void QSettingsSave(benchmark::State& state) {
  QSettings ini(IniPath(), QSettings::IniFormat);
  int sleet = 1;
  for (auto _ : state) {
    sleet = !sleet;
    ini.setValue("Preferences/Sleet", sleet);
    ini.sync();
  }
}

void LargeHiveLoad(benchmark::State& state) { LoadHive(state, LargeHivePath()); }

void LargeHiveSave(benchmark::State& state) { SaveHive(state, LargeHivePath()); }

BENCHMARK(HiveLoad);
BENCHMARK(QSettingsLoad);
BENCHMARK(HiveSave);
BENCHMARK(QSettingsSave);
BENCHMARK(LargeHiveLoad)->Unit(benchmark::kMillisecond);
BENCHMARK(LargeHiveSave)->Unit(benchmark::kMillisecond);

// Keeps each run's time per iteration for the ratios.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) times[run.benchmark_name()] = run.GetAdjustedRealTime();
  }
  std::map<std::string, double> times;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  WriteFiles();
  WriteLargeHive();
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  const auto ratio = [&](const char* what, const char* ours, const char* theirs, double goal) {
    if (!reporter.times.count(ours) || !reporter.times.count(theirs)) return;
    std::printf("%s: hive / QSettings = %.2f (goal at most %.1f)\n", what,
                reporter.times[ours] / reporter.times[theirs], goal);
  };
  ratio("load", "HiveLoad", "QSettingsLoad", 1.0);
  ratio("save", "HiveSave", "QSettingsSave", 2.0);
  for (const char* name : {"LargeHiveLoad", "LargeHiveSave"}) {
    if (!reporter.times.count(name)) continue;
    std::printf("%s (40,000 keys): %.3f s (goal under 0.2 s)\n", name, reporter.times[name] / 1e3);
  }
  fs::remove_all(Folder());
  return 0;
}
