#pragma once
// What any copy of this program last wrote into the user's proxy settings,
// kept per user in the registry. Copies in other folders and on other
// ports keep their saved copies elsewhere; this record lets every copy
// recognise a killed copy's values instead of taking them for the user's.
#include "platform/registry.h"
#include "system/user_proxy_snapshot.h"

void RecordWrittenValues(Registry& registry, const ProxyValues& written);
// The groups of `current` that hold what the record says was written.
OwnValues WrittenByAnyCopy(Registry& registry, const ProxyValues& current);
// The groups given back are no one's any more.
void ForgetWrittenValues(Registry& registry, OwnValues givenBack);
