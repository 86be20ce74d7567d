# Native build: the core's unit tests and the benchmarks.
enable_testing()
find_package(GTest REQUIRED)
find_package(Threads REQUIRED)

# The fakes of the Windows services, shared by the tests and the benchmarks.
file(GLOB FAKE_SOURCES CONFIGURE_DEPENDS tests/fakes/*.cpp)
add_library(corvane_fakes STATIC ${FAKE_SOURCES})
target_include_directories(corvane_fakes PUBLIC tests)
target_link_libraries(corvane_fakes PUBLIC corvane_core Threads::Threads)

file(GLOB UNIT_TEST_SOURCES CONFIGURE_DEPENDS tests/unit/*.cpp)
add_executable(corvane_unit_tests ${UNIT_TEST_SOURCES})
target_link_libraries(corvane_unit_tests PRIVATE corvane_fakes GTest::gtest GTest::gtest_main)
include(GoogleTest)
gtest_discover_tests(corvane_unit_tests DISCOVERY_MODE PRE_TEST)

# Benchmarks print figures; they are programs, not tests.
file(GLOB BENCH_SOURCES CONFIGURE_DEPENDS bench/*.cpp)
foreach(src ${BENCH_SOURCES})
  get_filename_component(name ${src} NAME_WE)
  add_executable(${name} ${src})
  target_link_libraries(${name} PRIVATE corvane_fakes)
  # They print ASCII only; <chrono> holds a literal ("\u00b5s") that GBK
  # cannot encode, so these are compiled with UTF-8 literals.
  target_compile_options(${name} PRIVATE -fexec-charset=UTF-8)
endforeach()
