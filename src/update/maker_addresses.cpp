#include "update/maker_addresses.h"

#include <cstdlib>

namespace {

std::string FromEnvironment(const char* name, const char* builtIn) {
  const char* value = std::getenv(name);
  return value && *value ? value : builtIn;
}

}  // namespace

std::string VersionServerBase() { return FromEnvironment("CORVANE_VERSION_SERVER", CORVANE_VERSION_SERVER); }

std::string ConnectivityProbeAddress() { return FromEnvironment("CORVANE_PROBE_URL", CORVANE_PROBE_URL); }
