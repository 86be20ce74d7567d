# The maker's web addresses (src/update/maker_addresses.h). The defaults are
# reserved placeholders under example.com; a real build sets its own, e.g.
#   cmake -DCORVANE_VERSION_SERVER=https://updates.example.org ...
set(CORVANE_VERSION_SERVER "https://corvane.example.com" CACHE STRING
    "Version server base with scheme: serves /Ver.ini and /new_softs.txt")
set(CORVANE_DEFAULT_PAC_HOST "pac.corvane.example.com" CACHE STRING
    "Host of /Other/pac.txt when the version server names none")
set(CORVANE_HELP_URL "https://corvane.example.com/help/" CACHE STRING "Help page")
set(CORVANE_VPN_HELP_URL "https://corvane.example.com/help/vpn-settings.html" CACHE STRING
    "Help page on the VPN-mode settings")
set(CORVANE_TAP_TUTORIAL_URL "https://corvane.example.com/help/tap-windows.html" CACHE STRING
    "TAP-Windows driver installation tutorial")
set(CORVANE_GATEWAY_HELP_URL "https://corvane.example.com/help/default-gateway.html" CACHE STRING
    "Help page on finding the default gateway")
set(CORVANE_DONATE_URL "https://corvane.example.com/donate/" CACHE STRING "Donation page")
set(CORVANE_SITE_URL "https://corvane.example.com/" CACHE STRING "Web site named in the About box")
set(CORVANE_PROBE_URL "https://example.com/" CACHE STRING
    "Page opened by the connectivity check before an update check")

foreach(address VERSION_SERVER DEFAULT_PAC_HOST HELP_URL VPN_HELP_URL TAP_TUTORIAL_URL
                GATEWAY_HELP_URL DONATE_URL SITE_URL PROBE_URL)
  target_compile_definitions(corvane_core PUBLIC "CORVANE_${address}=\"${CORVANE_${address}}\"")
endforeach()
