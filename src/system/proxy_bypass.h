#pragma once
// The bypass list while global mode is in place: local names, loopback and
// the private ranges never go to the remote server (router and NAS pages,
// single-label intranet names), beside whatever the user bypasses already.
#include <optional>
#include <string>
#include <string_view>

// The user's list (nothing: none), then each local entry it lacks, ";"
// between entries. Merging a merged list again changes nothing.
std::string WithLocalBypass(const std::optional<std::string>& userList);
