// The "Look up" command: save flags, empty the results, geocode, show, elevation.
#include "lookup/lookup_sequence.h"

#include <memory>
#include <string>

#include "lookup/c_number.h"
#include "lookup/coordinate_format.h"
#include "lookup/elevation.h"
#include "lookup/geocoding.h"
#include "lookup/lookup_result.h"
#include "platform/interfaces/http_text_source.h"

namespace {

constexpr const char* kAgent = "Google API";
// The degrees:minutes:seconds go with the decimal texts: left standing, a failed
// look-up would show the previous place's degrees beside "Not found".
constexpr LookupField kEmptiedFields[] = {LookupField::Address,     LookupField::Latitude,
                                          LookupField::Longitude,   LookupField::Elevation,
                                          LookupField::LatitudeDms, LookupField::LongitudeDms};

// "Not found" alone would tell a user whose key was refused that the place
// does not exist; a status other than these two is shown in the address field.
std::string RefusalText(const GeocodeReplyStatus& status) {
  if (status.status.empty() || status.status == "OK" || status.status == "ZERO_RESULTS") return {};
  if (status.errorMessage.empty()) return status.status;
  return status.status + ": " + status.errorMessage;
}

LookupOutcome NotFound(LookupView& view, HttpSession& session, const GeocodeReplyStatus& status) {
  view.SetFieldText(LookupField::Latitude, "Not found");
  if (const std::string refusal = RefusalText(status); !refusal.empty())
    view.SetFieldText(LookupField::Address, refusal);
  session.Close();
  return LookupOutcome::NotFound;
}

// The geocoder's scan writes the coordinates straight into the held members,
// also when a refused line ends it half-way.
bool ScanIntoHeld(HttpReply& reply, HeldResult held, std::string& address,
                  GeocodeReplyStatus& status) {
  LookupResult result;
  try {
    const bool found = ScanGeocodeReply(reply, result, &status);
    held.latitude = result.latitude;
    held.longitude = result.longitude;
    address = result.address;
    return found;
  } catch (...) {
    held.latitude = result.latitude;
    held.longitude = result.longitude;
    throw;
  }
}

// The geocoder answers coordinates sent as an address in practice, but documents
// them as unsupported there; a refusal of a coordinate pair is asked once more
// in the reverse form.
bool AskAgainInReverse(const std::string& location, const GeocodeReplyStatus& status) {
  return (status.status == "ZERO_RESULTS" || status.status == "INVALID_REQUEST") &&
         !CoordinatePair(location).empty();
}

void ShowCoordinate(LookupView& view, LookupField decimal, LookupField dms,
                    const std::string& text) {
  view.SetFieldText(decimal, text);
  view.SetFieldText(dms, FormatDegreesDms(AtofC(text)));
}

}  // namespace

LookupOutcome RunLookup(LookupView& view, HttpTextSource& http, const std::string& apiKey,
                        HeldResult held) {
  view.SavePreferences();
  for (LookupField field : kEmptiedFields) view.SetFieldText(field, "");
  for (LookupField field : kEmptiedFields) view.RepaintField(field);
  held.elevation.clear();
  held.longitude.clear();
  held.latitude.clear();

  std::string location = view.GetLocationText();
  // Stored as typed, before the shortcuts turn it into coordinates.
  view.WriteLastLocation(view.IsSaveLocationTicked() ? location : std::string());
  location = ApplyLocationShortcut(std::move(location));
  const std::string geocodeUrl = BuildGeocodeUrl(location, apiKey);

  // Declared before the reply so that the reply goes first on every way out.
  std::unique_ptr<HttpSession> session;
  std::unique_ptr<HttpReply> reply;
  try {
    session = http.OpenSession(kAgent);
    reply = session->OpenURL(geocodeUrl);
    GeocodeReplyStatus status;
    if (!reply) return NotFound(view, *session, status);
    std::string address;
    bool found = ScanIntoHeld(*reply, held, address, status);
    reply->Close();
    reply.reset();
    if (!found && AskAgainInReverse(location, status)) {
      reply = session->OpenURL(BuildReverseGeocodeUrl(CoordinatePair(location), apiKey));
      status = {};
      if (!reply) return NotFound(view, *session, status);
      found = ScanIntoHeld(*reply, held, address, status);
      reply->Close();
      reply.reset();
    }
    if (!found) return NotFound(view, *session, status);

    ShowCoordinate(view, LookupField::Latitude, LookupField::LatitudeDms, held.latitude);
    ShowCoordinate(view, LookupField::Longitude, LookupField::LongitudeDms, held.longitude);
    view.SetFieldText(LookupField::Address, address);

    reply = session->OpenURL(BuildElevationUrl(held.latitude, held.longitude, apiKey));
    if (reply) {
      // A refused elevation line leaves the held elevation empty rather than
      // holding the uncut rest of the line.
      std::string meters;
      const bool haveElevation = ScanElevationReply(*reply, meters);
      reply->Close();
      reply.reset();
      if (haveElevation) {
        held.elevation = meters;
        view.ShowElevation();
      }
    }
    session->Close();
    view.MoveFocusToForecast();
    return LookupOutcome::Found;
  } catch (const CInternetException& failure) {
    // Let go of the connection before the user is kept reading the message.
    if (reply) reply->Close();
    reply.reset();
    if (session) session->Close();
    view.ShowMessage("Error number " + std::to_string(failure.m_dwError));
    return LookupOutcome::NetworkFailure;
  }
}
