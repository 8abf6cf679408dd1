// The "Look up" command from its first step to its last, written against the
// fields and operations of whatever shows it (the dialog, the console tool).
#pragma once

#include <string>

class HttpTextSource;

enum class LookupField { Address, Latitude, Longitude, Elevation, LatitudeDms, LongitudeDms };

class LookupView {
 public:
  virtual ~LookupView() = default;
  virtual void SavePreferences() = 0;
  virtual void SetFieldText(LookupField field, const std::string& text) = 0;
  // Paints the field at once, so it shows empty while the exchange blocks.
  virtual void RepaintField(LookupField field) = 0;
  virtual std::string GetLocationText() = 0;
  virtual bool IsSaveLocationTicked() = 0;
  virtual void WriteLastLocation(const std::string& text) = 0;
  // Shows the held elevation text in the current unit.
  virtual void ShowElevation() = 0;
  virtual void MoveFocusToForecast() = 0;
  // Blocks until the user has dismissed it.
  virtual void ShowMessage(const std::string& text) = 0;
};

// The members of the view's owner that hold the result beyond one look-up.
struct HeldResult {
  std::string& latitude;
  std::string& longitude;
  std::string& elevation;
};

enum class LookupOutcome { Found, NotFound, NetworkFailure };

// Runs the whole look-up; apiKey goes with both requests. Network failures are reported through
// ShowMessage; InvalidArgumentError from a reply line leaves this function, as it leaves the
// command that called it.
LookupOutcome RunLookup(LookupView& view, HttpTextSource& http, const std::string& apiKey,
                        HeldResult held);
