// The Forecast command's steps.
#include "forecast/forecast_command.h"

#include "forecast/forecast_address.h"

void RunForecast(ForecastView& view, HeldCoordinates held) {
  if (held.latitude.empty() && held.longitude.empty()) view.LookUp();
  view.SavePreferences();
  if (!held.latitude.empty() && !held.longitude.empty()) {
    view.ClearSeriesCodes();
    for (const std::string& code :
         TickedSeriesCodes([&view](SeriesId id) { return view.IsSeriesTicked(id); })) {
      view.AddSeriesCode(code);
    }
    view.OpenInShell(BuildForecastAddress(held.latitude, held.longitude, view.SeriesCodes()));
  }
  view.MoveFocusToLocation();
}
