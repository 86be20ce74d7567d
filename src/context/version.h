#pragma once
#include <string_view>

inline constexpr std::string_view kVersionText = "1.0.10";
inline constexpr std::string_view kBuildNumber = "11";
inline constexpr char kSingleInstanceEvent[] = "D4dA8UYsda4FGkashdda545";
