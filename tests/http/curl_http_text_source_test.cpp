// The libcurl HTTP text source against a loopback HTTPS server with scripted replies.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdlib>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "platform/interfaces/platform_factories.h"
#include "tests/support/loopback_server.h"
#include "tests/support/named_rows.h"

namespace {

using named_rows::PrintTo;

using orlimar::test::LoopbackOptions;
using orlimar::test::LoopbackServer;
using Lines = std::vector<std::string>;

// Sets an environment variable for one scope: libcurl itself reads the proxy variables.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const std::string& value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    setenv(name, value.c_str(), 1);
  }
  ~ScopedEnv() {
    if (old_) {
      setenv(name_, old_->c_str(), 1);
    } else {
      unsetenv(name_);
    }
  }

 private:
  const char* name_;
  std::optional<std::string> old_;
};

// A route table with one route answering every path.
std::string AnyPath(const std::string& route_fields) {
  return R"([{"path": "*", )" + route_fields + "}]";
}

std::string Body(const std::string& text) {
  return R"("body": )" + LoopbackServer::JsonString(text);
}

Lines ReadAll(HttpReply& reply) {
  Lines lines;
  for (std::string line; reply.ReadString(line);) lines.push_back(line);
  return lines;
}

// The failure raised while opening and reading the whole reply; 0 when none was.
std::pair<std::uint32_t, std::string> FailureOf(HttpSession& session, const std::string& url) {
  try {
    auto reply = session.OpenURL(url);
    if (reply) ReadAll(*reply);
  } catch (const CInternetException& failure) {
    return {failure.m_dwError, failure.what()};
  }
  return {0, "no failure"};
}

int UnusedPort() {
  int listener = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t size = sizeof address;
  bind(listener, reinterpret_cast<sockaddr*>(&address), size);
  getsockname(listener, reinterpret_cast<sockaddr*>(&address), &size);
  close(listener);
  return ntohs(address.sin_port);
}

// Options that trust the loopback server's test CA.
PlatformOptions TrustingTheTestCa(PlatformOptions options = {}) {
  options.caBundle = LoopbackServer::CaBundle();
  return options;
}

PlatformOptions ReceiveTimeout(long ms) {
  PlatformOptions options;
  options.receiveTimeoutMs = ms;
  return options;
}

PlatformOptions ConnectTimeout(long ms) {
  PlatformOptions options;
  options.connectTimeoutMs = ms;
  return options;
}

class HttpTextSourceTest : public ::testing::Test {
 protected:
  std::unique_ptr<HttpSession> OpenSession(const PlatformOptions& options = TrustingTheTestCa()) {
    source_ = MakeHttpTextSource(options);
    return source_->OpenSession("Google API");
  }

  std::unique_ptr<HttpTextSource> source_;
};

struct LineCase {
  std::string name;
  std::string route;  // the fields of the one route
  Lines expected;
};

class LineRulesTest : public HttpTextSourceTest, public ::testing::WithParamInterface<LineCase> {};

TEST_P(LineRulesTest, ReadsTheBodyAsLines) {
  LoopbackServer server({AnyPath(GetParam().route)});
  auto session = OpenSession();
  auto reply = session->OpenURL(server.BaseUrl() + "/reply");
  ASSERT_TRUE(reply);
  EXPECT_EQ(ReadAll(*reply), GetParam().expected);
  std::string line = "untouched";
  EXPECT_FALSE(reply->ReadString(line));
}

const std::string kMegabyteLine(1 << 20, 'x');

INSTANTIATE_TEST_SUITE_P(
    Bodies, LineRulesTest,
    ::testing::Values(
        LineCase{"crlf", Body("one\r\ntwo\r\n"), {"one", "two"}},
        LineCase{"lone_cr_dropped", Body("a\rb\r\r\n\r\n"), {"ab", ""}},
        LineCase{"last_line_without_lf", Body("one\nlast"), {"one", "last"}},
        LineCase{"lone_cr_at_the_end_is_a_line", Body("one\n\r"), {"one", ""}},
        LineCase{"empty_lines_kept", Body("\n\n\nx\n\n"), {"", "", "", "x", ""}},
        LineCase{"empty_body", Body(""), {}},
        LineCase{"chunks_split_lines_and_crlf",
                 R"("length": "chunked", "parts": [{"text": "ab"}, {"pause_ms": 50},
                    {"text": "c\r"}, {"pause_ms": 50}, {"text": "\nd"}])",
                 {"abc", "d"}},
        LineCase{"megabyte_line",
                 R"("parts": [{"text": ")" + std::string(1024, 'x') +
                     R"(", "repeat": 1024}, {"text": "\r\ntail\n"}])",
                 {kMegabyteLine, "tail"}},
        LineCase{"error_status_is_a_reply", R"("status": 500, )" + Body("oops\n"), {"oops"}},
        // The server ended the unframed body on purpose: the cut line stands.
        LineCase{"unframed_ended_by_close_notify",
                 R"("length": "close", )" + Body("<lat>38.5</lat>\n<lng>-121.4961"),
                 {"<lat>38.5</lat>", "<lng>-121.4961"}}),
    named_rows::RowName<LineCase>);

