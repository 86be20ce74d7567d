#pragma once
// The binary connection-settings records WinINet keeps under
// Internet Settings\Connections: 32-bit little-endian numbers, texts as
// their bytes without a terminator, each length counting the bytes of the
// text that follows it.
#include <cstdint>
#include <string>
#include <string_view>

// 56 + N bytes. With an address: flags 0x05 (direct plus automatic
// configuration address); with none: flags 0x01 (direct only), N = 0.
std::string AutoConfigRecord(std::uint32_t counter, std::string_view address);

// 52 + N bytes: counter 1, flags 0x03 (direct plus proxy server).
std::string ProxyRecord(std::string_view server);
