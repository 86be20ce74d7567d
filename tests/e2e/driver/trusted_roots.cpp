#include "driver/trusted_roots.h"

#include <windows.h>
#include <wincrypt.h>

#include <cstdlib>
#include <vector>

#include "driver/test_folder.h"

namespace e2e {

namespace {

std::string Environment(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

std::vector<BYTE> DerFromPem(const std::string& pem) {
  DWORD size = 0;
  if (!CryptStringToBinaryA(pem.data(), static_cast<DWORD>(pem.size()), CRYPT_STRING_BASE64HEADER, nullptr, &size,
                            nullptr, nullptr))
    return {};
  std::vector<BYTE> der(size);
  if (!CryptStringToBinaryA(pem.data(), static_cast<DWORD>(pem.size()), CRYPT_STRING_BASE64HEADER, der.data(), &size,
                            nullptr, nullptr))
    return {};
  der.resize(size);
  return der;
}

}  // namespace

std::string TlsTestPageUrl() {
  const std::string port = Environment("CORVANE_TLS_PORT");
  return port.empty() ? std::string() : "https://localhost:" + port + "/";
}

bool TrustTestAuthority() {
  const auto pem = ReadFileBytes(Environment("CORVANE_TLS_CA"));
  if (!pem) return false;
  const std::vector<BYTE> der = DerFromPem(*pem);
  if (der.empty()) return false;
  HCERTSTORE roots = CertOpenStore(CERT_STORE_PROV_SYSTEM_A, 0, 0, CERT_SYSTEM_STORE_LOCAL_MACHINE, "Root");
  if (!roots) return false;
  const BOOL added = CertAddEncodedCertificateToStore(roots, X509_ASN_ENCODING, der.data(),
                                                      static_cast<DWORD>(der.size()), CERT_STORE_ADD_REPLACE_EXISTING,
                                                      nullptr);
  CertCloseStore(roots, 0);
  return added != 0;
}

}  // namespace e2e
