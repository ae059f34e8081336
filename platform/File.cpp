#include "platform/File.h"

#include <algorithm>

bool CFile::Open(const char* path, DWORD access, DWORD share, DWORD disposition)
{
    Close();
    file = CreateFileA(path, access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE && GetFileType(file) != FILE_TYPE_DISK)
        Close();
    return file != INVALID_HANDLE_VALUE;
}

bool CFile::OpenForReading(const char* path)
{
    return Open(path, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING);
}

bool CFile::OpenForWriting(const char* path)
{
    return Open(path, GENERIC_WRITE, 0, CREATE_ALWAYS);
}

std::optional<uint64_t> CFile::GetLength() const
{
    LARGE_INTEGER size = {};
    if (file == INVALID_HANDLE_VALUE || !GetFileSizeEx(file, &size))
        return std::nullopt;
    return static_cast<uint64_t>(size.QuadPart);
}

DWORD CFile::Read(void* buffer, DWORD count)
{
    DWORD read = 0;
    if (file == INVALID_HANDLE_VALUE || !ReadFile(file, buffer, count, &read, nullptr))
        return 0;
    return read;
}

bool CFile::Write(const void* buffer, DWORD count)
{
    DWORD written = 0;
    return file != INVALID_HANDLE_VALUE && (count == 0 || WriteFile(file, buffer, count, &written, nullptr)) &&
           written == count;
}

bool CFile::Close()
{
    bool closed = file == INVALID_HANDLE_VALUE || CloseHandle(file);
    file = INVALID_HANDLE_VALUE;
    return closed;
}

std::optional<std::string> ReadFileStart(const char* path, uint64_t limit, bool* longer)
{
    CFile file;
    std::optional<uint64_t> size;
    if (!file.OpenForReading(path) || !(size = file.GetLength()))
        return std::nullopt;
    if (longer)
        *longer = *size > limit;
    std::string bytes(static_cast<size_t>(std::min(*size, limit)), '\0');
    if (file.Read(bytes.data(), static_cast<DWORD>(bytes.size())) != bytes.size())
        return std::nullopt;
    return bytes;
}

bool WriteWholeFile(const char* path, std::string_view bytes)
{
    CFile file;
    bool written = file.OpenForWriting(path) && file.Write(bytes.data(), static_cast<DWORD>(bytes.size()));
    return file.Close() && written;
}
