// The HTTP text source on WinInet: a direct, uncached internet session whose
// replies are read as lines of bytes; failures carry GetLastError's number.
#include <windows.h>
#include <wininet.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/interfaces/platform_factories.h"
#include "platform/win32/utf16_win.h"

namespace {

// INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_TRANSFER_ASCII
constexpr DWORD kRequestFlags = 0x84000001;
static_assert(kRequestFlags ==
              (INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_TRANSFER_ASCII));
// A reply past this size is refused rather than held.
constexpr std::uint64_t kMaxReplyBytes = std::uint64_t{16} << 20;
// A reply closed with at most this much left is read to its end first, so that
// its connection stays open for the session's next request.
constexpr std::uint64_t kDrainBytes = 16 << 10;
constexpr DWORD kChunk = 16 << 10;

[[noreturn]] void FailWithLastError() { throw CInternetException(GetLastError()); }

// The Content-Length the server declared, or -1.
long long DeclaredLength(HINTERNET request) {
  wchar_t text[32] = {};
  DWORD size = sizeof text;
  if (!HttpQueryInfoW(request, HTTP_QUERY_CONTENT_LENGTH, text, &size, nullptr)) return -1;
  long long length = 0;
  for (const wchar_t* c = text; *c; ++c) {
    if (*c < L'0' || *c > L'9' || length > (1LL << 50)) return -1;
    length = length * 10 + (*c - L'0');
  }
  return length;
}

class WinInetReply : public HttpReply {
 public:
  explicit WinInetReply(HINTERNET request) : request_(request), declared_(DeclaredLength(request)) {
    if (declared_ >= 0 && static_cast<std::uint64_t>(declared_) > kMaxReplyBytes) {
      Close();
      throw CInternetException(ERROR_HTTP_INVALID_SERVER_RESPONSE, "reply over 16 MiB");
    }
  }
  ~WinInetReply() override { Close(); }

  bool ReadString(std::string& line) override {
    for (;;) {
      const std::size_t lf = buffer_.find('\n', scanned_);
      if (lf != std::string::npos) return TakeLine(lf, lf + 1, line);
      scanned_ = buffer_.size();
      if (end_) return start_ < buffer_.size() && TakeLine(buffer_.size(), buffer_.size(), line);
      Fill();
    }
  }

  void Close() override {
    if (request_ == nullptr) return;
    const bool shortRest = declared_ >= 0 && static_cast<std::uint64_t>(declared_) >= received_ &&
                           static_cast<std::uint64_t>(declared_) - received_ <= kDrainBytes;
    if (!end_ && shortRest) {
      char chunk[4096];
      DWORD got = 0;
      while (InternetReadFile(request_, chunk, sizeof chunk, &got) && got != 0) {
      }
    }
    InternetCloseHandle(request_);
    request_ = nullptr;
    end_ = true;
  }

 private:
  bool TakeLine(std::size_t lineEnd, std::size_t next, std::string& line) {
    line.assign(buffer_, start_, lineEnd - start_);
    std::erase(line, '\r');
    start_ = scanned_ = next;
    return true;
  }

  void Fill() {
    if (request_ == nullptr) {
      end_ = true;
      return;
    }
    // What was handed out already is dropped before more comes in.
    buffer_.erase(0, start_);
    scanned_ -= start_;
    start_ = 0;
    const std::size_t old = buffer_.size();
    buffer_.resize(old + kChunk);
    DWORD got = 0;
    if (!InternetReadFile(request_, buffer_.data() + old, kChunk, &got)) {
      buffer_.resize(old);
      FailWithLastError();
    }
    buffer_.resize(old + got);
    if (got == 0) {
      end_ = true;
      return;
    }
    received_ += got;
    if (received_ > kMaxReplyBytes)
      throw CInternetException(ERROR_HTTP_INVALID_SERVER_RESPONSE, "reply over 16 MiB");
  }

  HINTERNET request_;
  long long declared_;
  std::string buffer_;
  std::size_t start_ = 0;    // the next line begins here
  std::size_t scanned_ = 0;  // no line feed before this
  std::uint64_t received_ = 0;
  bool end_ = false;
};

class WinInetSession : public HttpSession {
 public:
  explicit WinInetSession(HINTERNET session) : session_(session) {}
  ~WinInetSession() override { Close(); }

  std::unique_ptr<HttpReply> OpenURL(const std::string& url) override {
    if (session_ == nullptr) throw CInternetException(ERROR_INVALID_HANDLE, "session closed");
    const std::wstring address = Utf16(url);
    URL_COMPONENTSW parts{};
    parts.dwStructSize = sizeof parts;
    if (!InternetCrackUrlW(address.c_str(), 0, 0, &parts)) FailWithLastError();
    if (parts.nScheme != INTERNET_SCHEME_HTTP && parts.nScheme != INTERNET_SCHEME_HTTPS)
      return nullptr;
    HINTERNET request =
        InternetOpenUrlW(session_, address.c_str(), nullptr, 0, kRequestFlags, 0);
    if (request == nullptr) FailWithLastError();
    return std::make_unique<WinInetReply>(request);
  }

  void Close() override {
    if (session_ != nullptr) InternetCloseHandle(session_);
    session_ = nullptr;
  }

 private:
  HINTERNET session_;
};

void SetTimeout(HINTERNET handle, DWORD option, long milliseconds) {
  DWORD value = static_cast<DWORD>(std::max(milliseconds, 1L));
  InternetSetOptionW(handle, option, &value, sizeof value);
}

class WinInetTextSource : public HttpTextSource {
 public:
  explicit WinInetTextSource(const PlatformOptions& options)
      : connectTimeoutMs_(options.connectTimeoutMs), receiveTimeoutMs_(options.receiveTimeoutMs) {}

  std::unique_ptr<HttpSession> OpenSession(std::string_view agent) override {
    HINTERNET session = InternetOpenW(Utf16(agent).c_str(), INTERNET_OPEN_TYPE_DIRECT, nullptr,
                                      nullptr, INTERNET_FLAG_NO_CACHE_WRITE);
    if (session == nullptr) FailWithLastError();
    // Set on the session, the handles made from it inherit them: that is
    // where Windows documents and honours them.
    SetTimeout(session, INTERNET_OPTION_CONNECT_TIMEOUT, connectTimeoutMs_);
    SetTimeout(session, INTERNET_OPTION_SEND_TIMEOUT, receiveTimeoutMs_);
    SetTimeout(session, INTERNET_OPTION_RECEIVE_TIMEOUT, receiveTimeoutMs_);
    return std::make_unique<WinInetSession>(session);
  }

 private:
  long connectTimeoutMs_;
  long receiveTimeoutMs_;
};

}  // namespace

// The options' connect-to list and CA bundle are not used: the Windows
// program talks to the host its addresses name and trusts the system's store.
std::unique_ptr<HttpTextSource> MakeHttpTextSource(const PlatformOptions& options) {
  return std::make_unique<WinInetTextSource>(options);
}
