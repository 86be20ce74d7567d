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
target_link_libraries(corvane PRIVATE corvane_core uuid gdi32 user32 kernel32)
target_compile_options(corvane PRIVATE ${SIZE_COMPILE_FLAGS})
target_link_options(corvane PRIVATE ${STATIC_FLAGS} -mwindows -Wl,--gc-sections -s -Wl,--file-alignment,4096)

enable_testing()
add_test(NAME corvane_exe_is_static_gui
         COMMAND ${CMAKE_SOURCE_DIR}/tests/e2e/check_static_pe.sh $<TARGET_FILE:corvane> gui)
set_tests_properties(corvane_exe_is_static_gui PROPERTIES LABELS static)

# End-to-end tests under Wine and the start-up benchmark.
add_subdirectory(tests/e2e)

# Engine control: registry reads.
target_link_libraries(corvane PRIVATE advapi32)
# The stand-in engine, brook.exe: a console program the tests and the run
# script put beside corvane.exe in place of a real Brook.
file(GLOB BROOK_STANDIN_SOURCES CONFIGURE_DEPENDS tools/brook_standin/*.cpp)
add_executable(brook ${BROOK_STANDIN_SOURCES})
target_link_libraries(brook PRIVATE ws2_32)
target_link_options(brook PRIVATE ${STATIC_FLAGS})
add_test(NAME brook_standin_is_static
         COMMAND ${CMAKE_SOURCE_DIR}/tests/e2e/check_static_pe.sh $<TARGET_FILE:brook>)
set_tests_properties(brook_standin_is_static PROPERTIES LABELS static)
# Windows Sockets for the PAC server and the ping ("icmp.dll" itself is
# loaded at run time). Its import library holds code of its own besides the
# imports, so it is linked as it is.
target_link_libraries(corvane PRIVATE ws2_32)
# DLLs that only some commands need are loaded at the first call into them,
# not at start, where each costs time and memory: WinHTTP (self-check),
# IP Helper (VPN) and the common dialogs ("浏览"). WinINet, the visual
# styles, the common controls, the shell and COM are loaded at their first
# call too, so that they come only after WinMain has narrowed every load to
# the system folder, and their own DLLs with them.
find_program(MINGW_NM NAMES ${TOOLCHAIN_PREFIX}-nm REQUIRED)
find_program(MINGW_DLLTOOL NAMES ${TOOLCHAIN_PREFIX}-dlltool REQUIRED)
foreach(lib winhttp iphlpapi comdlg32 wininet uxtheme comctl32 shell32 ole32)
  set(delayLib ${CMAKE_BINARY_DIR}/delay-load/lib${lib}_delay.a)
  if(NOT EXISTS ${delayLib})
    file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/delay-load)
    execute_process(COMMAND ${CMAKE_SOURCE_DIR}/cmake/make_delay_lib.sh ${MINGW_NM} ${MINGW_DLLTOOL}
                            /usr/${TOOLCHAIN_PREFIX}/lib/lib${lib}.a ${delayLib}
                    RESULT_VARIABLE made)
    if(NOT made EQUAL 0)
      message(FATAL_ERROR "cannot make the delay-load library of ${lib}")
    endif()
  endif()
  target_link_libraries(corvane PRIVATE ${delayLib})
endforeach()
target_link_libraries(corvane PRIVATE delayimp)

# The load-configuration record (src/platform/win32/load_config_win32.cpp):
# kept by name through the unused-section sweep, then named in the image's
# directory, which MinGW's linker leaves empty.
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  set(LOAD_CONFIG_SYMBOL __load_config_used)
else()
  set(LOAD_CONFIG_SYMBOL _load_config_used)
endif()
target_link_options(corvane PRIVATE -Wl,--undefined=${LOAD_CONFIG_SYMBOL} -Wl,-Map=$<TARGET_FILE:corvane>.map)
add_custom_command(TARGET corvane POST_BUILD
                   COMMAND python3 ${CMAKE_SOURCE_DIR}/cmake/set_load_config.py $<TARGET_FILE:corvane>
                           $<TARGET_FILE:corvane>.map
                   VERBATIM)
