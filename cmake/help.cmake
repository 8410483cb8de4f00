# corvane.chm, the compiled HTML help beside corvane.exe, built from help/chm with chmcmd
# (Debian package fp-utils). make_chm.py compiles a copy of the project in the build folder,
# so nothing is generated in the source tree, and repairs the context map that chmcmd writes.
find_program(CHMCMD_EXECUTABLE chmcmd)
find_program(CHMLS_EXECUTABLE chmls)
find_package(Python3 COMPONENTS Interpreter)
if(NOT CHMCMD_EXECUTABLE OR NOT CHMLS_EXECUTABLE OR NOT Python3_Interpreter_FOUND)
  message(FATAL_ERROR "corvane.chm needs chmcmd and chmls (package fp-utils, installed by "
                      "scripts/setup) and python3")
endif()

set(HELP_PROJECT_DIR ${CMAKE_SOURCE_DIR}/help/chm)
set(HELP_FILE ${CMAKE_BINARY_DIR}/corvane.chm)
file(GLOB HELP_PROJECT_FILES CONFIGURE_DEPENDS ${HELP_PROJECT_DIR}/*)

add_custom_command(
  OUTPUT ${HELP_FILE}
  COMMAND ${Python3_EXECUTABLE} ${HELP_PROJECT_DIR}/make_chm.py
          --source ${HELP_PROJECT_DIR}
          --stage ${CMAKE_BINARY_DIR}/help/chm
          --output ${HELP_FILE}
          --chmcmd ${CHMCMD_EXECUTABLE}
          --chmls ${CHMLS_EXECUTABLE}
  DEPENDS ${HELP_PROJECT_FILES}
  COMMENT "Compiling corvane.chm"
  VERBATIM)
add_custom_target(corvane_help ALL DEPENDS ${HELP_FILE})
