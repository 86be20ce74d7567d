#include "update/update_decision.h"

#include "context/version.h"
#include "config/value_codec.h"

bool IsNewerRelease(std::string_view latest, std::string_view number) {
  return !latest.empty() && !number.empty() && latest != kVersionText &&
         ReadInteger(number) > ReadInteger(kBuildNumber);
}
