# The manifests of winget (for the installer) and Scoop (for the zip), beside them in the build
# folder, each with the SHA-256 of the file built with it. The folder where the files will be
# published and the home page are the manifests' only settings.
set(CORVANE_DOWNLOAD_URL "https://example.org/corvane/1.0" CACHE STRING
  "The folder where corvane-1.0-setup.exe and corvane-1.0-win32.zip are published")
set(CORVANE_HOMEPAGE "https://example.org/corvane" CACHE STRING "Corvane's home page")
set(MANIFESTS_DIR ${CMAKE_BINARY_DIR}/manifests)
set(MANIFESTS
  ${MANIFESTS_DIR}/winget/Tolmarek.Corvane.yaml
  ${MANIFESTS_DIR}/winget/Tolmarek.Corvane.installer.yaml
  ${MANIFESTS_DIR}/winget/Tolmarek.Corvane.locale.en-US.yaml
  ${MANIFESTS_DIR}/scoop/corvane.json)
add_custom_command(
  OUTPUT ${MANIFESTS}
  COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/packaging/make_manifests.py ${MANIFESTS_DIR}
          ${SETUP_EXE} ${RELEASE_ZIP} 1.0 ${CORVANE_DOWNLOAD_URL} ${CORVANE_HOMEPAGE}
  DEPENDS ${SETUP_EXE} ${RELEASE_ZIP} ${CMAKE_SOURCE_DIR}/packaging/make_manifests.py
  COMMENT "Writing the winget and Scoop manifests")
add_custom_target(manifests ALL DEPENDS ${MANIFESTS})
add_dependencies(manifests installer release)
