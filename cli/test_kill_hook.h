#pragma once
// A hook for one test only: the test that kills a real rostradb-cli in the
// middle of a save. When the environment variable
// ROSTRADB_CLI_TEST_KILL_AT_WRITE holds a number N, the file system the
// command line saves and recovers through kills the process (SIGKILL where
// there is one, else an immediate _Exit: no handler, no cleanup, as a crash
// or `kill -9`) just before the N-th write to any file; otherwise it is the
// real file system, untouched. Users have no reason to set it.

#include "db/file_system.h"

namespace rostradb::cli {

inline constexpr const char* kTestKillVariable = "ROSTRADB_CLI_TEST_KILL_AT_WRITE";
// The exit code of the _Exit, as a shell reports a process killed by SIGKILL.
inline constexpr int kTestKillExitCode = 137;

FileSystem& commandLineFileSystem();

} // namespace rostradb::cli
