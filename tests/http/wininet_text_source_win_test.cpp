// The WinInet text source under Wine against the loopback HTTPS servers that
// wininet_test.py starts: lines as bytes, schemes not served, the failures'
// WinInet numbers, and one session's two requests (the script counts the
// connections afterwards).
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "platform/interfaces/platform_factories.h"
#include "tests/support/named_rows.h"

namespace {

using named_rows::PrintTo;
using named_rows::RowName;

// The port of one of the script's servers, by the name of its certificate.
std::string Port(const char* server) {
  const std::string name = std::string("ORLIMAR_TEST_PORT_") + server;
  const char* port = std::getenv(name.c_str());
  return port ? port : "0";
}

std::string Url(const char* server, const std::string& path) {
  return "https://localhost:" + Port(server) + path;
}

std::vector<std::string> ReadAll(HttpReply& reply) {
  std::vector<std::string> lines;
  std::string line;
  while (reply.ReadString(line)) lines.push_back(line);
  return lines;
}

class WinInetTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(Port("GOOD"), "0") << "run through wininet_test.py";
    source_ = MakeHttpTextSource(PlatformOptions{});
    session_ = source_->OpenSession("Google API");
  }
  void TearDown() override { session_->Close(); }

  std::unique_ptr<HttpTextSource> source_;
  std::unique_ptr<HttpSession> session_;
};

struct BodyRow {
  const char* name;
  std::vector<std::string> lines;
};

class BodyTest : public WinInetTest, public testing::WithParamInterface<BodyRow> {};

// The bodies are the script's routes /lines/NAME.
TEST_P(BodyTest, ReadsTheBodyAsLinesOfBytes) {
  const auto reply = session_->OpenURL(Url("GOOD", std::string("/lines/") + GetParam().name));
  ASSERT_NE(reply, nullptr);
  EXPECT_EQ(ReadAll(*reply), GetParam().lines);
  std::string line = "kept";
  EXPECT_FALSE(reply->ReadString(line));
  reply->Close();
}

INSTANTIATE_TEST_SUITE_P(
    Bodies, BodyTest,
    testing::Values(BodyRow{"crlf", {"a", "b"}}, BodyRow{"lone_cr_dropped", {"ab", "c"}},
                    BodyRow{"last_line_without_lf", {"a", "b"}}, BodyRow{"empty_lines", {"", ""}},
                    BodyRow{"empty_body", {}}, BodyRow{"utf8_bytes", {"Z\xC3\xBCrich"}},
                    BodyRow{"long_line", {std::string(200000, 'x'), "end"}},
                    BodyRow{"chunks_split_a_line", {"a", "bc"}},
                    BodyRow{"error_status_is_a_reply", {"missing"}}),
    RowName<BodyRow>);

TEST_F(WinInetTest, SchemesNotServedGiveNoReply) {
  for (const char* url : {"ftp://localhost/x", "file:///c:/windows/win.ini", "mailto:a@b.example"})
    EXPECT_EQ(session_->OpenURL(url), nullptr) << url;
}

struct FailureRow {
  const char* name;
  const char* server;
  std::uint32_t error;
};

class FailureTest : public WinInetTest, public testing::WithParamInterface<FailureRow> {};

TEST_P(FailureTest, RaisesTheNumberWinInetGives) {
  try {
    auto reply = session_->OpenURL(Url(GetParam().server, "/lines/crlf"));
    ASSERT_NE(reply, nullptr);
    ReadAll(*reply);
    FAIL() << "no failure";
  } catch (const CInternetException& e) {
    EXPECT_EQ(e.m_dwError, GetParam().error);
  }
}

INSTANTIATE_TEST_SUITE_P(Failures, FailureTest,
                         testing::Values(FailureRow{"refused", "CLOSED", 12029},
                                         FailureRow{"wrong_name", "WRONGNAME", 12038},
                                         FailureRow{"expired", "EXPIRED", 12037},
                                         FailureRow{"untrusted", "UNTRUSTED", 12045}),
                         RowName<FailureRow>);

// The script checks that the server saw one connection for both, and the agent.
TEST_F(WinInetTest, BothRequestsOfASessionShareOneConnection) {
  auto first = session_->OpenURL(Url("REUSE", "/lines/crlf"));
  ASSERT_NE(first, nullptr);
  std::string line;
  ASSERT_TRUE(first->ReadString(line));
  EXPECT_EQ(line, "a");
  first->Close();  // the rest is short: read to its end, the connection kept
  auto second = session_->OpenURL(Url("REUSE", "/lines/utf8_bytes"));
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(ReadAll(*second), std::vector<std::string>{"Z\xC3\xBCrich"});
}

}  // namespace
