# Windows build: corvane.exe, 32-bit, statically linked.
enable_language(RC)
set(STATIC_FLAGS -static -static-libgcc -static-libstdc++)

# The shipped program is optimised for size: every function and object in a
# section of its own, so the linker drops what nothing calls, and no symbols.
set(SIZE_COMPILE_FLAGS -Os -ffunction-sections -fdata-sections)
target_compile_options(corvane_core PRIVATE ${SIZE_COMPILE_FLAGS})
target_compile_options(pcre2_16 PRIVATE ${SIZE_COMPILE_FLAGS})

file(GLOB WIN32_SOURCES CONFIGURE_DEPENDS src/platform/win32/*.cpp src/app/win32/*.cpp)
add_executable(corvane WIN32 ${WIN32_SOURCES} res/corvane.rc)
target_link_libraries(corvane PRIVATE corvane_core wininet ws2_32 comctl32 uxtheme shell32 ole32 uuid gdi32 comdlg32 user32 kernel32)
target_compile_options(corvane PRIVATE ${SIZE_COMPILE_FLAGS})
target_link_options(corvane PRIVATE ${STATIC_FLAGS} -mwindows -Wl,--gc-sections -s)

enable_testing()
add_test(NAME corvane_exe_is_static_gui
         COMMAND ${CMAKE_SOURCE_DIR}/tests/e2e/check_static_pe.sh $<TARGET_FILE:corvane> gui)
set_tests_properties(corvane_exe_is_static_gui PROPERTIES LABELS static)

# End-to-end tests under Wine and the start-up benchmark.
add_subdirectory(tests/e2e)

# Engine control: network adapters (IP Helper) and registry reads.
target_link_libraries(corvane PRIVATE iphlpapi advapi32)
# The stand-in engine, brook.exe: a console program the tests and the run
# script put beside corvane.exe in place of a real Brook.
file(GLOB BROOK_STANDIN_SOURCES CONFIGURE_DEPENDS tools/brook_standin/*.cpp)
add_executable(brook ${BROOK_STANDIN_SOURCES})
target_link_libraries(brook PRIVATE ws2_32)
target_link_options(brook PRIVATE ${STATIC_FLAGS})
add_test(NAME brook_standin_is_static
         COMMAND ${CMAKE_SOURCE_DIR}/tests/e2e/check_static_pe.sh $<TARGET_FILE:brook>)
set_tests_properties(brook_standin_is_static PROPERTIES LABELS static)
# Share links and diagnostics: WinHTTP, and Windows Sockets for the ping
# ("icmp.dll" itself is loaded at run time).
target_link_libraries(corvane PRIVATE winhttp ws2_32)
