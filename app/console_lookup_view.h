// The look-up's fields held as text, for the console tool.
#pragma once

#include <map>
#include <string>

#include "lookup/lookup_sequence.h"

class ConsoleLookupView : public LookupView {
 public:
  explicit ConsoleLookupView(std::string location) : location_(std::move(location)) {}

  void SavePreferences() override {}
  void SetFieldText(LookupField field, const std::string& text) override { fields_[field] = text; }
  void RepaintField(LookupField) override {}
  std::string GetLocationText() override { return location_; }
  // The console tool never stores a last location.
  bool IsSaveLocationTicked() override { return false; }
  void WriteLastLocation(const std::string&) override {}
  void ShowElevation() override { elevationShown_ = true; }
  void MoveFocusToForecast() override {}
  void ShowMessage(const std::string& text) override { message_ = text; }

  std::string Field(LookupField field) const;
  bool ElevationShown() const { return elevationShown_; }
  const std::string& Message() const { return message_; }

 private:
  std::string location_;
  std::map<LookupField, std::string> fields_;
  bool elevationShown_ = false;
  std::string message_;
};
