# Two stand-ins for hhctrl.ocx, each in a folder of its own so that neither lies beside
# corvane.exe unless a test puts it there: one records every HtmlHelpA call, the other lacks
# HtmlHelpA. Also the helpers that the confirmation and help tests share.
function(corvane_help_stand_in target folder)
  add_library(${target} SHARED ${ARGN})
  target_include_directories(${target} PRIVATE ${CMAKE_SOURCE_DIR})
  target_compile_definitions(${target} PRIVATE ${WINDOWS_DEFINES})
  target_compile_options(${target} PRIVATE ${WARNINGS})
  target_link_options(${target} PRIVATE ${STATIC_RUNTIME})
  target_link_libraries(${target} PRIVATE user32 kernel32)
  set_target_properties(${target} PROPERTIES
    PREFIX ""
    OUTPUT_NAME hhctrl
    SUFFIX ".ocx"
    RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/${folder}
    ARCHIVE_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/${folder}/lib)
endfunction()

corvane_help_stand_in(recording_help recording-help
  tests/wine/recording_help.cpp tests/wine/recording_help.def)
corvane_help_stand_in(no_html_help no-html-help
  tests/wine/no_html_help.cpp tests/wine/no_html_help.def)

target_sources(wine_tests PRIVATE tests/wine/confirm_help_driver.cpp)
add_dependencies(wine_tests recording_help no_html_help)

# Libraries that tests place in corvane.exe to act inside it: the drop tests' hook, which makes a
# drop there, the icon tests', which asks a window there for its icons, and the accessibility
# test's stand-in for the annotation service, which records the names that the program gives.
function(corvane_in_process_hook target)
  add_library(${target} SHARED tests/wine/${target}.cpp)
  target_include_directories(${target} PRIVATE ${CMAKE_SOURCE_DIR})
  target_compile_definitions(${target} PRIVATE ${WINDOWS_DEFINES})
  target_compile_options(${target} PRIVATE ${WARNINGS})
  target_link_options(${target} PRIVATE ${STATIC_RUNTIME} -Wl,--kill-at)
  target_link_libraries(${target} PRIVATE user32 gdi32 kernel32)
  set_target_properties(${target} PROPERTIES PREFIX "" RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}
    ARCHIVE_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/${target}-lib)
  add_dependencies(wine_tests ${target})
endfunction()

corvane_in_process_hook(drop_in_process)
corvane_in_process_hook(icons_in_process)
corvane_in_process_hook(recording_annotations)

# A Windows stand-in for a Unix tool (TeX Live's dvips, Ghostscript) that waits for it, so that
# corvane.exe has a process to wait for; copied under the Windows program's name where needed.
add_executable(unix_forwarder tests/wine/unix_forwarder.cpp)
target_compile_definitions(unix_forwarder PRIVATE ${WINDOWS_DEFINES} UNICODE _UNICODE)
target_compile_options(unix_forwarder PRIVATE ${WARNINGS})
target_link_options(unix_forwarder PRIVATE ${STATIC_RUNTIME})
target_link_libraries(unix_forwarder PRIVATE shell32 user32 kernel32)
add_dependencies(wine_tests unix_forwarder)

# scripts/run's stand-in for the user on a display that nobody watches: it goes through the
# sheet, presses OK and waits for the programs that Corvane starts.
add_executable(run_driver tests/wine/run_driver.cpp $<TARGET_OBJECTS:wine_driver>)
target_include_directories(run_driver PRIVATE ${CMAKE_SOURCE_DIR})
target_compile_definitions(run_driver PRIVATE ${WINDOWS_DEFINES})
target_compile_options(run_driver PRIVATE ${WARNINGS})
target_link_options(run_driver PRIVATE ${STATIC_RUNTIME})
target_link_libraries(run_driver PRIVATE comctl32 advapi32 user32 gdi32 ntdll)
add_dependencies(run_driver corvane unix_forwarder)
