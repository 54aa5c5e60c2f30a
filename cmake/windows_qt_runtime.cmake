# What the Windows programs built with Qt load besides Qt's DLLs: the
# compiler's shared runtime, which Qt's DLLs are linked against (the programs
# themselves carry theirs inside). The zip ships these; the tests find them,
# and Qt's, through WINEPATH.
set(ROSTRADB_MINGW_RUNTIME_DLLS "")
foreach(dll libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
  execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${dll}
                  OUTPUT_VARIABLE found OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(NOT IS_ABSOLUTE "${found}" OR NOT EXISTS "${found}")
    message(FATAL_ERROR "${CMAKE_CXX_COMPILER} knows no ${dll}")
  endif()
  file(REAL_PATH "${found}" found)
  list(APPEND ROSTRADB_MINGW_RUNTIME_DLLS "${found}")
endforeach()

if(CMAKE_CROSSCOMPILING)
  # Wine hands a program the variables named QT_* only when given as WINEQT_*
  # (a Linux desktop's own would mislead a Windows Qt), and looks for DLLs in
  # WINEPATH, in Windows paths (Wine's drive Z: is /). QtTest writes to the
  # debugger's channel unless told to use standard error.
  get_target_property(qt_core Qt6::Core IMPORTED_LOCATION_RELEASE)
  if(NOT qt_core)
    get_target_property(qt_core Qt6::Core IMPORTED_LOCATION)
  endif()
  get_filename_component(qt_bin "${qt_core}" DIRECTORY)
  set(dll_folders "Z:${qt_bin}")
  foreach(dll ${ROSTRADB_MINGW_RUNTIME_DLLS})
    get_filename_component(folder "${dll}" DIRECTORY)
    list(APPEND dll_folders "Z:${folder}")
  endforeach()
  list(REMOVE_DUPLICATES dll_folders)
  list(JOIN dll_folders "\\;" wine_path)
  set(ROSTRADB_WINE_QT_ENVIRONMENT "WINEPATH=${wine_path}" WINEQT_FORCE_STDERR_LOGGING=1)
endif()
