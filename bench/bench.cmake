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

# Corvane's processor time while it waits for a converter, with the tests' driver and stand-in.
if(TARGET wine_driver)
  add_executable(measure_wait bench/measure_wait.cpp $<TARGET_OBJECTS:wine_driver>)
  target_include_directories(measure_wait PRIVATE ${CMAKE_SOURCE_DIR})
  target_compile_definitions(measure_wait PRIVATE ${WINDOWS_DEFINES})
  target_compile_options(measure_wait PRIVATE ${WARNINGS} -Wno-conversion -Wno-sign-conversion)
  target_link_options(measure_wait PRIVATE ${STATIC_RUNTIME})
  target_link_libraries(measure_wait PRIVATE comctl32 advapi32 user32 gdi32 ntdll)
  add_dependencies(measure_wait corvane fake_dvips)
endif()
