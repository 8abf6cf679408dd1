// The HTTP text source over libcurl: one easy handle per session, driven through a multi
// handle so that a line is handed over as soon as it is in.
#include <curl/curl.h>
#include <netinet/in.h>
#include <openssl/ssl.h>
#include <sys/socket.h>
#include <unistd.h>
#ifdef __linux__
#include <linux/tcp.h>
#endif

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/http/curl_error_map.h"
#include "platform/interfaces/platform_factories.h"

namespace {

using Clock = std::chrono::steady_clock;
using Milliseconds = std::chrono::milliseconds;

constexpr curl_off_t kMaxReplyBytes = curl_off_t{16} << 20;  // refused beyond, never held
constexpr int kMaxRedirects = 5;
// A reply closed with at most this much left is read to its end, within kDrainTime, so
// that its connection stays open for the session's next request.
constexpr curl_off_t kDrainBytes = 16 << 10;
constexpr Milliseconds kDrainTime{1000};
constexpr Milliseconds kPollSlice{1000};
// The longest request address the services document; a longer one is refused before
// connecting, where a server would leave it unanswered.
constexpr size_t kMaxUrlLength = 16384;

struct CurlUrlDeleter {
  void operator()(CURLU* url) const { curl_url_cleanup(url); }
};
using CurlUrl = std::unique_ptr<CURLU, CurlUrlDeleter>;

struct SlistDeleter {
  void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};
using Slist = std::unique_ptr<curl_slist, SlistDeleter>;

void StartCurl() {
  static const CURLcode started = curl_global_init(CURL_GLOBAL_DEFAULT);
  if (started != CURLE_OK) throw CInternetException(kErrorInternal, "libcurl did not start");
}

// curl's --connect-to entries, comma-separated.
Slist ConnectToList(const std::string& all) {
  curl_slist* list = nullptr;
  for (size_t start = 0; start <= all.size();) {
    size_t end = std::min(all.find(',', start), all.size());
    std::string entry = all.substr(start, end - start);
    std::erase(entry, ' ');
    if (!entry.empty()) list = curl_slist_append(list, entry.c_str());
    start = end + 1;
  }
  return Slist(list);
}

// Spaces (as "+" in the query) and bytes above 0x7f are encoded; the rest goes as given.
// A relative reference (a redirect's Location) is resolved against `base`.
CurlUrl ParseUrl(const std::string& text, std::uint32_t failure, CURLU* base = nullptr) {
  CurlUrl url(base ? curl_url_dup(base) : curl_url());
  if (!url) throw CInternetException(kErrorInternal, "out of memory");
  CURLUcode result = curl_url_set(
      url.get(), CURLUPART_URL, text.c_str(),
      CURLU_NON_SUPPORT_SCHEME | CURLU_PATH_AS_IS | CURLU_ALLOW_SPACE | CURLU_URLENCODE);
  if (result != CURLUE_OK) throw CInternetException(failure, curl_url_strerror(result));
  return url;
}

// One part of a parsed address as text; empty when it has none.
std::string Part(CURLU* url, CURLUPart part) {
  char* text = nullptr;
  curl_url_get(url, part, &text, 0);
  std::string copy = text ? text : "";
  curl_free(text);
  return copy;
}

std::string Scheme(CURLU* url) { return Part(url, CURLUPART_SCHEME); }

bool Served(const std::string& scheme) { return scheme == "http" || scheme == "https"; }

bool HeaderIs(std::string_view line, std::string_view name) {
  return line.size() > name.size() && curl_strnequal(line.data(), name.data(), name.size());
}

// Bytes the kernel has taken in on the socket, headers and TLS records included;
// -1 when it cannot tell (then only the callbacks count as arrivals).
long long BytesReceived(curl_socket_t socket) {
#ifdef __linux__
  tcp_info info{};
  socklen_t size = sizeof info;
  if (getsockopt(socket, IPPROTO_TCP, TCP_INFO, &info, &size) != 0 ||
      size < offsetof(tcp_info, tcpi_bytes_received) + sizeof info.tcpi_bytes_received) {
    return -1;
  }
  return static_cast<long long>(info.tcpi_bytes_received);
#else
  (void)socket;
  return -1;
#endif
}

// The session's one easy handle and the state of its current request.
class Transfer {
 public:
  Transfer(std::string_view agent, const PlatformOptions& options);
  ~Transfer();
  Transfer(const Transfer&) = delete;
  Transfer& operator=(const Transfer&) = delete;

