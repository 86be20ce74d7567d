#pragma once
// The Brook command line for the node in the window's edit controls.
#include <string>

struct AppContext;

// The whole command line, or, for a VPN node whose network preparation
// failed, exactly one of the markers of vpn_network.h. Shapes:
//   "<path>" client|streamclient -l <bind>:<port> -i <bind> -s "<server>:<port>" -p "<password>" [--http]
//   "<path>" vpn -l 127.0.0.1:<port> -s "<server>:<port>" -p "<password>" --defaultGateway <gateway>
// Every text from the window is quoted so that the engine receives exactly
// what was typed, whatever quotes, blanks or backslashes it holds.
std::string BuildEngineCommandLine(AppContext& app);
