// Service replies laid out as the services lay them out, for the in-memory tests.
#include "tests/support/canned_replies.h"

std::vector<std::string> FoundGeocodeReply() {
  return {"<?xml version=\"1.0\" encoding=\"UTF-8\"?>",
          "<GeocodeResponse>",
          " <status>OK</status>",
          " <result>",
          "  <formatted_address>Pine Hollow, CA 95321, USA</formatted_address>",
          "  <geometry>",
          "   <location>",
          "    <lat>37.9495135</lat>",
          "    <lng>-120.7950794</lng>",
          "   </location>",
          "  </geometry>",
          " </result>",
          "</GeocodeResponse>"};
}

std::vector<std::string> ElevationReply(const std::string& line) {
  return {"<ElevationResponse>", " <status>OK</status>", " <result>", line,
          " </result>",          "</ElevationResponse>"};
}
