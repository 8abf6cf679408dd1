// Starts tests/support/loopback_https.py on 127.0.0.1 for one test and talks to it.
#pragma once

#include <chrono>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace orlimar::test {

struct LoopbackCounters {
  long connections = 0;
  long handshakes = 0;
  long handshake_failures = 0;
  long requests = 0;
  long bytes_sent = 0;   // body bytes the server wrote
  long client_gone = 0;  // bodies the client left before their end
};

struct LoopbackRequest {
  std::string method;
  std::string target;
  std::vector<std::pair<std::string, std::string>> headers;
  // The first header of that name (case-insensitive), empty when absent.
  std::string Header(std::string_view name) const;
};

struct LoopbackOptions {
  std::string routes_json = "[]";  // the route table, as the script's header describes it
  std::string leaf = "good";       // good, wrongname, expired, untrusted
  bool plain = false;              // HTTP instead of HTTPS
  bool stall_handshake = false;
};

// Every wait is bounded; failures throw std::runtime_error.
class LoopbackServer {
 public:
  explicit LoopbackServer(LoopbackOptions options);
  ~LoopbackServer();
  LoopbackServer(const LoopbackServer&) = delete;
  LoopbackServer& operator=(const LoopbackServer&) = delete;

  int port() const { return port_; }
  // "https://127.0.0.1:PORT" (http with plain), no trailing slash.
  std::string BaseUrl() const;

  LoopbackCounters Counters();
  std::vector<LoopbackRequest> Requests();
  void Release(const std::string& name);
  // Polls the counters until `done` holds; false when `limit` passes first.
  bool WaitFor(const std::function<bool(const LoopbackCounters&)>& done,
               std::chrono::milliseconds limit = std::chrono::seconds(5));

  // The test CA to trust, made once per process.
  static const std::string& CaBundle();
  // A JSON string literal (quotes included) holding `text`, for building route tables.
  static std::string JsonString(std::string_view text);

 private:
  std::string Command(const std::string& line, bool until_end = false);
  std::string ReadLine();

  bool plain_;
  int pid_ = -1;
  int to_server_ = -1;
  int from_server_ = -1;
  int port_ = 0;
  std::string pending_;
  std::string routes_path_;
};

}  // namespace orlimar::test
