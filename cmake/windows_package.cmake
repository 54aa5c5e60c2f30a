# The download for Windows players: `cpack -G ZIP` in a Windows build makes
# rostradb-VERSION-win64.zip, laid out as Qt's deployment tool lays out a
# program: the three programs beside the Qt DLLs they load and the
# compiler's runtime DLLs, the window system and style plugins in
# platforms/ and styles/, the about text beside rostradb.exe, and how to use
# them. Unzipped anywhere, rostradb.exe starts with nothing else installed.
# Without Qt (the windows-cross preset) only the two command-line programs go
# in, as rostradb-cli-VERSION-win64.zip.
# (Linux's install and Debian package are packaging/CMakeLists.txt's.)

install(TARGETS rostradb-cli rostradb-sample RUNTIME DESTINATION .)
# With Windows line ends, for Notepad of any age.
configure_file(${PROJECT_SOURCE_DIR}/packaging/windows/README.txt ${CMAKE_BINARY_DIR}/package/README.txt
  @ONLY NEWLINE_STYLE WIN32)
install(FILES ${CMAKE_BINARY_DIR}/package/README.txt DESTINATION .)
if(EXISTS ${PROJECT_SOURCE_DIR}/LICENSE)
  # configure_file converts line ends only when it substitutes; the licence
  # has no @ at all, so @ONLY leaves its words as they are.
  configure_file(${PROJECT_SOURCE_DIR}/LICENSE ${CMAKE_BINARY_DIR}/package/LICENSE.txt @ONLY NEWLINE_STYLE WIN32)
  install(FILES ${CMAKE_BINARY_DIR}/package/LICENSE.txt DESTINATION .)
else()
  message(WARNING "${PROJECT_SOURCE_DIR}/LICENSE is missing: the zip goes without it")
endif()

if(ROSTRADB_WITH_QT)
  install(TARGETS rostradb RUNTIME DESTINATION .)
  install(FILES ${PROJECT_SOURCE_DIR}/rostradb.txt DESTINATION .)
  install(IMPORTED_RUNTIME_ARTIFACTS Qt6::Core Qt6::Gui Qt6::Widgets DESTINATION .)
  install(IMPORTED_RUNTIME_ARTIFACTS Qt6::QWindowsIntegrationPlugin DESTINATION platforms)
  install(IMPORTED_RUNTIME_ARTIFACTS Qt6::QWindowsVistaStylePlugin DESTINATION styles)
  # Qt's DLLs are linked against the compiler's shared runtime (the programs
  # carry theirs inside).
  install(FILES ${ROSTRADB_MINGW_RUNTIME_DLLS} DESTINATION .)
  # Qt's DLLs come with their symbols, two thirds of their size; install
  # strips only what this project builds.
  install(CODE "
    file(GLOB_RECURSE dlls \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/*.dll\")
    foreach(dll \${dlls})
      execute_process(COMMAND \"${CMAKE_STRIP}\" --strip-unneeded \"\${dll}\" COMMAND_ERROR_IS_FATAL ANY)
    endforeach()")
  set(CPACK_PACKAGE_NAME rostradb)
else()
  set(CPACK_PACKAGE_NAME rostradb-cli)
endif()

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_FILE_NAME ${CPACK_PACKAGE_NAME}-${PROJECT_VERSION}-win64)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
set(CPACK_STRIP_FILES ON) # the symbols are half of each .exe
include(CPack)
