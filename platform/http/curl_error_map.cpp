// One table from curl's result to the number the caller shows; the README lists the same.
#include "platform/http/curl_error_map.h"

#include <cerrno>

namespace {

// OpenSSL's X509_V_ERR values, which libcurl passes through as the verify result.
std::uint32_t CertificateError(const CurlFailure& failure) {
  switch (failure.verify_result) {
    case 0:  // X509_V_OK
    case 1:  // X509_V_ERR_UNSPECIFIED, which libcurl leaves when its own name check refused
      return failure.message.find("subject name") != std::string_view::npos ? kErrorCertNameInvalid
                                                                            : kErrorSecureChannel;
    case 62:  // X509_V_ERR_HOSTNAME_MISMATCH
    case 64:  // X509_V_ERR_IP_ADDRESS_MISMATCH
      return kErrorCertNameInvalid;
    case 9:   // X509_V_ERR_CERT_NOT_YET_VALID
    case 10:  // X509_V_ERR_CERT_HAS_EXPIRED
    case 13:  // X509_V_ERR_ERROR_IN_CERT_NOT_BEFORE_FIELD
    case 14:  // X509_V_ERR_ERROR_IN_CERT_NOT_AFTER_FIELD
      return kErrorCertDateInvalid;
    case 2:   // X509_V_ERR_UNABLE_TO_GET_ISSUER_CERT
    case 18:  // X509_V_ERR_DEPTH_ZERO_SELF_SIGNED_CERT
    case 19:  // X509_V_ERR_SELF_SIGNED_CERT_IN_CHAIN
    case 20:  // X509_V_ERR_UNABLE_TO_GET_ISSUER_CERT_LOCALLY
    case 21:  // X509_V_ERR_UNABLE_TO_VERIFY_LEAF_SIGNATURE
    case 24:  // X509_V_ERR_INVALID_CA
    case 27:  // X509_V_ERR_CERT_UNTRUSTED
      return kErrorInvalidCa;
    default:
      return kErrorSecureChannel;
  }
}

// A broken connection: reset when the peer said so, terminated otherwise.
std::uint32_t ConnectionError(const CurlFailure& failure) {
  bool reset = failure.os_errno == ECONNRESET ||
               failure.message.find("reset by peer") != std::string_view::npos;
  return reset ? kErrorConnectionReset : kErrorConnectionAborted;
}

// Curl's words for a reply it could not parse rather than one it could not receive.
bool BrokenFraming(const CurlFailure& failure) {
  return failure.message.find("chunked-encoding") != std::string_view::npos;
}

}  // namespace

std::uint32_t WinInetErrorFor(const CurlFailure& failure) {
  switch (failure.code) {
    case CURLE_OPERATION_TIMEDOUT:
      return kErrorTimeout;
    case CURLE_UNSUPPORTED_PROTOCOL:
      // Once the request is out, this is an HTTP/0.9 or unknown status line.
      return failure.request_sent ? kErrorInvalidServerResponse : kErrorInvalidUrl;
    case CURLE_URL_MALFORMAT:
      return kErrorInvalidUrl;
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_RESOLVE_PROXY:
      return kErrorNameNotResolved;
    case CURLE_COULDNT_CONNECT:
      return kErrorCannotConnect;
    case CURLE_PARTIAL_FILE:
    case CURLE_GOT_NOTHING:
    case CURLE_SEND_ERROR:
    case CURLE_RECV_ERROR:
      return BrokenFraming(failure) ? kErrorInvalidServerResponse : ConnectionError(failure);
    case CURLE_HTTP2:
    case CURLE_HTTP2_STREAM:
      return ConnectionError(failure);
    case CURLE_PEER_FAILED_VERIFICATION:
      return CertificateError(failure);
    case CURLE_SSL_ISSUER_ERROR:
    case CURLE_SSL_CACERT_BADFILE:
      return kErrorInvalidCa;
    case CURLE_SSL_CONNECT_ERROR:
    case CURLE_SSL_CERTPROBLEM:
    case CURLE_SSL_CIPHER:
    case CURLE_SSL_ENGINE_NOTFOUND:
    case CURLE_SSL_ENGINE_SETFAILED:
    case CURLE_SSL_ENGINE_INITFAILED:
    case CURLE_SSL_SHUTDOWN_FAILED:
    case CURLE_SSL_CRL_BADFILE:
    case CURLE_SSL_PINNEDPUBKEYNOTMATCH:
    case CURLE_SSL_INVALIDCERTSTATUS:
    case CURLE_SSL_CLIENTCERT:
    case CURLE_USE_SSL_FAILED:
      return kErrorSecureChannel;
    case CURLE_WEIRD_SERVER_REPLY:
    case CURLE_FILESIZE_EXCEEDED:
    case CURLE_BAD_CONTENT_ENCODING:
    case CURLE_WRITE_ERROR:  // our write callback refused the body: over the size cap
      return kErrorInvalidServerResponse;
    case CURLE_TOO_MANY_REDIRECTS:
      return kErrorRedirectFailed;
    case CURLE_OUT_OF_MEMORY:
      // What curl says of a header line over its limit.
      return failure.request_sent ? kErrorInvalidServerResponse : kErrorInternal;
    default:
      return kErrorInternal;
  }
}
