# PCRE2 10.42, 16-bit code units, without Unicode tables or JIT: the engine
# behind RegexMatcher. Its sources come from Debian's source archive through
# scripts/fetch-pcre2, checked by SHA-256; every build compiles them.
enable_language(C)
get_filename_component(PCRE2_ROOT ${CMAKE_CURRENT_LIST_DIR}/.. ABSOLUTE)
set(PCRE2_SOURCE_DIR ${PCRE2_ROOT}/build/third_party/pcre2-10.42 CACHE PATH "PCRE2 10.42 sources")
if(NOT EXISTS ${PCRE2_SOURCE_DIR}/src/pcre2_compile.c)
  execute_process(COMMAND ${PCRE2_ROOT}/scripts/fetch-pcre2 RESULT_VARIABLE fetched)
  if(NOT fetched EQUAL 0)
    message(FATAL_ERROR "The PCRE2 sources are missing; scripts/fetch-pcre2 could not fetch them.")
  endif()
endif()

set(PCRE2_GENERATED ${CMAKE_CURRENT_BINARY_DIR}/pcre2)
configure_file(${PCRE2_SOURCE_DIR}/src/pcre2.h.generic ${PCRE2_GENERATED}/pcre2.h COPYONLY)
configure_file(${PCRE2_SOURCE_DIR}/src/config.h.generic ${PCRE2_GENERATED}/config.h COPYONLY)
configure_file(${PCRE2_SOURCE_DIR}/src/pcre2_chartables.c.dist ${PCRE2_GENERATED}/pcre2_chartables.c COPYONLY)

set(PCRE2_SOURCES ${PCRE2_GENERATED}/pcre2_chartables.c)
foreach(part auto_possess compile config context error extuni find_bracket match match_data newline ord2utf
             pattern_info script_run string_utils study tables ucd valid_utf xclass)
  list(APPEND PCRE2_SOURCES ${PCRE2_SOURCE_DIR}/src/pcre2_${part}.c)
endforeach()
add_library(pcre2_16 STATIC ${PCRE2_SOURCES})
target_compile_definitions(pcre2_16 PUBLIC PCRE2_CODE_UNIT_WIDTH=16 PCRE2_STATIC
                                    PRIVATE HAVE_CONFIG_H SUPPORT_PCRE2_16)
target_include_directories(pcre2_16 PUBLIC ${PCRE2_GENERATED} PRIVATE ${PCRE2_SOURCE_DIR}/src)
# Someone else's code: its warnings are not ours to fix.
target_compile_options(pcre2_16 PRIVATE -w)
