# Nayuki's QR Code generator (MIT), the C++ encoder from the original tarball
# of Debian's source package qr-code-generator. scripts/install-deps fetches
# it, checks its SHA-256 and unpacks it into build/third_party.
# Sets QRCODEGEN_SOURCE and QRCODEGEN_INCLUDE_DIR.
set(QRCODEGEN_DIR ${CMAKE_CURRENT_LIST_DIR}/../build/third_party/QR-Code-generator-1.8.0/cpp
    CACHE PATH "The cpp folder of QR Code generator 1.8.0")
if(NOT EXISTS ${QRCODEGEN_DIR}/qrcodegen.cpp OR NOT EXISTS ${QRCODEGEN_DIR}/qrcodegen.hpp)
  message(FATAL_ERROR
    "QR Code generator 1.8.0 is missing: no qrcodegen.cpp and qrcodegen.hpp in\n  ${QRCODEGEN_DIR}\n"
    "Run scripts/install-deps as root: it fetches qr-code-generator_1.8.0.orig.tar.gz "
    "with 'apt-get source --tar-only qr-code-generator', checks it and unpacks it there "
    "(or point -DQRCODEGEN_DIR=... at the cpp folder of that release).")
endif()
set(QRCODEGEN_SOURCE ${QRCODEGEN_DIR}/qrcodegen.cpp)
set(QRCODEGEN_INCLUDE_DIR ${QRCODEGEN_DIR})
# Someone else's code: its warnings are not ours to mend. Its literals are
# ASCII, the same bytes in GBK.
set_source_files_properties(${QRCODEGEN_SOURCE} PROPERTIES COMPILE_OPTIONS -w)
