// WinInet's well-known error numbers for the ways a libcurl transfer fails.
#pragma once

#include <curl/curl.h>

#include <cstdint>
#include <string_view>

enum WinInetError : std::uint32_t {
  kErrorTimeout = 12002,
  kErrorInternal = 12004,
  kErrorInvalidUrl = 12005,
  kErrorNameNotResolved = 12007,
  kErrorCannotConnect = 12029,
  kErrorConnectionAborted = 12030,
  kErrorConnectionReset = 12031,
  kErrorCertDateInvalid = 12037,
  kErrorCertNameInvalid = 12038,
  kErrorInvalidCa = 12045,
  kErrorInvalidServerResponse = 12152,
  kErrorRedirectFailed = 12156,
  kErrorSecureChannel = 12157,
};

// What curl said of a failed transfer.
struct CurlFailure {
  CURLcode code;
  long verify_result;  // CURLINFO_SSL_VERIFYRESULT (an OpenSSL X509_V_ERR value)
  long os_errno;       // CURLINFO_OS_ERRNO
  std::string_view message;
  bool request_sent = false;  // the connection was up: what failed came with the reply
};

std::uint32_t WinInetErrorFor(const CurlFailure& failure);
