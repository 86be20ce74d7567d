#pragma once
// The maker's web addresses, all in one place. Each can be set when building
// (CMake cache variables of the same name); the defaults are reserved
// placeholders under example.com, never a host this project does not control.

#ifndef CORVANE_VPN_HELP_URL
#define CORVANE_VPN_HELP_URL "https://corvane.example.com/help/vpn-settings.html"
#endif