// The receive time-out counts silence: a reply that keeps coming, however slowly, is
// read to its end, its head as its body.
TEST_F(HttpTextSourceTest, BytesArrivingSlowlyAreNotSilence) {
  LoopbackServer server({AnyPath(R"("head": "HTTP/1.1 200 OK\r\nContent-Length: 12\r\n\r\n",
      "drip_ms": 40, "parts": [{"text": "dripped\nend\n", "drip_ms": 40}])")});
  auto session = OpenSession(TrustingTheTestCa(ReceiveTimeout(400)));
  auto reply = session->OpenURL(server.BaseUrl() + "/");
  ASSERT_TRUE(reply);
  EXPECT_EQ(ReadAll(*reply), (Lines{"dripped", "end"}));
}

// The services take request addresses of up to 16,384 characters; a longer one is
// refused before any connection, not left to time out.
TEST_F(HttpTextSourceTest, RefusesAnAddressOverTheServicesLimitBeforeConnecting) {
  LoopbackServer server({AnyPath(Body("ok\n"))});
  const std::string base = server.BaseUrl() + "/?q=";
  auto session = OpenSession();
  const std::string longest = base + std::string(16384 - base.size(), 'a');
  auto reply = session->OpenURL(longest);
  ASSERT_TRUE(reply);
  EXPECT_EQ(ReadAll(*reply), Lines{"ok"});
  reply.reset();
  EXPECT_EQ(FailureOf(*session, longest + "a").first, 12005u);
  auto fresh = OpenSession();
  EXPECT_EQ(FailureOf(*fresh, base + std::string(400 << 10, 'b')).first, 12005u);
  EXPECT_EQ(server.Counters().requests, 1);
  EXPECT_EQ(server.Counters().connections, 1);
}

TEST_F(HttpTextSourceTest, HandsOverALineBeforeTheRestIsSent) {
  LoopbackServer server({AnyPath(R"("parts": [{"text": "first\n"},
      {"wait": "rest", "limit_ms": 3000}, {"text": "second\n"}])")});
  auto session = OpenSession();
  auto reply = session->OpenURL(server.BaseUrl() + "/");
  ASSERT_TRUE(reply);
  std::string line;
  ASSERT_TRUE(reply->ReadString(line));
  EXPECT_EQ(line, "first");
  EXPECT_EQ(server.Counters().bytes_sent, 6) << "the line came only after the whole body";
  server.Release("rest");
  EXPECT_EQ(ReadAll(*reply), Lines{"second"});
}

struct ReuseCase {
  std::string name;
  int lines_read;  // of the first reply before it is closed; -1 for all
};

class ConnectionReuseTest : public HttpTextSourceTest,
                            public ::testing::WithParamInterface<ReuseCase> {};

TEST_P(ConnectionReuseTest, BothRequestsOfASessionShareOneConnection) {
  std::string geocode;
  for (int i = 0; i < 60; ++i) geocode += "  <line>" + std::to_string(i) + "</line>\n";
  LoopbackServer server({R"([{"path": "/geocode", )" + Body(geocode) +
                         R"(}, {"path": "/elevation", )" + Body("<elevation>1</elevation>\n") +
                         "}]"});
  auto session = OpenSession();
  auto first = session->OpenURL(server.BaseUrl() + "/geocode");
  ASSERT_TRUE(first);
  std::string line;
  for (int i = 0; i != GetParam().lines_read && first->ReadString(line); ++i) {
  }
  first->Close();
  auto second = session->OpenURL(server.BaseUrl() + "/elevation");
  ASSERT_TRUE(second);
  EXPECT_EQ(ReadAll(*second), Lines{"<elevation>1</elevation>"});
  auto counters = server.Counters();
  EXPECT_EQ(counters.requests, 2);
  EXPECT_EQ(counters.connections, 1);
  EXPECT_EQ(counters.handshakes, 1);
}

INSTANTIATE_TEST_SUITE_P(FirstReply, ConnectionReuseTest,
                         ::testing::Values(ReuseCase{"read_to_the_end", -1},
                                           ReuseCase{"closed_after_two_lines", 2}),
                         named_rows::RowName<ReuseCase>);

TEST_F(HttpTextSourceTest, FollowsRedirectsOnTheSameConnection) {
  LoopbackServer server({R"([{"path": "/old", "status": 302, "headers": {"Location": "/new"},
      "body": "moved\n"}, {"path": "/new", "body": "here\n"}])"});
  auto session = OpenSession();
  auto reply = session->OpenURL(server.BaseUrl() + "/old");
  ASSERT_TRUE(reply);
  EXPECT_EQ(ReadAll(*reply), Lines{"here"});
  EXPECT_EQ(server.Counters().connections, 1);
}

TEST_F(HttpTextSourceTest, ClosingEarlyStopsTheTransfer) {
  constexpr long kFiller = 15 << 20;
  LoopbackServer server({AnyPath(R"("parts": [{"text": "first\n"},
      {"text": ")" + std::string(1023, 'y') +
                                 R"(\n", "repeat": )" + std::to_string(kFiller / 1024) + "}]")});
  auto session = OpenSession();
  auto reply = session->OpenURL(server.BaseUrl() + "/");
  ASSERT_TRUE(reply);
  std::string line;
  ASSERT_TRUE(reply->ReadString(line));
  reply->Close();
  EXPECT_FALSE(reply->ReadString(line));
  EXPECT_TRUE(server.WaitFor([](const auto& counters) { return counters.client_gone == 1; }));
  EXPECT_LT(server.Counters().bytes_sent, kFiller / 2);
}

struct FailureCase {
  std::string name;
  LoopbackOptions server;  // empty routes: no server at all (a refused connection)
  std::string path;
  std::uint32_t expected;
  PlatformOptions options = {};
};

class FailureTest : public HttpTextSourceTest, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(FailureTest, RaisesItsWellKnownNumber) {
  const auto& param = GetParam();
  std::optional<LoopbackServer> server;
  std::string base = "https://127.0.0.1:" + std::to_string(UnusedPort());
  if (!param.server.routes_json.empty()) base = server.emplace(param.server).BaseUrl();
  std::string url = param.path.find("://") != std::string::npos ? param.path : base + param.path;
  auto session = OpenSession(TrustingTheTestCa(param.options));
  auto [number, detail] = FailureOf(*session, url);
  EXPECT_EQ(number, param.expected) << detail;
}

const std::string kLines = R"({"text": "line\n", "repeat": 200})";
const std::string kRedirectToPlain = R"([{"path": "*", "status": 302,
    "headers": {"Location": "http://127.0.0.1:9/"}}])";
