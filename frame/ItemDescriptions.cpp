#include "frame/ItemDescriptions.h"

#include <algorithm>
#include <cstring>

namespace {

void PutText(void* block, std::size_t offset, std::size_t size, std::string_view text)
{
    auto* field = static_cast<uint8_t*>(block) + offset;
    std::size_t length = std::min(size, text.size());
    std::memcpy(field, text.data(), length);
    std::memset(field + length, 0, size - length);
}

void PutDword(void* block, std::size_t offset, uint32_t value)
{
    auto* field = static_cast<uint8_t*>(block) + offset;
    for (int byte = 0; byte < 4; ++byte)
        field[byte] = static_cast<uint8_t>(value >> (8 * byte));
}

} // namespace

void FillServiceInfo(void* block, std::string_view directoryService, std::string_view viewCard)
{
    PutText(block, 0, 64, directoryService);
    PutText(block, 64, 254, viewCard);
}

void FillExtraInfo(void* block, uint32_t userValue)
{
    std::memset(block, 0, ExtraInfoSize);
    PutDword(block, 16, userValue);
}

void FillContactMenuItem(void* block, uint32_t icon, std::string_view viewCard)
{
    std::memset(block, 0, ContactMenuItemSize);
    PutDword(block, 16, icon);
    PutText(block, 20, 64, viewCard);
    PutDword(block, 84, 460);
}

void FillDirectoryItem(void* block, uint32_t icon, std::string_view directoryService)
{
    std::memset(block, 0, DirectoryItemSize);
    PutDword(block, 16, icon);
    PutDword(block, 88, 1);
    PutText(block, 92, 254, directoryService);
    PutDword(block, 348, 460);
}