  // Returns once the final reply's headers are in; false for a scheme not served.
  bool Open(const std::string& url);
  bool ReadLine(std::string& line);
  void EndReply() noexcept;
  unsigned generation() const { return generation_; }

 private:
  static size_t OnBody(char* data, size_t size, size_t count, void* self);
  static size_t OnHeader(char* data, size_t size, size_t count, void* self);
  static int OnConnected(void* self, char*, char*, int, int);
  static int OnSocketOpened(void* self, curl_socket_t socket, curlsocktype);
  static int OnSocketClosed(void* self, curl_socket_t socket);
  static CURLcode OnTlsContext(CURL*, void* context, void* self);
  static void OnTlsMessage(int sent, int, int type, const void* data, size_t length, SSL*,
                           void* self);
  // A body with neither a length nor chunks ends where the connection ends. Over TLS only
  // the server's close-notify tells that end from a cut, which libcurl takes as an end.
  bool CutShort();

  void Start(CURLU* url);
  void Detach();
  void Resume();
  // Runs the transfer until `ready` holds, it ends, or `give_up` passes. Raises the
  // time-out when the connection stays silent for the receive time-out.
  void Pump(const std::function<bool()>& ready,
            Clock::time_point give_up = Clock::time_point::max());
  [[noreturn]] void Fail();
  size_t FindLineEnd();
  // Moves the start of the silence on when the socket took in bytes since last asked.
  void NoteArrivals();

  CURLM* multi_ = nullptr;
  CURL* easy_ = nullptr;
  Slist headers_;
  Slist connect_to_;
  CurlUrl url_;
  Milliseconds receive_timeout_;
  char error_[CURL_ERROR_SIZE] = {};
  unsigned generation_ = 0;

