#pragma once
// The maker's web addresses, all in one place. Each can be set when building
// (CMake cache variables of the same name); the defaults are reserved
// placeholders under example.com, never a host this project does not control.
// A PAC template from someone else's host would steer every browser on the
// machine, so a real build must name the maker's own servers here.
#include <string>

// Base of "/Ver.ini" and "/new_softs.txt", with its scheme and no final "/".
#ifndef CORVANE_VERSION_SERVER
#define CORVANE_VERSION_SERVER "https://corvane.example.com"
#endif
// Where PAC templates come from when the version server names no host.
#ifndef CORVANE_DEFAULT_PAC_HOST
#define CORVANE_DEFAULT_PAC_HOST "pac.corvane.example.com"
#endif
// Opened by "使用方法" and named in the update balloon.
#ifndef CORVANE_HELP_URL
#define CORVANE_HELP_URL "https://corvane.example.com/help/"
#endif
#ifndef CORVANE_VPN_HELP_URL
#define CORVANE_VPN_HELP_URL "https://corvane.example.com/help/vpn-settings.html"
#endif
#ifndef CORVANE_TAP_TUTORIAL_URL
#define CORVANE_TAP_TUTORIAL_URL "https://corvane.example.com/help/tap-windows.html"
#endif
#ifndef CORVANE_GATEWAY_HELP_URL
#define CORVANE_GATEWAY_HELP_URL "https://corvane.example.com/help/default-gateway.html"
#endif
#ifndef CORVANE_DONATE_URL
#define CORVANE_DONATE_URL "https://corvane.example.com/donate/"
#endif
// The site named on the second line of the About box.
#ifndef CORVANE_SITE_URL
#define CORVANE_SITE_URL "https://corvane.example.com/"
#endif
// A page that answers whenever the Internet is reachable.
#ifndef CORVANE_PROBE_URL
#define CORVANE_PROBE_URL "https://example.com/"
#endif

// The version server, unless the environment variable
// CORVANE_VERSION_SERVER names another one (with its scheme, such as
// http://127.0.0.1:8080): tests serve the update files locally that way.
std::string VersionServerBase();
// The connectivity probe page, likewise overridable by CORVANE_PROBE_URL.
std::string ConnectivityProbeAddress();
