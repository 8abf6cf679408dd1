// JSON output through nlohmann/json, which does the escaping and the numbers.
#include "platform/json/json_object.h"

#include <nlohmann/json.hpp>

std::string JsonObjectText(const JsonMembers& members) {
  nlohmann::ordered_json object = nlohmann::ordered_json::object();
  for (const auto& member : members) {
    std::visit([&](const auto& v) { object[member.first] = v; }, member.second);
  }
  return object.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
}
