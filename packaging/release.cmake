# corvane-1.0-win32.zip: the program and its console twin, its help file, a read-me for Windows
# users and the licence.
set(RELEASE_ZIP ${CMAKE_BINARY_DIR}/corvane-1.0-win32.zip)
set(RELEASE_DIR ${CMAKE_BINARY_DIR}/release/corvane-1.0)
add_custom_command(
  OUTPUT ${RELEASE_ZIP}
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${CMAKE_BINARY_DIR}/release
  COMMAND ${CMAKE_COMMAND} -E make_directory ${RELEASE_DIR}
  COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:corvane> $<TARGET_FILE:corvane_com>
          ${CMAKE_BINARY_DIR}/corvane.chm
          ${RELEASE_DIR}
  COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_SOURCE_DIR}/packaging/README-windows.txt
          ${RELEASE_DIR}/README.txt
  COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_SOURCE_DIR}/LICENSE ${RELEASE_DIR}/LICENSE.txt
  # Entries in a fixed order with fixed dates: two builds of the same sources give the same zip.
  COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/packaging/make_zip.py ${RELEASE_ZIP}
          ${CMAKE_BINARY_DIR}/release corvane-1.0/corvane.exe corvane-1.0/corvane.com
          corvane-1.0/corvane.chm
          corvane-1.0/README.txt corvane-1.0/LICENSE.txt
  DEPENDS corvane corvane_com ${CMAKE_BINARY_DIR}/corvane.chm ${CMAKE_SOURCE_DIR}/packaging/README-windows.txt
          ${CMAKE_SOURCE_DIR}/LICENSE
          ${CMAKE_SOURCE_DIR}/packaging/make_zip.py
  COMMENT "Packing corvane-1.0-win32.zip")
add_custom_target(release ALL DEPENDS ${RELEASE_ZIP})
