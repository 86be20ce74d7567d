#pragma once
// The https test page beside the driver (run_under_wine.sh --tls-origin) and
// trust in its throw-away authority, added to the trusted roots of the
// private Wine prefix the tests run in.
#include <string>

namespace e2e {

// "https://localhost:<port>/" of the test page; empty when the run has none.
std::string TlsTestPageUrl();
// Adds the test page's authority (CORVANE_TLS_CA, a PEM file) to the
// machine's trusted roots; false when that fails.
bool TrustTestAuthority();

}  // namespace e2e
