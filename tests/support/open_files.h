#pragma once
// How many files this process holds open: its file descriptors in
// /proc/self/fd on Linux, its handles on Windows. Comparing it before and
// after an operation shows whether the operation closed every file it
// opened, also on its error paths.

#include <cstddef>

#include "support/windows_api.h"

#ifdef _WIN32
#include <stdexcept>
#include <vector>
#else
#include <filesystem>
#endif

namespace rostradb::test {

#ifdef _WIN32

// The system's list of every open handle, filtered by our process id and by
// the kind of object (files only: the runtime opens events and keys of its
// own on the first exception thrown). GetProcessHandleCount would be
// simpler, but Wine answers it with 0.
namespace handles {

struct Entry { // SYSTEM_HANDLE_TABLE_ENTRY_INFO_EX
    void* object;
    ULONG_PTR processId;
    ULONG_PTR handle;
    ULONG grantedAccess;
    USHORT creatorBackTraceIndex;
    USHORT objectTypeIndex;
    ULONG attributes;
    ULONG reserved;
};

inline std::vector<Entry> ofThisProcess()
{
    struct List { // SYSTEM_HANDLE_INFORMATION_EX
        ULONG_PTR count;
        ULONG_PTR reserved;
        Entry entries[1];
    };
    using Query = LONG(WINAPI*)(ULONG, void*, ULONG, ULONG*);
    constexpr ULONG kExtendedHandleInformation = 64;
    constexpr LONG kBufferTooSmall = static_cast<LONG>(0xC0000004L);

    const auto query = reinterpret_cast<Query>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "NtQuerySystemInformation")));
    std::vector<ULONG_PTR> buffer(1 << 14);
    LONG status = 0;
    ULONG needed = 0;
    while ((status = query(kExtendedHandleInformation, buffer.data(),
                           static_cast<ULONG>(buffer.size() * sizeof(ULONG_PTR)), &needed)) == kBufferTooSmall)
        buffer.resize(buffer.size() * 2);
    if (status != 0)
        throw std::runtime_error("cannot list the open handles");
    const auto* list = reinterpret_cast<const List*>(buffer.data());
    const Entry* entries = list->entries;
    std::vector<Entry> ours;
    for (ULONG_PTR i = 0; i < list->count; ++i)
        if (entries[i].processId == ::GetCurrentProcessId())
            ours.push_back(entries[i]);
    return ours;
}

// The type index files have, learnt from a file opened for the purpose.
inline USHORT fileTypeIndex()
{
    wchar_t self[MAX_PATH];
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    const HANDLE probe = ::CreateFileW(self, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                       nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    USHORT type = 0;
    bool found = false;
    for (const Entry& entry : ofThisProcess())
        if (entry.handle == reinterpret_cast<ULONG_PTR>(probe)) {
            type = entry.objectTypeIndex;
            found = true;
        }
    ::CloseHandle(probe);
    if (!found)
        throw std::runtime_error("cannot tell file handles from others");
    return type;
}

} // namespace handles

inline std::size_t openFileCount()
{
    static const USHORT fileType = handles::fileTypeIndex();
    std::size_t count = 0;
    for (const handles::Entry& entry : handles::ofThisProcess())
        count += entry.objectTypeIndex == fileType ? 1 : 0;
    return count;
}

#else

inline std::size_t openFileCount()
{
    std::size_t count = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator("/proc/self/fd"))
        ++count;
    return count;
}

#endif

} // namespace rostradb::test
