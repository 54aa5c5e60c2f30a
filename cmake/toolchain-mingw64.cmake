# Cross-compiles for 64-bit Windows with Debian's mingw-w64 (the
# posix-threads variant, which std::thread and std::mutex need), and runs
# what it built (the tests) under Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(ROSTRADB_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${ROSTRADB_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${ROSTRADB_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${ROSTRADB_MINGW_TRIPLE}-windres)

# Libraries and headers come from the target's root only; programs (cmake,
# ninja) from the build machine.
set(CMAKE_FIND_ROOT_PATH /usr/${ROSTRADB_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The C and C++ runtimes and winpthread are linked into every .exe, so the
# command-line programs stand on their own; rostradb.exe needs only Qt's DLLs
# beside it (and the runtime DLLs that those, built by scripts/qt-windows,
# load).
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# ctest runs the .exe files through Wine, in a Wine prefix of the build's
# own (created on first use; scripts/test-windows creates it before the tests
# run in parallel), quietly, and without offering to download Mono or Gecko,
# which no console program here needs. Wine decodes the command line by the
# locale, so a UTF-8 one keeps non-ASCII arguments intact even where CI
# leaves the locale at C.
find_program(ROSTRADB_WINE NAMES wine wine64 REQUIRED)
set(CMAKE_CROSSCOMPILING_EMULATOR
  env LC_ALL=C.UTF-8 WINEPREFIX=${CMAKE_BINARY_DIR}/wine-prefix WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml=
  ${ROSTRADB_WINE})
