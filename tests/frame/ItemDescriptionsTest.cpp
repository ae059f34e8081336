#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <string>

#include "frame/ItemDescriptions.h"

namespace {

using Block = std::array<uint8_t, 600>;

Block Filled(uint8_t byte)
{
    Block block;
    block.fill(byte);
    return block;
}

std::string Bytes(const Block& block, size_t offset, size_t size)
{
    return std::string(reinterpret_cast<const char*>(block.data()) + offset, size);
}

uint32_t Dword(const Block& block, size_t offset)
{
    return block[offset] | block[offset + 1] << 8 | block[offset + 2] << 16 | uint32_t{block[offset + 3]} << 24;
}

bool AllZeroExcept(const Block& block, size_t size, std::initializer_list<std::pair<size_t, size_t>> fields)
{
    for (size_t i = 0; i < size; ++i) {
        bool inField = false;
        for (auto [offset, length] : fields)
            inField = inField || (i >= offset && i < offset + length);
        if (!inField && block[i] != 0)
            return false;
    }
    return true;
}

TEST(ItemDescriptionsTest, ServiceInfoWritesOnlyItsTwoTextsCutToTheirFields)
{
    Block block = Filled(0xAA);
    FillServiceInfo(block.data(), "Directory Service", "View Virtual Card");
    EXPECT_EQ(Bytes(block, 0, 64), std::string("Directory Service") + std::string(47, '\0'));
    EXPECT_EQ(Bytes(block, 64, 254), std::string("View Virtual Card") + std::string(237, '\0'));
    EXPECT_EQ(block[318], 0xAA);
    // A text that fills its field has no terminator; a longer one is cut.
    FillServiceInfo(block.data(), std::string(64, 'd'), std::string(300, 'v'));
    EXPECT_EQ(Bytes(block, 0, 64), std::string(64, 'd'));
    EXPECT_EQ(Bytes(block, 64, 254), std::string(254, 'v'));
    EXPECT_EQ(block[318], 0xAA);
}

TEST(ItemDescriptionsTest, ExtraInfoIsZeroedAroundTheUsersValue)
{
    Block block = Filled(0xAA);
    FillExtraInfo(block.data(), 0x11223344);
    EXPECT_EQ(Dword(block, 16), 0x11223344u);
    EXPECT_EQ(block[16], 0x44);  // little-endian
    EXPECT_TRUE(AllZeroExcept(block, 500, {{16, 4}}));
    EXPECT_EQ(block[500], 0xAA);
}

TEST(ItemDescriptionsTest, ContactMenuAndDirectoryItemLayouts)
{
    Block block = Filled(0xAA);
    FillContactMenuItem(block.data(), 0xCAFE0001, "Ver Tarjeta Virtual");
    EXPECT_EQ(Dword(block, 16), 0xCAFE0001u);
    EXPECT_EQ(Bytes(block, 20, 64), std::string("Ver Tarjeta Virtual") + std::string(45, '\0'));
    EXPECT_EQ(Dword(block, 84), 460u);
    EXPECT_TRUE(AllZeroExcept(block, 88, {{16, 4}, {20, 64}, {84, 4}}));
    EXPECT_EQ(block[88], 0xAA);
    block = Filled(0xAA);
    FillDirectoryItem(block.data(), 0, "Servicio de Directorio");
    EXPECT_EQ(Dword(block, 16), 0u);
    EXPECT_EQ(Dword(block, 88), 1u);
    EXPECT_EQ(Bytes(block, 92, 254), std::string("Servicio de Directorio") + std::string(232, '\0'));
    EXPECT_EQ(Dword(block, 348), 460u);
    EXPECT_TRUE(AllZeroExcept(block, 352, {{88, 4}, {92, 254}, {348, 4}}));
    EXPECT_EQ(block[352], 0xAA);
}

} // namespace
