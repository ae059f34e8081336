#include "platform/File.h"

std::optional<uint64_t> CFile::GetStatus(const char* path)
{
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    if (!GetFileAttributesExA(path, GetFileExInfoStandard, &data))
        return std::nullopt;
    return (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

bool CFile::OpenForReading(const char* path)
{
    Close();
    file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    return file != INVALID_HANDLE_VALUE;
}

DWORD CFile::Read(void* buffer, DWORD count)
{
    DWORD read = 0;
    if (file == INVALID_HANDLE_VALUE || !ReadFile(file, buffer, count, &read, nullptr))
        return 0;
    return read;
}

void CFile::Close()
{
    if (file != INVALID_HANDLE_VALUE)
        CloseHandle(file);
    file = INVALID_HANDLE_VALUE;
}
