# The start-up benchmark: a bare four-page sheet as the yardstick, and the program that times both.
add_executable(bare_sheet WIN32 bench/bare_sheet.cpp bench/bare_sheet.rc)
target_compile_definitions(bare_sheet PRIVATE ${WINDOWS_DEFINES})
target_compile_options(bare_sheet PRIVATE ${WARNINGS} -Os -fno-exceptions -fno-rtti)
target_link_options(bare_sheet PRIVATE ${STATIC_RUNTIME} -s)
target_link_libraries(bare_sheet PRIVATE comctl32)
set_source_files_properties(bench/bare_sheet.rc PROPERTIES
  OBJECT_DEPENDS "${CMAKE_SOURCE_DIR}/resources/corvane.manifest")

add_executable(templates_sheet WIN32 bench/bare_sheet.cpp bench/templates_sheet.rc)
target_compile_definitions(templates_sheet PRIVATE ${WINDOWS_DEFINES})
target_compile_options(templates_sheet PRIVATE ${WARNINGS} -Os -fno-exceptions -fno-rtti)
target_link_options(templates_sheet PRIVATE ${STATIC_RUNTIME} -s)
target_link_libraries(templates_sheet PRIVATE comctl32)
set_source_files_properties(bench/templates_sheet.rc PROPERTIES
  OBJECT_DEPENDS "${CMAKE_SOURCE_DIR}/sheet/pages.rc;${CMAKE_SOURCE_DIR}/resources/corvane.manifest")

add_executable(measure_start bench/measure_start.cpp)
target_compile_definitions(measure_start PRIVATE ${WINDOWS_DEFINES})
target_compile_options(measure_start PRIVATE ${WARNINGS})
target_link_options(measure_start PRIVATE ${STATIC_RUNTIME})
