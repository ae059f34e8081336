#pragma once
// CFile: a file read from its start.
#include <windows.h>

#include <cstdint>
#include <optional>

class CFile {
public:
    CFile() = default;
    ~CFile() { Close(); }
    CFile(const CFile&) = delete;
    CFile& operator=(const CFile&) = delete;

    // Size of the file at path; empty when its status cannot be read.
    static std::optional<uint64_t> GetStatus(const char* path);

    bool OpenForReading(const char* path);
    // Bytes read; fewer than count at the end or on an error.
    DWORD Read(void* buffer, DWORD count);
    void Close();

private:
    HANDLE file = INVALID_HANDLE_VALUE;
};
