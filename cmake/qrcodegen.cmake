# Nayuki's QR Code generator (MIT), the C encoder from the original tarball
# of Debian's source package qr-code-generator. scripts/install-deps fetches
# it, checks its SHA-256 and unpacks it into build/third_party.
# Sets QRCODEGEN_SOURCE and QRCODEGEN_INCLUDE_DIR.
# (Its C++ flavour formats the "too long" message with a string stream,
# which would bring the whole C++ locale and stream machinery into the exe.)
enable_language(C)
set(QRCODEGEN_C_DIR ${CMAKE_CURRENT_LIST_DIR}/../build/third_party/QR-Code-generator-1.8.0/c
    CACHE PATH "The c folder of QR Code generator 1.8.0")
if(NOT EXISTS ${QRCODEGEN_C_DIR}/qrcodegen.c OR NOT EXISTS ${QRCODEGEN_C_DIR}/qrcodegen.h)
  message(FATAL_ERROR
    "QR Code generator 1.8.0 is missing: no qrcodegen.c and qrcodegen.h in\n  ${QRCODEGEN_C_DIR}\n"
    "Run scripts/install-deps as root: it fetches qr-code-generator_1.8.0.orig.tar.gz "
    "with 'apt-get source --tar-only qr-code-generator', checks it and unpacks it there "
    "(or point -DQRCODEGEN_C_DIR=... at the c folder of that release).")
endif()
set(QRCODEGEN_SOURCE ${QRCODEGEN_C_DIR}/qrcodegen.c)
set(QRCODEGEN_INCLUDE_DIR ${QRCODEGEN_C_DIR})
# Someone else's code: its warnings are not ours to mend. Its literals are
# ASCII, the same bytes in GBK.
set_source_files_properties(${QRCODEGEN_SOURCE} PROPERTIES COMPILE_OPTIONS -w)
