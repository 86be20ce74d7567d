#pragma once
// The answer of "/new_softs.txt" read as the PAC source host. The host goes
// straight into the address every PAC template comes from, so only a host
// name or address, with an optional port, is taken; an error page, a path or
// anything else is no host. A scheme of its own is allowed for a loopback
// address alone (a server on this machine), so an answer can never turn
// the template download into plain http to somewhere else.
#include <string>
#include <string_view>

// The host, without the blanks and line breaks around it; empty when the
// answer is no acceptable host.
std::string PacSourceHostFrom(std::string_view answer);
