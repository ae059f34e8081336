#pragma once
// The blocks the service fills for the host's menus. The host owns them;
// 32-bit fields are little-endian; a text field takes at most its size in
// bytes, is padded with zero bytes, and has no terminator when full.
#include <cstddef>
#include <cstdint>
#include <string_view>

inline constexpr std::size_t ServiceInfoSize = 318;
inline constexpr std::size_t ExtraInfoSize = 500;
inline constexpr std::size_t ContactMenuItemSize = 88;
inline constexpr std::size_t DirectoryItemSize = 352;

// Not zeroed first: only the two texts are written.
void FillServiceInfo(void* block, std::string_view directoryService, std::string_view viewCard);
void FillExtraInfo(void* block, uint32_t userValue);
void FillContactMenuItem(void* block, uint32_t icon, std::string_view viewCard);
void FillDirectoryItem(void* block, uint32_t icon, std::string_view directoryService);
