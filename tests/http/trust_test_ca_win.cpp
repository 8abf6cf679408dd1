// Adds a DER certificate to the current user's Root store, so that the Wine
// prefix of the tests trusts the test CA. Usage: CERT.der
#include <windows.h>
#include <wincrypt.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <vector>

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fputs("usage: trust_test_ca_win CERT.der\n", stderr);
    return 64;
  }
  std::ifstream file(argv[1], std::ios::binary);
  const std::vector<BYTE> der((std::istreambuf_iterator<char>(file)),
                              std::istreambuf_iterator<char>());
  if (der.empty() || !CertAddEncodedCertificateToSystemStoreW(
                         L"Root", der.data(), static_cast<DWORD>(der.size()))) {
    std::fprintf(stderr, "cannot add the certificate: error %lu\n", GetLastError());
    return 1;
  }
  return 0;
}
