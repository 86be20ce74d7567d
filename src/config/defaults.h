#pragma once
// The program's own choices for values a user has not set yet.
#include <string_view>

// Fetched through the local proxy by the account self-check.
inline constexpr std::string_view kDefaultTestUrl = "https://www.google.com/";
inline constexpr std::string_view kDefaultTimeoutSeconds = "10";
inline constexpr std::string_view kDefaultLocalPort = "2080";

// A new node before the user fills it in.
inline constexpr std::string_view kDefaultNodeAddress = "127.0.0.1";
inline constexpr std::string_view kDefaultNodePort = "2333";
inline constexpr std::string_view kDefaultNodePassword = "corvane";  // 7-character placeholder
