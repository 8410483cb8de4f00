# The portable core built for this machine: unit tests under the sanitizers, and fuzz targets.
enable_testing()

set(SANITIZE -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)

add_library(corvane_core STATIC ${CORE_SOURCES})
target_include_directories(corvane_core PUBLIC ${CMAKE_SOURCE_DIR})
target_compile_options(corvane_core PRIVATE ${WARNINGS} ${SANITIZE})
target_link_options(corvane_core PUBLIC ${SANITIZE})

if(NOT CORVANE_FUZZ)
find_package(GTest REQUIRED)
add_executable(core_tests
  tests/native/fakes.cpp
  tests/native/options_test.cpp
  tests/native/store_test.cpp
  tests/native/start_up_test.cpp
  tests/native/command_switches_test.cpp
  tests/native/path_rules_test.cpp
  tests/native/command_line_test.cpp
  tests/native/lookup_test.cpp
  tests/native/run_report_test.cpp
  tests/native/page_labels_test.cpp
  tests/native/layout_test.cpp
  tests/native/pdfa_test.cpp
  tests/native/path_entries_test.cpp
  packaging/path_entries.cpp)
target_compile_options(core_tests PRIVATE ${WARNINGS} ${SANITIZE})
target_compile_definitions(core_tests PRIVATE
  CORVANE_RESOURCE_SCRIPT="${CMAKE_SOURCE_DIR}/resources/corvane.rc"
  CORVANE_PAGE_TEMPLATES="${CMAKE_SOURCE_DIR}/resources/pages.rc"
  CORVANE_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
target_link_libraries(core_tests PRIVATE corvane_core GTest::gtest_main)
include(GoogleTest)
gtest_discover_tests(core_tests)

# Writes the switches of every setting, for the test that runs the real dvips with each.
add_executable(each_switch tests/dvips/each_switch.cpp tests/native/fakes.cpp)
target_compile_options(each_switch PRIVATE ${WARNINGS} ${SANITIZE})
target_compile_definitions(each_switch PRIVATE
  CORVANE_RESOURCE_SCRIPT="${CMAKE_SOURCE_DIR}/resources/corvane.rc")
target_link_libraries(each_switch PRIVATE corvane_core)

# Judges the PostScript files that the real TeX and dvips make in the same test.
add_executable(whole_postscript tests/dvips/whole_postscript.cpp)
target_compile_options(whole_postscript PRIVATE ${WARNINGS} ${SANITIZE})
target_link_libraries(whole_postscript PRIVATE corvane_core)
endif()

# Fuzz targets need clang's libFuzzer; they are built by a separate clang configuration.
if(CMAKE_CXX_COMPILER_ID STREQUAL "Clang" AND CORVANE_FUZZ)
  set(FUZZ -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all)
  foreach(target load_options argument run_output postscript pdfa_title plan pdfmarks path_entries)
    add_executable(fuzz_${target} tests/fuzz/fuzz_${target}.cpp tests/native/fakes.cpp
                   ${CORE_SOURCES} packaging/path_entries.cpp)
    target_include_directories(fuzz_${target} PRIVATE ${CMAKE_SOURCE_DIR})
    target_compile_definitions(fuzz_${target} PRIVATE
      CORVANE_RESOURCE_SCRIPT="${CMAKE_SOURCE_DIR}/resources/corvane.rc")
    target_compile_options(fuzz_${target} PRIVATE ${FUZZ})
    target_link_options(fuzz_${target} PRIVATE ${FUZZ})
  endforeach()
endif()
