// The look-up's fields held as text, for the console tool.
#include "app/console_lookup_view.h"

std::string ConsoleLookupView::Field(LookupField field) const {
  const auto it = fields_.find(field);
  return it == fields_.end() ? std::string() : it->second;
}
