// The blocking HTTP GET whose reply body is read line by line.
#pragma once

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>

// A network failure. m_dwError carries the well-known WinInet number for it
// (12002 time-out, 12029 cannot connect, ...), which is all the caller shows.
class CInternetException : public std::runtime_error {
 public:
  explicit CInternetException(std::uint32_t error, const std::string& detail = {})
      : std::runtime_error(detail.empty() ? "internet error " + std::to_string(error) : detail),
        m_dwError(error) {}
  std::uint32_t m_dwError;
};

// One open reply. ReadString takes the body up to and including the next line
// feed, drops every carriage return, removes the line feed and returns true;
// it returns false only when no byte of the body is left. Throws
// CInternetException when the transfer fails, never reports that as the end.
class HttpReply {
 public:
  virtual ~HttpReply() = default;
  virtual bool ReadString(std::string& line) = 0;
  // Stops the transfer; the rest of the body is not fetched.
  virtual void Close() = 0;
};

// One internet session: both requests of a look-up go through it, over one
// connection where the server allows.
class HttpSession {
 public:
  virtual ~HttpSession() = default;
  // A GET of the address exactly as given. Returns no reply (nullptr) for an
  // address of a scheme the session does not serve; an HTTP error status is
  // still a reply. Throws CInternetException on failure.
  virtual std::unique_ptr<HttpReply> OpenURL(const std::string& url) = 0;
  virtual void Close() = 0;
};

// Opens sessions; the agent text goes out as the User-Agent of every request.
class HttpTextSource {
 public:
  virtual ~HttpTextSource() = default;
  virtual std::unique_ptr<HttpSession> OpenSession(std::string_view agent) = 0;
};
