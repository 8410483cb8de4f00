# The start-up benchmark: a bare four-page sheet as the yardstick, the same code with Corvane's
# page templates, and the program that times them.
foreach(yardstick bare_sheet templates_sheet)
  add_executable(${yardstick} WIN32 bench/bare_sheet.cpp bench/${yardstick}.rc)
  target_compile_definitions(${yardstick} PRIVATE ${WINDOWS_DEFINES})
  target_compile_options(${yardstick} PRIVATE ${WARNINGS} -Os -fno-exceptions -fno-rtti)
  target_link_options(${yardstick} PRIVATE ${STATIC_RUNTIME} -s)
  target_link_libraries(${yardstick} PRIVATE comctl32)
  set_source_files_properties(bench/${yardstick}.rc PROPERTIES
    OBJECT_DEPENDS "${CMAKE_SOURCE_DIR}/sheet/pages.rc;${CMAKE_SOURCE_DIR}/resources/corvane.manifest")
endforeach()

add_executable(measure_start bench/measure_start.cpp)
target_compile_definitions(measure_start PRIVATE ${WINDOWS_DEFINES})
target_compile_options(measure_start PRIVATE ${WARNINGS})
target_link_options(measure_start PRIVATE ${STATIC_RUNTIME})