  bool attached_ = false;  // easy_ is in multi_
  bool done_ = false;
  CURLcode result_ = CURLE_OK;
  bool headers_done_ = false;
  bool connected_ = false;
  bool paused_ = false;   // the body callback holds back a piece until the lines before it are read
  bool discard_ = false;  // a redirect's body, or the rest of a closed reply
  bool too_large_ = false;
  bool cut_short_ = false;
  bool close_notify_ = false;  // the server ended the TLS stream on purpose
  bool length_known_ = false;  // the reply has a Content-Length or chunks
  curl_off_t body_bytes_ = 0;
  curl_off_t discarded_ = 0;
  Clock::time_point last_data_;
  std::vector<curl_socket_t> sockets_;  // the sockets curl has open for this handle
  long long bytes_received_ = -1;       // by all of them, when last looked at
  std::string location_;                // the Location header of the current reply
  std::string buffer_;
  size_t scanned_ = 0;  // no line feed in buffer_ before this
};

Transfer::Transfer(std::string_view agent, const PlatformOptions& options)
    : receive_timeout_(options.receiveTimeoutMs) {
  StartCurl();
  multi_ = curl_multi_init();
  easy_ = curl_easy_init();
  if (!multi_ || !easy_) {
    curl_easy_cleanup(easy_);
    curl_multi_cleanup(multi_);
    throw CInternetException(kErrorInternal, "libcurl handles not available");
  }
  curl_slist* headers = curl_slist_append(nullptr, "Cache-Control: no-cache");
  headers = curl_slist_append(headers, "Pragma: no-cache");
  headers_.reset(headers);
  connect_to_ = ConnectToList(options.connectTo);
  std::string agent_text(agent);
  const std::string& ca_bundle = options.caBundle;

  curl_easy_setopt(easy_, CURLOPT_USERAGENT, agent_text.c_str());
  curl_easy_setopt(easy_, CURLOPT_HTTPHEADER, headers_.get());
  curl_easy_setopt(easy_, CURLOPT_PROXY, "");  // direct, whatever the environment says
  curl_easy_setopt(easy_, CURLOPT_NOPROXY, "*");
  curl_easy_setopt(easy_, CURLOPT_PROTOCOLS_STR, "http,https");
  // HTTP/1.1 as WinInet speaks it: the path the tests cover, pausing included.
  curl_easy_setopt(easy_, CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_1));
  curl_easy_setopt(easy_, CURLOPT_FOLLOWLOCATION, 0L);  // followed by Open, hop by hop
  curl_easy_setopt(easy_, CURLOPT_CONNECTTIMEOUT_MS, options.connectTimeoutMs);
  curl_easy_setopt(easy_, CURLOPT_MAXFILESIZE_LARGE, kMaxReplyBytes);
  curl_easy_setopt(easy_, CURLOPT_SSL_VERIFYPEER, 1L);
  curl_easy_setopt(easy_, CURLOPT_SSL_VERIFYHOST, 2L);
  curl_easy_setopt(easy_, CURLOPT_SSL_CTX_FUNCTION, &Transfer::OnTlsContext);
  curl_easy_setopt(easy_, CURLOPT_SSL_CTX_DATA, this);
  if (!ca_bundle.empty()) {
    curl_easy_setopt(easy_, CURLOPT_CAINFO, ca_bundle.c_str());
    curl_easy_setopt(easy_, CURLOPT_CAPATH, static_cast<char*>(nullptr));
  }
  if (connect_to_) curl_easy_setopt(easy_, CURLOPT_CONNECT_TO, connect_to_.get());
  curl_easy_setopt(easy_, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(easy_, CURLOPT_ERRORBUFFER, error_);
  curl_easy_setopt(easy_, CURLOPT_WRITEFUNCTION, &Transfer::OnBody);
  curl_easy_setopt(easy_, CURLOPT_WRITEDATA, this);
  curl_easy_setopt(easy_, CURLOPT_HEADERFUNCTION, &Transfer::OnHeader);
  curl_easy_setopt(easy_, CURLOPT_HEADERDATA, this);
  curl_easy_setopt(easy_, CURLOPT_PREREQFUNCTION, &Transfer::OnConnected);
  curl_easy_setopt(easy_, CURLOPT_PREREQDATA, this);
  curl_easy_setopt(easy_, CURLOPT_SOCKOPTFUNCTION, &Transfer::OnSocketOpened);
  curl_easy_setopt(easy_, CURLOPT_SOCKOPTDATA, this);
  curl_easy_setopt(easy_, CURLOPT_CLOSESOCKETFUNCTION, &Transfer::OnSocketClosed);
  curl_easy_setopt(easy_, CURLOPT_CLOSESOCKETDATA, this);
}

Transfer::~Transfer() {
  Detach();
  curl_easy_cleanup(easy_);
  curl_multi_cleanup(multi_);
}

size_t Transfer::OnBody(char* data, size_t size, size_t count, void* self) {
  auto& transfer = *static_cast<Transfer*>(self);
  size_t length = size * count;
  transfer.last_data_ = Clock::now();
  if (transfer.discard_) {
    transfer.discarded_ += static_cast<curl_off_t>(length);
    return length;
  }
  // Holding back keeps the socket unread while the caller has a line to take.
  if (transfer.FindLineEnd() != std::string::npos) {
    transfer.paused_ = true;
    return CURL_WRITEFUNC_PAUSE;
  }
  if (transfer.body_bytes_ + static_cast<curl_off_t>(length) > kMaxReplyBytes) {
    transfer.too_large_ = true;
    return 0;
  }
  transfer.buffer_.append(data, length);
  transfer.body_bytes_ += static_cast<curl_off_t>(length);
  return length;
}

size_t Transfer::OnHeader(char* data, size_t size, size_t count, void* self) {
  auto& transfer = *static_cast<Transfer*>(self);
  size_t length = size * count;
  transfer.last_data_ = Clock::now();
  std::string_view line(data, length);
  constexpr std::string_view kLocation = "location:";
  if (line.rfind("HTTP/", 0) == 0) {  // a new block: 1xx blocks come before the real one
    transfer.location_.clear();
    transfer.length_known_ = false;
  } else if (HeaderIs(line, "content-length:") ||
             (HeaderIs(line, "transfer-encoding:") &&
              line.find("chunked") != std::string_view::npos)) {
    transfer.length_known_ = true;
  } else if (line.size() > kLocation.size() &&
             curl_strnequal(line.data(), kLocation.data(), kLocation.size())) {
    line.remove_prefix(kLocation.size());
    auto first = line.find_first_not_of(" \t");
    auto last = line.find_last_not_of(" \t\r\n");
    transfer.location_ =
        first == std::string_view::npos ? "" : std::string(line.substr(first, last - first + 1));
  } else if (line == "\r\n" || line == "\n") {  // the end of a block
    long status = 0;
    curl_easy_getinfo(transfer.easy_, CURLINFO_RESPONSE_CODE, &status);
    if (status >= 200) transfer.headers_done_ = true;
  }
  return length;
}

int Transfer::OnConnected(void* self, char*, char*, int, int) {
  auto& transfer = *static_cast<Transfer*>(self);
  transfer.connected_ = true;  // from here the receive time-out runs
  transfer.last_data_ = Clock::now();
  transfer.bytes_received_ = -1;
  return CURL_PREREQFUNC_OK;
}

CURLcode Transfer::OnTlsContext(CURL*, void* context, void* self) {
  SSL_CTX_set_msg_callback(static_cast<SSL_CTX*>(context), &Transfer::OnTlsMessage);
  SSL_CTX_set_msg_callback_arg(static_cast<SSL_CTX*>(context), self);
  return CURLE_OK;
}

void Transfer::OnTlsMessage(int sent, int, int type, const void* data, size_t length, SSL*,
                            void* self) {
  const auto* alert = static_cast<const unsigned char*>(data);
  if (!sent && type == SSL3_RT_ALERT && length == 2 && alert[1] == SSL_AD_CLOSE_NOTIFY) {
    static_cast<Transfer*>(self)->close_notify_ = true;
  }
}

bool Transfer::CutShort() {
  long status = 0, version = 0;
  curl_easy_getinfo(easy_, CURLINFO_RESPONSE_CODE, &status);
  curl_easy_getinfo(easy_, CURLINFO_HTTP_VERSION, &version);
  const bool unframed = headers_done_ && !length_known_ && status != 204 && status != 304 &&
                        version != CURL_HTTP_VERSION_2_0 && version != CURL_HTTP_VERSION_3;
  return unframed && Scheme(url_.get()) == "https" && !close_notify_;
}

int Transfer::OnSocketOpened(void* self, curl_socket_t socket, curlsocktype) {
  static_cast<Transfer*>(self)->sockets_.push_back(socket);
  return CURL_SOCKOPT_OK;
}

int Transfer::OnSocketClosed(void* self, curl_socket_t socket) {
  std::erase(static_cast<Transfer*>(self)->sockets_, socket);
  return close(socket);
}

void Transfer::NoteArrivals() {
  long long received = 0;
  for (curl_socket_t socket : sockets_) received += std::max(0LL, BytesReceived(socket));
  if (received != bytes_received_) last_data_ = Clock::now();
  bytes_received_ = received;
}

size_t Transfer::FindLineEnd() {
  size_t end = buffer_.find('\n', scanned_);
  if (end == std::string::npos) scanned_ = buffer_.size();
  return end;
}

void Transfer::Start(CURLU* url) {
  if (Part(url, CURLUPART_URL).size() > kMaxUrlLength) {
    throw CInternetException(kErrorInvalidUrl, "address longer than 16384 characters");
  }
  buffer_.clear();
  scanned_ = 0;
  done_ = headers_done_ = connected_ = paused_ = discard_ = too_large_ = false;
  cut_short_ = close_notify_ = length_known_ = false;
  result_ = CURLE_OK;
  body_bytes_ = discarded_ = 0;
  error_[0] = '\0';
  curl_easy_setopt(easy_, CURLOPT_CURLU, url);
  CURLMcode added = curl_multi_add_handle(multi_, easy_);
  if (added != CURLM_OK) throw CInternetException(kErrorInternal, curl_multi_strerror(added));
  attached_ = true;
}

// Leaving a transfer unfinished closes its connection, so the rest is never fetched.
void Transfer::Detach() {
  if (attached_) curl_multi_remove_handle(multi_, easy_);
  attached_ = false;
  paused_ = false;
}

void Transfer::Resume() {
  paused_ = false;
  CURLcode resumed = curl_easy_pause(easy_, CURLPAUSE_CONT);  // the held piece comes in now
  if (resumed != CURLE_OK && !done_) {
    done_ = true;
    result_ = resumed;
  }
}

void Transfer::Pump(const std::function<bool()>& ready, Clock::time_point give_up) {
  last_data_ = Clock::now();  // the time-out counts silence while the caller waits
  while (!ready() && !done_) {
    int running = 0;
    CURLMcode performed = curl_multi_perform(multi_, &running);
    if (performed != CURLM_OK) {
      done_ = true;
      result_ = CURLE_FAILED_INIT;
      Fail();
    }
    int queued = 0;
    while (CURLMsg* message = curl_multi_info_read(multi_, &queued)) {
      if (message->msg == CURLMSG_DONE) {
        done_ = true;
        result_ = message->data.result;
        if (result_ == CURLE_OK && !discard_ && CutShort()) {
          cut_short_ = true;
          result_ = CURLE_PARTIAL_FILE;
          std::snprintf(error_, sizeof error_, "TLS stream ended without close-notify");
        }
      }
    }
    if (ready() || done_) return;
    if (connected_) NoteArrivals();  // the callbacks see whole header lines, not bytes
    auto now = Clock::now();
    if (now >= give_up) return;
    auto wait = std::min<Clock::duration>(kPollSlice, give_up - now);
    if (connected_) {
      auto silent = now - last_data_;
      if (silent >= receive_timeout_) {
        done_ = true;
        result_ = CURLE_OPERATION_TIMEDOUT;
        std::snprintf(error_, sizeof error_, "no data received for %lld ms",
                      static_cast<long long>(receive_timeout_.count()));
        Fail();
      }
      wait = std::min(wait, receive_timeout_ - silent);
    }
    auto wait_ms = std::chrono::duration_cast<Milliseconds>(wait).count() + 1;
    curl_multi_poll(multi_, nullptr, 0, static_cast<int>(wait_ms), nullptr);
  }
}

void Transfer::Fail() {
  long verify_result = 0;
  long os_errno = 0;
  curl_easy_getinfo(easy_, CURLINFO_SSL_VERIFYRESULT, &verify_result);
  curl_easy_getinfo(easy_, CURLINFO_OS_ERRNO, &os_errno);
  std::string detail = error_[0] ? error_ : curl_easy_strerror(result_);
  std::uint32_t number =
      too_large_   ? kErrorInvalidServerResponse
      : cut_short_ ? kErrorConnectionAborted
                   : WinInetErrorFor({result_, verify_result, os_errno, detail, connected_});
  if (too_large_) detail = "reply larger than 16 MiB";
  Detach();
  throw CInternetException(number, detail);
}

bool Transfer::Open(const std::string& text) {
  EndReply();
  ++generation_;
  CurlUrl url = ParseUrl(text, kErrorInvalidUrl);
  if (!Served(Scheme(url.get()))) return false;
  for (int redirects = 0;; ++redirects) {
    url_ = std::move(url);
    Start(url_.get());
    Pump([this] { return headers_done_; });
    if (!headers_done_) {
      if (result_ == CURLE_OK) result_ = CURLE_WEIRD_SERVER_REPLY;
      Fail();
    }
    long status = 0;
    curl_easy_getinfo(easy_, CURLINFO_RESPONSE_CODE, &status);
    bool redirect =
        status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
    if (!redirect || location_.empty()) return true;

    std::string location = location_;
    EndReply();
    if (redirects == kMaxRedirects) {
      throw CInternetException(kErrorRedirectFailed, "more than 5 redirects");
    }
    url = ParseUrl(location, kErrorRedirectFailed, url_.get());
    std::string from = Scheme(url_.get()), to = Scheme(url.get());
    if (!Served(to) || (from == "https" && to == "http")) {
      throw CInternetException(kErrorRedirectFailed, "redirect to " + location + " refused");
    }
  }
}

bool Transfer::ReadLine(std::string& line) {
  for (;;) {
    size_t end = FindLineEnd();
    bool last = end == std::string::npos && done_ && result_ == CURLE_OK && !buffer_.empty();
    if (end != std::string::npos || last) {
      line.assign(buffer_, 0, last ? buffer_.size() : end);  // a last line may lack its LF
      std::erase(line, '\r');
      buffer_.erase(0, last ? buffer_.size() : end + 1);
      scanned_ = 0;
      return true;
    }
    if (done_) {
      if (result_ != CURLE_OK) Fail();  // never read as the end of the reply
      return false;
    }
    if (paused_) {
      Resume();
    } else {
      Pump([this] { return FindLineEnd() != std::string::npos; });
    }
  }
}

void Transfer::EndReply() noexcept {
  if (attached_ && !done_) {
    curl_off_t length = -1;
    curl_easy_getinfo(easy_, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length);
    if (length < 0 || length - body_bytes_ <= kDrainBytes) {
      discard_ = true;
      if (paused_) Resume();
      try {
        Pump([this] { return discarded_ > kDrainBytes; }, Clock::now() + kDrainTime);
      } catch (const CInternetException&) {
        // the reply is being let go; how its rest failed does not matter
      }
    }
  }
  Detach();
  buffer_.clear();
}

class CurlReply : public HttpReply {
 public:
  CurlReply(std::weak_ptr<Transfer> transfer, unsigned generation)
      : transfer_(std::move(transfer)), generation_(generation) {}
  ~CurlReply() override { Close(); }

