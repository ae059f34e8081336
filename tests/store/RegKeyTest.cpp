#include <gtest/gtest.h>

#include "store/RegKey.h"

namespace {

// Each case works in a key of its own under HKEY_CURRENT_USER and removes it.
class RegKeyTest : public testing::Test {
protected:
    void SetUp() override
    {
        path = std::string("Software\\VcardTests\\") + testing::UnitTest::GetInstance()->current_test_info()->name();
        RegDeleteTreeA(HKEY_CURRENT_USER, path.c_str());
    }
    void TearDown() override { RegDeleteTreeA(HKEY_CURRENT_USER, path.c_str()); }

    void SetRaw(const char* name, DWORD type, const void* data, DWORD size)
    {
        ASSERT_EQ(RegSetKeyValueA(HKEY_CURRENT_USER, path.c_str(), name, type, data, size), ERROR_SUCCESS);
    }
    bool KeyExists(const std::string& keyPath)
    {
        HKEY key;
        bool opened = RegOpenKeyExA(HKEY_CURRENT_USER, keyPath.c_str(), 0, KEY_READ, &key) == ERROR_SUCCESS;
        return opened && RegCloseKey(key) == ERROR_SUCCESS;
    }

    std::string path;
    RegKey reg;
};

// A failed SetKey keeps the former key.
TEST_F(RegKeyTest, SetKeyOpensOrCreates)
{
    EXPECT_FALSE(reg.SetKey(path, false));
    EXPECT_FALSE(KeyExists(path));
    ASSERT_TRUE(reg.SetKey(path, true));
    EXPECT_TRUE(KeyExists(path));
    ASSERT_TRUE(reg.WriteString("v", "here"));
    EXPECT_FALSE(reg.SetKey(path + "\\missing", false));
    EXPECT_EQ(reg.ReadString("v", ""), "here");
    EXPECT_TRUE(reg.SetKey(path, false));
    // The path is taken under a new root: missing there.
    ASSERT_TRUE(reg.SetRootKey(HKEY_LOCAL_MACHINE));
    EXPECT_EQ(reg.ReadString("v", "none"), "none");
    ASSERT_TRUE(reg.SetRootKey(HKEY_CURRENT_USER));
    EXPECT_EQ(reg.ReadString("v", ""), "here");
}

TEST_F(RegKeyTest, MissingAndMistypedValuesAndAMissingKeyReadAsTheDefault)
{
    ASSERT_TRUE(reg.SetKey(path, true));
    DWORD number = 7;
    SetRaw("number", REG_DWORD, &number, sizeof number);
    SetRaw("text", REG_SZ, "abc", 4);
    for (const char* name : {"missing", "number"})
        EXPECT_EQ(reg.ReadString(name, "fallback"), "fallback") << name;
    for (const char* name : {"missing", "text"})
        EXPECT_EQ(reg.ReadDword(name, 42), 42u) << name;
    EXPECT_EQ(reg.ReadDword("number", 42), 7u);
    RegDeleteTreeA(HKEY_CURRENT_USER, path.c_str());
    EXPECT_EQ(reg.ReadString("a", "d"), "d");
    EXPECT_EQ(reg.ReadDword("a", 3), 3u);
    EXPECT_FALSE(reg.WriteString("a", "x"));
    EXPECT_FALSE(reg.WriteDword("a", 1));
}

TEST_F(RegKeyTest, ValuesRoundTripWithTheirBytesStringsUpTo64KiB)
{
    ASSERT_TRUE(reg.SetKey(path, true));
    // Accented letters and markup characters among them.
    for (size_t length : {0u, 1u, 254u, 255u, 256u, 512u, 513u, 5000u, 65536u}) {
        std::string value(length, 'x');
        for (size_t i = 0; i < length; ++i)
            value[i] = static_cast<char>(i % 2 ? 0xC0 + i % 64 : '"' + i % 32);
        ASSERT_TRUE(reg.WriteString("long", value)) << length;
        EXPECT_EQ(reg.ReadString("long", "default"), value) << length;
    }
    EXPECT_FALSE(reg.WriteString("long", std::string(65537, 'y')));
    EXPECT_EQ(reg.ReadString("long", "").size(), 65536u);

    SetRaw("expand", REG_EXPAND_SZ, "%TEMP%\\x", 9);
    EXPECT_EQ(reg.ReadString("expand", ""), "%TEMP%\\x");
    SetRaw("raw", REG_SZ, "abcd", 4);
    EXPECT_EQ(reg.ReadString("raw", ""), "abcd");
    for (uint32_t value : {0u, 0x7fffffffu, 0xffffffffu}) {
        ASSERT_TRUE(reg.WriteDword("n", value));
        EXPECT_EQ(reg.ReadDword("n", 5), value);
    }
}

} // namespace
