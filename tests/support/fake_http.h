// In-memory stand-ins for the HTTP text source: canned replies, recorded requests.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/interfaces/http_text_source.h"

// What a reply did, kept beyond the reply's own life so a test can look after
// the code under test has closed and deleted it.
struct FakeReplyLog {
  std::string url;
  std::size_t linesRead = 0;  // successful ReadString calls that gave a line
  bool closed = false;
};

// A reply over a fixed list of lines (already without line ends).
// failAfterLines: throw CInternetException(readError) on the read that would
// give line number failAfterLines (0: the very first read).
class FakeHttpReply : public HttpReply {
 public:
  explicit FakeHttpReply(std::vector<std::string> lines,
                         std::shared_ptr<FakeReplyLog> log = nullptr);
  FakeHttpReply& FailAfter(std::size_t lines, std::uint32_t error);

  bool ReadString(std::string& line) override;
  void Close() override;

  std::size_t linesRead() const { return log_->linesRead; }
  bool closed() const { return log_->closed; }

 private:
  std::vector<std::string> lines_;
  std::size_t next_ = 0;
  std::optional<std::size_t> failAfterLines_;
  std::uint32_t readError_ = 0;
  std::shared_ptr<FakeReplyLog> log_;
};

// Splits text at each LF into the lines ReadString would give (CRs dropped).
std::vector<std::string> ReplyLines(std::string_view text);

// What the fake serves for the addresses that start with one prefix.
struct CannedReply {
  std::vector<std::string> lines{};
  bool noReply = false;                      // OpenURL gives nullptr
  std::optional<std::uint32_t> openError{};  // OpenURL throws this
  std::optional<std::uint32_t> readError{};  // a read throws this ...
  std::size_t failAfterLines = 0;            // ... once this many lines were read
};

// Serves the first registered canned reply whose prefix starts the address;
// an address that no prefix matches throws CInternetException(12007), the
// number for a name that does not resolve.
class FakeHttpTextSource : public HttpTextSource {
 public:
  static constexpr std::uint32_t kUnknownAddressError = 12007;

  void Serve(std::string urlPrefix, CannedReply reply);
  // OpenSession throws CInternetException(error) while set.
  void FailSessions(std::optional<std::uint32_t> error) { sessionError_ = error; }

  std::unique_ptr<HttpSession> OpenSession(std::string_view agent) override;

  const std::vector<std::string>& agents() const { return agents_; }  // per session
  const std::vector<std::string>& urls() const { return urls_; }      // every OpenURL
  // One per reply handed out, in order.
  const std::vector<std::shared_ptr<FakeReplyLog>>& replies() const { return replies_; }
  int sessionsOpened() const { return sessionsOpened_; }
  int sessionsClosed() const { return sessionsClosed_; }  // Close or destruction

 private:
  class Session;
  struct Route {
    std::string prefix;
    CannedReply reply;
  };

  std::unique_ptr<HttpReply> Open(const std::string& url);

  std::vector<Route> routes_;
  std::optional<std::uint32_t> sessionError_;
  std::vector<std::string> agents_;
  std::vector<std::string> urls_;
  std::vector<std::shared_ptr<FakeReplyLog>> replies_;
  int sessionsOpened_ = 0;
  int sessionsClosed_ = 0;
};
