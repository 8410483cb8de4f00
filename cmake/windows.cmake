# corvane.exe for 32-bit Windows, its help file, and the programs its tests run under Wine.
enable_language(RC)

set(WINDOWS_DEFINES WIN32_LEAN_AND_MEAN _WIN32_WINNT=0x0600 _WIN32_IE=0x0700 WINVER=0x0600)
# Everything the runtime needs is linked in, so the program needs no DLL beyond the system's.
set(STATIC_RUNTIME -static -static-libgcc -static-libstdc++)

add_executable(corvane WIN32
  ${CORE_SOURCES}
  app/command_lines.cpp
  app/convert_command.cpp
  app/main.cpp
  app/process_entry.cpp
  base/error_box.cpp
  base/instance.cpp
  base/library_search.cpp
  base/registry_win32.cpp
  base/strings.cpp
  base/text_win32.cpp
  base/window_icons.cpp
  exec/child_process.cpp
  exec/command_run.cpp
  exec/confirm.cpp
  exec/conversion.cpp
  exec/conversion_report.cpp
  exec/launch.cpp
  exec/output_reader.cpp
  exec/pdf_making.cpp
  exec/pdf_placing_win32.cpp
  exec/result_opening.cpp
  exec/run_checks.cpp
  exec/run_messages.cpp
  exec/pdfa_files.cpp
  help/help.cpp
  options/registry_store.cpp
  # Out of order on purpose: the link order steers how the optimiser lays out the program, and
  # in its alphabetical place this file makes corvane.exe 512 bytes larger.
  command/lookup_win32.cpp
  paths/path_system_win32.cpp
  paths/start_folder_win32.cpp
  sheet/accessibility.cpp
  sheet/browse.cpp
  sheet/drop.cpp
  sheet/dvips_page.cpp
  sheet/files_page.cpp
  sheet/page_commands.cpp
  sheet/page_fields.cpp
  sheet/pdf_page.cpp
  sheet/range_page.cpp
  sheet/sheet.cpp
  sheet/sheet_window.cpp
  sheet/style_page.cpp
  resources/corvane.rc)
target_include_directories(corvane PRIVATE ${CMAKE_SOURCE_DIR})
target_compile_definitions(corvane PRIVATE ${WINDOWS_DEFINES})
# The program has no exceptions, so it needs no unwind tables; optimising across files at the link
# keeps it, icons included, within the size that cmake/check_exe.py allows.
target_compile_options(corvane PRIVATE ${WARNINGS} -Os -fno-exceptions -fno-rtti
  -fno-asynchronous-unwind-tables -fno-unwind-tables -flto -ffunction-sections -fdata-sections)
# No build time in the header: two builds of the same sources give the same file. The process
# starts in app/process_entry.cpp, without the C runtime's start-up code.
target_link_options(corvane PRIVATE ${STATIC_RUNTIME} -Os -flto -s -Wl,--gc-sections
  -Wl,--no-insert-timestamp -nostartfiles -Wl,-e,_corvaneStart)
find_package(Python3 REQUIRED COMPONENTS Interpreter)
add_custom_command(TARGET corvane POST_BUILD
  COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/cmake/check_exe.py $<TARGET_FILE:corvane>
          ${CMAKE_SOURCE_DIR}/resources/corvane.manifest
  VERBATIM)
# The window libraries are linked to load on their first call: a command that shows no window
# and no box loads neither user32 nor comctl32 (base/library_search.cpp binds them). COMCTL32's
# InitCommonControls is imported by ordinal, which every version keeps.
find_program(DLLTOOL i686-w64-mingw32-dlltool REQUIRED)
find_program(NM i686-w64-mingw32-nm REQUIRED)
set(ORDINAL_IMPORTS ${CMAKE_BINARY_DIR}/libcomctl32-ordinals.a)
add_custom_command(OUTPUT ${ORDINAL_IMPORTS}
  COMMAND ${DLLTOOL} --deterministic-libraries -d
          ${CMAKE_SOURCE_DIR}/resources/comctl32-ordinals.def -y ${ORDINAL_IMPORTS}
  DEPENDS ${CMAKE_SOURCE_DIR}/resources/comctl32-ordinals.def)
set(LATE_IMPORTS ${ORDINAL_IMPORTS})
foreach(library user32 comctl32)
  find_library(${library}_IMPORTS ${library} REQUIRED)
  set(late ${CMAKE_BINARY_DIR}/lib${library}-late.a)
  add_custom_command(OUTPUT ${late}
    COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/cmake/delay_imports.py ${NM} ${DLLTOOL}
            ${${library}_IMPORTS} ${library}.dll ${late}
    DEPENDS ${CMAKE_SOURCE_DIR}/cmake/delay_imports.py ${${library}_IMPORTS})
  list(APPEND LATE_IMPORTS ${late})
endforeach()
add_custom_target(late_imports DEPENDS ${LATE_IMPORTS})
add_dependencies(corvane late_imports)
target_link_libraries(corvane PRIVATE ${LATE_IMPORTS} advapi32 kernel32)
file(GLOB ICON_RESOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/resources/icon/*.bin)
set_source_files_properties(resources/corvane.rc PROPERTIES
  OBJECT_DEPENDS "${CMAKE_SOURCE_DIR}/resources/resource.h;${CMAKE_SOURCE_DIR}/resources/pages.rc;${CMAKE_SOURCE_DIR}/resources/confirm.rc;${CMAKE_SOURCE_DIR}/resources/corvane.manifest;${ICON_RESOURCES}")
set(CMAKE_RC_FLAGS "${CMAKE_RC_FLAGS} -I${CMAKE_SOURCE_DIR}")

include(cmake/help.cmake OPTIONAL)
include(tests/wine/wine_tests.cmake OPTIONAL)
include(bench/bench.cmake)
if(EXISTS ${CMAKE_SOURCE_DIR}/cmake/help.cmake)
  include(packaging/release.cmake)
  include(packaging/installer.cmake)
  include(packaging/manifests.cmake)
endif()

# corvane.com, the console twin that cmd and make wait for: no C runtime, kernel32 alone.
add_executable(corvane_com app/console_twin.cpp)
set_target_properties(corvane_com PROPERTIES OUTPUT_NAME corvane SUFFIX ".com")
target_compile_definitions(corvane_com PRIVATE ${WINDOWS_DEFINES} UNICODE _UNICODE)
target_compile_options(corvane_com PRIVATE ${WARNINGS} -Os -fno-exceptions -fno-rtti
  -fno-asynchronous-unwind-tables -fno-unwind-tables -fno-stack-protector)
target_link_options(corvane_com PRIVATE -nostdlib -nostartfiles -Wl,-e,_twinMain -s
  -Wl,--gc-sections -Wl,--no-insert-timestamp)
target_link_libraries(corvane_com PRIVATE kernel32)
add_custom_command(TARGET corvane_com POST_BUILD
  COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/cmake/check_exe.py --console-twin
          $<TARGET_FILE:corvane_com>
  VERBATIM)
add_dependencies(corvane corvane_com)
