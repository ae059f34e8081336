#pragma once
// CFile: a plain file on a disk, read from its start or written anew.
// Devices, pipes and consoles are refused even where their names get through.
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
    // Creates the file, or empties the one that is there.
    bool OpenForWriting(const char* path);
    // Size of the open file; empty without one.
    std::optional<uint64_t> GetLength() const;
    // Bytes read; fewer than count at the end or on an error.
    DWORD Read(void* buffer, DWORD count);
    // Whether all count bytes were written.
    bool Write(const void* buffer, DWORD count);
    // False when closing the open file failed.
    bool Close();

private:
    bool Open(const char* path, DWORD access, DWORD share, DWORD disposition);

    HANDLE file = INVALID_HANDLE_VALUE;
};
