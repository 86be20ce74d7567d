#pragma once
// The secret part of the PAC address: only who was handed the address (the
// proxy settings) can fetch the script, never a web page guessing ports.
#include <string>
#include <string_view>

class RandomSource;

// 128 random bits as 32 lower-case hex digits; empty when the system has
// no random numbers to give.
std::string NewPacToken(RandomSource& random);
// Whether `text` has the form NewPacToken gives.
bool IsPacToken(std::string_view text);
