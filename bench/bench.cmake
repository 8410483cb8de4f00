# The start-up benchmark: a bare four-page sheet as the yardstick, the same code with Corvane's
# page templates, and the program that times them.
foreach(yardstick bare_sheet templates_sheet)
  add_executable(${yardstick} WIN32 bench/bare_sheet.cpp bench/${yardstick}.rc)
  target_compile_definitions(${yardstick} PRIVATE ${WINDOWS_DEFINES})
  target_compile_options(${yardstick} PRIVATE ${WARNINGS} -Os -fno-exceptions -fno-rtti)
  target_link_options(${yardstick} PRIVATE ${STATIC_RUNTIME} -s)
  target_link_libraries(${yardstick} PRIVATE comctl32)
  set_source_files_properties(bench/${yardstick}.rc PROPERTIES
    OBJECT_DEPENDS "${CMAKE_SOURCE_DIR}/resources/pages.rc;${CMAKE_SOURCE_DIR}/resources/corvane.manifest")
endforeach()

add_executable(measure_start bench/measure_start.cpp)
target_compile_definitions(measure_start PRIVATE ${WINDOWS_DEFINES})
target_compile_options(measure_start PRIVATE ${WARNINGS})
target_link_options(measure_start PRIVATE ${STATIC_RUNTIME})

# Corvane's processor time while it waits for a converter, and its time from OK to the PDF
# against a batch file, with the tests' driver, stand-in and forwarder.
if(TARGET wine_driver)
  add_executable(measure_wait bench/measure_wait.cpp $<TARGET_OBJECTS:wine_driver>)
  add_executable(measure_pdf bench/measure_pdf.cpp tests/wine/real_dvips.cpp
    $<TARGET_OBJECTS:wine_driver>)
  foreach(measure measure_wait measure_pdf)
    target_include_directories(${measure} PRIVATE ${CMAKE_SOURCE_DIR})
    target_compile_definitions(${measure} PRIVATE ${WINDOWS_DEFINES})
    target_compile_options(${measure} PRIVATE ${WARNINGS} -Wno-conversion -Wno-sign-conversion)
    target_link_options(${measure} PRIVATE ${STATIC_RUNTIME})
    target_link_libraries(${measure} PRIVATE comctl32 advapi32 user32 gdi32 ntdll)
    add_dependencies(${measure} corvane fake_dvips unix_forwarder)
  endforeach()
endif()
