// The Forecast command, written against the operations of the dialog that
// runs it.
#pragma once

#include <span>
#include <string>

#include "settings/weather_series.h"

class ForecastView {
 public:
  virtual ~ForecastView() = default;
  // The whole look-up, as the Look up button runs it.
  virtual void LookUp() = 0;
  // Check boxes into the flags, changed flags written.
  virtual void SavePreferences() = 0;
  // The check-box value as the last SavePreferences left it.
  virtual bool IsSeriesTicked(SeriesId id) = 0;
  // The series list of the address being built.
  virtual void ClearSeriesCodes() = 0;
  virtual void AddSeriesCode(const std::string& code) = 0;
  virtual std::span<const std::string> SeriesCodes() = 0;
  virtual void OpenInShell(const std::string& address) = 0;
  virtual void MoveFocusToLocation() = 0;
};

// The coordinate members of the view's owner; read after the look-up.
struct HeldCoordinates {
  const std::string& latitude;
  const std::string& longitude;
};

// Looks up first when neither coordinate is held; opens the page only when
// both are; always ends with the focus on the location. A failure the look-up
// does not handle leaves this at once.
void RunForecast(ForecastView& view, HeldCoordinates held);