const std::string kRedirectLoop = R"([{"path": "*", "status": 302,
    "headers": {"Location": "/again"}}])";

INSTANTIATE_TEST_SUITE_P(
    Failures, FailureTest,
    ::testing::Values(
        FailureCase{"refused", {""}, "/", 12029},
        FailureCase{"reset_mid_body",
                    {AnyPath(R"("parts": [)" + kLines + R"(, {"pause_ms": 100},
                        {"fault": "reset"}, )" +
                             kLines + "]")},
                    "/",
                    12031},
        FailureCase{
            "closed_mid_body",
            {AnyPath(R"("parts": [)" + kLines + R"(, {"fault": "close"}, )" + kLines + "]")},
            "/",
            12030},
        FailureCase{
            "stalled_body",
            {AnyPath(R"("parts": [)" + kLines + R"(, {"fault": "stall"}, )" + kLines + "]")},
            "/",
            12002,
            ReceiveTimeout(300)},
        FailureCase{"stalled_handshake",
                    {.routes_json = "[]", .stall_handshake = true},
                    "/",
                    12002,
                    ConnectTimeout(300)},
        FailureCase{"wrong_name", {.routes_json = "[]", .leaf = "wrongname"}, "/", 12038},
        FailureCase{"expired", {.routes_json = "[]", .leaf = "expired"}, "/", 12037},
        FailureCase{"untrusted", {.routes_json = "[]", .leaf = "untrusted"}, "/", 12045},
        FailureCase{"unparsable_address", {""}, "https://127.0.0.1:99999/", 12005},
        FailureCase{
            "declared_over_16_MiB", {AnyPath(R"("length": 16777217, "body": "x\n")")}, "/", 12152},
        FailureCase{"streamed_over_16_MiB",
                    {AnyPath(R"("length": "chunked", "parts": [{"text": ")" +
                             std::string(1023, 'z') + R"(\n", "repeat": 16400}])")},
                    "/",
                    12152},
        // Without close-notify the end of an unframed body may be anywhere: a cut.
        FailureCase{"unframed_cut_without_close_notify",
                    {AnyPath(R"("length": "close", "parts": [{"text": "<lng>-12"},
                        {"fault": "close"}])")},
                    "/",
                    12030},
        // Replies the program cannot take, whatever broke in them.
        FailureCase{"garbage_status_line",
                    {AnyPath(R"("head": "HTTP/1.1 two hundred OK\r\n\r\n", "length": "close")")},
                    "/",
                    12152},
        FailureCase{"not_http_at_all",
                    {AnyPath(R"("head": "SSH-2.0-OpenSSH_9.2\r\n\r\n", "length": "close")")},
                    "/",
                    12152},
        FailureCase{"http_0_9",
                    {AnyPath(R"("head": "", "length": "close", "body": "<html>\n")")},
                    "/",
                    12152},
        FailureCase{"malformed_chunk_size",
                    {AnyPath(R"("length": "chunked", "parts": [{"text": "ok\n"},
                        {"raw": "zz\r\nxx\r\n"}])")},
                    "/",
                    12152},
        FailureCase{"chunk_longer_than_announced",
                    {AnyPath(R"("length": "chunked", "parts": [{"text": "ok\n"},
                        {"raw": "2\r\nlonger\r\n0\r\n\r\n"}])")},
                    "/",
                    12152},
        FailureCase{"megabyte_header_line",
                    {AnyPath(R"("headers": {"X-Filler": ")" + std::string(1 << 20, 'h') +
                             R"("}, "body": "ok\n")")},
                    "/",
                    12152},
        FailureCase{"redirect_from_https_to_http", {kRedirectToPlain}, "/", 12156},
        FailureCase{"redirect_loop", {kRedirectLoop}, "/", 12156}),
    named_rows::RowName<FailureCase>);

