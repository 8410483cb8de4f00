# Programs for the tests that run under Wine: the tests themselves (GoogleTest, built from
# Debian's sources for this toolchain), a fake converter and a recording help library.
option(CORVANE_WINE_TESTS "Build the tests that run under Wine" ON)
if(NOT CORVANE_WINE_TESTS)
  return()
endif()

set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

# A console program that records how it was started, then prints a few lines.
add_executable(fake_dvips tests/wine/fake_dvips.cpp)
target_compile_definitions(fake_dvips PRIVATE ${WINDOWS_DEFINES})
target_compile_options(fake_dvips PRIVATE ${WARNINGS})
target_link_options(fake_dvips PRIVATE ${STATIC_RUNTIME})

file(GLOB WINE_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/wine/*_test.cpp)
# The driver that operates corvane.exe from outside, shared with scripts/run's driver, with the
# program's text rules, so that the records it makes are cut as the program cuts them.
add_library(wine_driver OBJECT tests/wine/driver.cpp base/text.cpp
  base/text_win32.cpp paths/path_rules.cpp paths/path_system_win32.cpp)
target_include_directories(wine_driver PRIVATE ${CMAKE_SOURCE_DIR})
target_compile_definitions(wine_driver PRIVATE ${WINDOWS_DEFINES})
target_compile_options(wine_driver PRIVATE ${WARNINGS} -Wno-conversion -Wno-sign-conversion)

# The real settings loader and registry store are linked in, with the program's string table,
# so that the stored-record rules can be exercised against the real registry at speed.
add_executable(wine_tests $<TARGET_OBJECTS:wine_driver> tests/wine/real_dvips.cpp
  ${WINE_TEST_SOURCES} command/command_words.cpp options/options.cpp options/pdf_options.cpp options/registry_store.cpp
  base/registry_win32.cpp base/strings.cpp
  resources/corvane.rc)
target_include_directories(wine_tests PRIVATE ${CMAKE_SOURCE_DIR})
target_compile_definitions(wine_tests PRIVATE ${WINDOWS_DEFINES})
target_compile_options(wine_tests PRIVATE ${WARNINGS} -Wno-conversion -Wno-sign-conversion)
target_link_options(wine_tests PRIVATE ${STATIC_RUNTIME})
# oleacc and oleaut32: the accessibility tests ask the system's runtime what it says of a control;
# shell32: the command-line tests ask CommandLineToArgvW how it splits a line.
target_link_libraries(wine_tests PRIVATE gtest gtest_main comctl32 advapi32 user32 gdi32 version
  oleacc oleaut32 psapi shell32)
add_dependencies(wine_tests corvane fake_dvips)

include(${CMAKE_SOURCE_DIR}/tests/wine/more_programs.cmake OPTIONAL)
