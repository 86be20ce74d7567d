#pragma once
// Whether the version file names a newer release than this program.
#include <string_view>

// `latest` is the version file's "最新版本", `number` its "版本号". Newer
// when both are set, the version text differs from this program's and the
// build number, read like atoi with full-width digits, is above this one's.
bool IsNewerRelease(std::string_view latest, std::string_view number);
