// In-memory stand-ins for the HTTP text source.
#include "tests/support/fake_http.h"

#include <utility>

FakeHttpReply::FakeHttpReply(std::vector<std::string> lines, std::shared_ptr<FakeReplyLog> log)
    : lines_(std::move(lines)), log_(log ? std::move(log) : std::make_shared<FakeReplyLog>()) {}

FakeHttpReply& FakeHttpReply::FailAfter(std::size_t lines, std::uint32_t error) {
  failAfterLines_ = lines;
  readError_ = error;
  return *this;
}

bool FakeHttpReply::ReadString(std::string& line) {
  if (failAfterLines_ && next_ == *failAfterLines_) throw CInternetException(readError_);
  if (next_ == lines_.size()) return false;
  line = lines_[next_++];
  ++log_->linesRead;
  return true;
}

void FakeHttpReply::Close() { log_->closed = true; }

std::vector<std::string> ReplyLines(std::string_view text) {
  std::vector<std::string> lines;
  std::string line;
  bool pending = false;
  for (char c : text) {
    if (c == '\n') {
      lines.push_back(std::move(line));
      line.clear();
      pending = false;
    } else {
      if (c != '\r') line.push_back(c);
      pending = true;
    }
  }
  if (pending) lines.push_back(std::move(line));
  return lines;
}

class FakeHttpTextSource::Session : public HttpSession {
 public:
  explicit Session(FakeHttpTextSource& source) : source_(source) {}
  ~Session() override { Close(); }

  std::unique_ptr<HttpReply> OpenURL(const std::string& url) override { return source_.Open(url); }
  void Close() override {
    if (open_) ++source_.sessionsClosed_;
    open_ = false;
  }

 private:
  FakeHttpTextSource& source_;
  bool open_ = true;
};

void FakeHttpTextSource::Serve(std::string urlPrefix, CannedReply reply) {
  routes_.push_back({std::move(urlPrefix), std::move(reply)});
}

std::unique_ptr<HttpSession> FakeHttpTextSource::OpenSession(std::string_view agent) {
  agents_.emplace_back(agent);
  if (sessionError_) throw CInternetException(*sessionError_);
  ++sessionsOpened_;
  return std::make_unique<Session>(*this);
}

std::unique_ptr<HttpReply> FakeHttpTextSource::Open(const std::string& url) {
  urls_.push_back(url);
  for (const Route& route : routes_) {
    if (url.compare(0, route.prefix.size(), route.prefix) != 0) continue;
    const CannedReply& canned = route.reply;
    if (canned.openError) throw CInternetException(*canned.openError);
    if (canned.noReply) return nullptr;
    auto log = std::make_shared<FakeReplyLog>();
    log->url = url;
    replies_.push_back(log);
    auto reply = std::make_unique<FakeHttpReply>(canned.lines, log);
    if (canned.readError) reply->FailAfter(canned.failAfterLines, *canned.readError);
    return reply;
  }
  throw CInternetException(kUnknownAddressError);
}