  bool ReadString(std::string& line) override {
    auto transfer = Current();
    return transfer && transfer->ReadLine(line);
  }

  void Close() override {
    if (auto transfer = Current()) transfer->EndReply();
    transfer_.reset();
  }

 private:
  // The transfer, while this reply is still the session's current one.
  std::shared_ptr<Transfer> Current() {
    auto transfer = transfer_.lock();
    return transfer && transfer->generation() == generation_ ? transfer : nullptr;
  }

  std::weak_ptr<Transfer> transfer_;
  unsigned generation_;
};

class CurlSession : public HttpSession {
 public:
  CurlSession(std::string_view agent, const PlatformOptions& options)
      : transfer_(std::make_shared<Transfer>(agent, options)) {}

  std::unique_ptr<HttpReply> OpenURL(const std::string& url) override {
    if (!transfer_) throw CInternetException(kErrorInternal, "session closed");
    if (!transfer_->Open(url)) return nullptr;
    return std::make_unique<CurlReply>(transfer_, transfer_->generation());
  }

  void Close() override { transfer_.reset(); }

 private:
  std::shared_ptr<Transfer> transfer_;
};

class CurlHttpTextSource : public HttpTextSource {
 public:
  explicit CurlHttpTextSource(PlatformOptions options) : options_(std::move(options)) {}

  std::unique_ptr<HttpSession> OpenSession(std::string_view agent) override {
    return std::make_unique<CurlSession>(agent, options_);
  }

 private:
  PlatformOptions options_;
};

}  // namespace

std::unique_ptr<HttpTextSource> MakeHttpTextSource(const PlatformOptions& options) {
  return std::make_unique<CurlHttpTextSource>(options);
}
