#pragma once
// CFile: a plain file on a disk, read from its start or written anew.
// Devices, pipes and consoles are refused even where their names get through.
#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

class CFile {
public:
    CFile() = default;
    ~CFile() { Close(); }
    CFile(const CFile&) = delete;
    CFile& operator=(const CFile&) = delete;

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

// The file at path, read whole when it holds at most limit bytes, else its
// first limit bytes with longer set; empty when it cannot be read.
std::optional<std::string> ReadFileStart(const char* path, uint64_t limit, bool* longer = nullptr);

// The file at path created or emptied, and the bytes written to it; false
// when any step fails.
bool WriteWholeFile(const char* path, std::string_view bytes);
