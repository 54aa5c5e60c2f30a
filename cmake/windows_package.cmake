# The download for Windows users: `cpack -G ZIP` in the cross build makes
# rostradb-cli-VERSION-win64.zip holding the two programs and how to use them.
install(TARGETS rostradb-cli rostradb-sample RUNTIME DESTINATION .)
# With Windows line ends, for Notepad of any age.
configure_file(${PROJECT_SOURCE_DIR}/packaging/windows/README.txt ${CMAKE_BINARY_DIR}/package/README.txt
  @ONLY NEWLINE_STYLE WIN32)
install(FILES ${CMAKE_BINARY_DIR}/package/README.txt DESTINATION .)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME rostradb-cli)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_FILE_NAME rostradb-cli-${PROJECT_VERSION}-win64)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
set(CPACK_STRIP_FILES ON) # the symbols are half of each .exe
include(CPack)
