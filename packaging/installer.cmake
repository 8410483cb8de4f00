# corvane-1.0-setup.exe: a per-user installer made by NSIS from the program, its help file, the
# read-me for Windows users and the licence.
find_program(MAKENSIS makensis REQUIRED)

# The installer's own program for the user's Path, which is longer than NSIS's strings hold.
add_executable(user_path WIN32 packaging/user_path.cpp packaging/path_entries.cpp)
target_include_directories(user_path PRIVATE ${CMAKE_SOURCE_DIR})
target_compile_definitions(user_path PRIVATE ${WINDOWS_DEFINES} UNICODE _UNICODE)
target_compile_options(user_path PRIVATE ${WARNINGS} -Os)
target_link_options(user_path PRIVATE ${STATIC_RUNTIME} -s -Wl,--no-insert-timestamp)
target_link_libraries(user_path PRIVATE shell32 user32 advapi32 kernel32)

set(SETUP_EXE ${CMAKE_BINARY_DIR}/corvane-1.0-setup.exe)
set(SETUP_SCRIPT ${CMAKE_SOURCE_DIR}/packaging/corvane.nsi)
add_custom_command(
  OUTPUT ${SETUP_EXE}
  COMMAND ${MAKENSIS} -V2 -WX -NOCD -INPUTCHARSET UTF8
          -DSOURCE_DIR=${CMAKE_SOURCE_DIR} -DBUILD_DIR=${CMAKE_BINARY_DIR} -DOUTPUT=${SETUP_EXE}
          ${SETUP_SCRIPT}
  DEPENDS corvane corvane_com user_path ${CMAKE_BINARY_DIR}/corvane.chm ${SETUP_SCRIPT}
          ${CMAKE_SOURCE_DIR}/packaging/path_entry.nsh ${CMAKE_SOURCE_DIR}/packaging/corvane_open.nsh
          ${CMAKE_SOURCE_DIR}/packaging/README-windows.txt ${CMAKE_SOURCE_DIR}/LICENSE
          ${CMAKE_SOURCE_DIR}/resources/corvane.ico
  COMMENT "Making corvane-1.0-setup.exe")
add_custom_target(installer ALL DEPENDS ${SETUP_EXE})
# The help file is made by its own target first, so that its rule never runs twice at once.
add_dependencies(installer corvane_help)
if(TARGET wine_tests)
  # The installer's tests read the known folders and the shortcut through the shell.
  add_dependencies(wine_tests installer)
  target_link_libraries(wine_tests PRIVATE shell32 ole32 uuid)
endif()