TEST_F(HttpTextSourceTest, OtherSchemesGiveNoReply) {
  auto session = OpenSession();
  for (const char* url : {"ftp://127.0.0.1/file", "file:///etc/hostname", "gopher://x/"}) {
    EXPECT_EQ(session->OpenURL(url), nullptr) << url;
  }
}

TEST_F(HttpTextSourceTest, SendsTheAgentAndNoCacheDirectlyWhateverTheProxySettings) {
  std::string nowhere = "http://127.0.0.1:" + std::to_string(UnusedPort());
  ScopedEnv https_proxy("https_proxy", nowhere), http_proxy("http_proxy", nowhere),
      all_proxy("ALL_PROXY", nowhere), upper("HTTPS_PROXY", nowhere);
  LoopbackServer server({AnyPath(Body("ok\n"))});
  auto session = OpenSession();
  auto reply = session->OpenURL(server.BaseUrl() + "/path?q=1");
  ASSERT_TRUE(reply);
  EXPECT_EQ(ReadAll(*reply), Lines{"ok"});
  auto requests = server.Requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].target, "/path?q=1");
  EXPECT_EQ(requests[0].Header("User-Agent"), "Google API");
  EXPECT_EQ(requests[0].Header("Cache-Control"), "no-cache");
  EXPECT_EQ(requests[0].Header("Pragma"), "no-cache");
}

TEST_F(HttpTextSourceTest, ConnectToSendsAHostsRequestsElsewhereWithItsName) {
  LoopbackServer server({AnyPath(Body("ok\n"))});
  PlatformOptions options = TrustingTheTestCa();
  options.connectTo = "other.example:443:127.0.0.1:1, maps.googleapis.com:443:127.0.0.1:" +
                      std::to_string(server.port());
  auto session = OpenSession(options);
  auto reply = session->OpenURL("https://maps.googleapis.com/maps/api/elevation/xml?x=1");
  ASSERT_TRUE(reply);
  EXPECT_EQ(ReadAll(*reply), Lines{"ok"});
  auto requests = server.Requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].Header("Host"), "maps.googleapis.com");
}

}  // namespace
