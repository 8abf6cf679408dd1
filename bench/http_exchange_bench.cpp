// Drives the libcurl HTTP text source for bench/http_exchange.sh: one look-up's exchange, or
// the scan of a long geocoding reply with the bytes the process read from its sockets.
#include <dlfcn.h>
#include <sys/socket.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "app/platform_options_reader.h"
#include "platform/interfaces/platform_factories.h"

namespace {

std::atomic<long long> received{0};

template <typename Function>
Function Real(const char* name) {
  return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}

void ReadToEnd(HttpSession& session, const std::string& url) {
  auto reply = session.OpenURL(url);
  for (std::string line; reply && reply->ReadString(line);) {
  }
  if (reply) reply->Close();
}

// Lines up to the first result's second coordinate line, as the geocoding scan reads them.
void ScanAndClose(HttpSession& session, const std::string& url) {
  auto reply = session.OpenURL(url);
  int coordinates = 0;
  for (std::string line; coordinates < 2 && reply && reply->ReadString(line);) {
    if (line.find("<lat>") != std::string::npos || line.find("<lng>") != std::string::npos) {
      ++coordinates;
    }
  }
  if (reply) reply->Close();
}

int Usage() {
  std::fprintf(stderr,
               "usage: http_exchange_bench exchange GEOCODE_URL ELEVATION_URL [RUNS]\n"
               "       http_exchange_bench scan LONG_GEOCODE_URL\n");
  return 2;
}

}  // namespace

// Every socket read of libcurl passes here, so the count is what the client took in.
extern "C" ssize_t recv(int socket, void* buffer, size_t length, int flags) {
  static auto real = Real<ssize_t (*)(int, void*, size_t, int)>("recv");
  ssize_t got = real(socket, buffer, length, flags);
  if (got > 0) received += got;
  return got;
}

extern "C" ssize_t recvfrom(int socket, void* buffer, size_t length, int flags, sockaddr* from,
                            socklen_t* from_length) {
  static auto real = Real<ssize_t (*)(int, void*, size_t, int, sockaddr*, socklen_t*)>("recvfrom");
  ssize_t got = real(socket, buffer, length, flags, from, from_length);
  if (got > 0) received += got;
  return got;
}

int main(int argc, char** argv) {
  if (argc < 3) return Usage();
  std::string mode = argv[1];
  // The knobs as the programs read them: the script points them at its server.
  auto source = MakeHttpTextSource(ReadPlatformOptions(std::getenv));
  try {
    if (mode == "exchange" && (argc == 4 || argc == 5)) {
      int runs = argc == 5 ? std::atoi(argv[4]) : 1;
      std::vector<double> times;
      for (int run = 0; run < runs; ++run) {
        auto start = std::chrono::steady_clock::now();
        auto session = source->OpenSession("Google API");
        ReadToEnd(*session, argv[2]);
        ReadToEnd(*session, argv[3]);
        session->Close();
        times.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count());
      }
      std::sort(times.begin(), times.end());
      if (argc == 5) std::printf("%.3f\n", times[times.size() / 2]);
      return 0;
    }
    if (mode == "scan" && argc == 3) {
      auto session = source->OpenSession("Google API");
      ScanAndClose(*session, argv[2]);
      std::printf("%lld\n", received.load());
      return 0;
    }
  } catch (const CInternetException& failure) {
    std::fprintf(stderr, "Error number %u: %s\n", failure.m_dwError, failure.what());
    return 1;
  }
  return Usage();
}
