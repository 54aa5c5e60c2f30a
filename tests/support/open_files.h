#pragma once
// How many file descriptors this process holds open, from /proc/self/fd.
// Comparing it before and after an operation shows whether the operation
// closed every file it opened, also on its error paths.

#include <cstddef>
#include <filesystem>

namespace rostradb::test {

inline std::size_t openFileCount()
{
    std::size_t count = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator("/proc/self/fd"))
        ++count;
    return count;
}

} // namespace rostradb::test
