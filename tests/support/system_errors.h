#pragma once
// The operating system's own codes for the failures the tests stage, so
// that a fake failure reads as the real one would: errno values on POSIX,
// GetLastError() values on Windows.

#include "support/windows_api.h"

#ifndef _WIN32
#include <cerrno>
#endif

namespace rostradb::test {

#ifdef _WIN32
inline constexpr int kDiskFullError = ERROR_DISK_FULL;
inline constexpr int kDeviceError = ERROR_CRC; // a sector that cannot be read back
inline constexpr int kWriteProtectedError = ERROR_WRITE_PROTECT;
inline constexpr int kAccessDeniedError = ERROR_ACCESS_DENIED;
#else
inline constexpr int kDiskFullError = ENOSPC;
inline constexpr int kDeviceError = EIO;
inline constexpr int kWriteProtectedError = EROFS;
inline constexpr int kAccessDeniedError = EACCES;
#endif

} // namespace rostradb::test
