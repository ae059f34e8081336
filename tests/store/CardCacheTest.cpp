#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>

#include "frame/HostSettings.h"
#include "store/CardCache.h"
#include "support/Xml.h"

using testing::ElementsAre;

namespace {

// A "typ" element built from tag and text pairs.
class Section {
public:
    Section(int number, std::initializer_list<std::pair<const char*, std::string>> fields) : doc("typ", number)
    {
        for (const auto& [tag, text] : fields)
            doc.AddChild(tag, text);
    }
    const XmlNode& Node() const { return doc.FindChild("typ"); }

private:
    XmlDocument doc;
};

// Fails every value write from the k-th on (an interrupted store), or only
// the k-th.
class FailingRegKey : public RegKey {
public:
    FailingRegKey(int failingWrite, bool onlyThatWrite) : failAt(failingWrite), onlyThatOne(onlyThatWrite) {}
    bool WriteString(const std::string& name, const std::string& value) const override
    {
        return Pass() && RegKey::WriteString(name, value);
    }
    bool WriteDword(const std::string& name, uint32_t value) const override
    {
        return Pass() && RegKey::WriteDword(name, value);
    }
    mutable int writes = 0;

private:
    bool Pass() const
    {
        ++writes;
        return onlyThatOne ? writes != failAt : writes < failAt;
    }
    int failAt;
    bool onlyThatOne;
};

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

class CardCacheTest : public testing::Test {
protected:
    void SetUp() override
    {
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, UsersKey().c_str());
        char temp[MAX_PATH];
        GetTempPathA(sizeof temp, temp);
        appPath = std::string(temp) + "vcard-cache-test";
        CreateDirectoryA(appPath.c_str(), nullptr);
    }
    void TearDown() override
    {
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, UsersKey().c_str());
        RemoveTree(appPath);
    }

    static std::string UsersKey() { return std::string(HostSettingsKey) + "\\Users"; }

    static void RemoveTree(const std::string& folder)
    {
        WIN32_FIND_DATAA found;
        HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
        if (search != INVALID_HANDLE_VALUE) {
            do {
                std::string name = found.cFileName;
                if (name == "." || name == "..")
                    continue;
                std::string path = folder + "\\" + name;
                if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                    RemoveTree(path);
                else
                    DeleteFileA(path.c_str());
            } while (FindNextFileA(search, &found));
            FindClose(search);
        }
        RemoveDirectoryA(folder.c_str());
    }

    bool KeyExists(const std::string& path)
    {
        HKEY opened;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS)
            return false;
        RegCloseKey(opened);
        return true;
    }

    // Every value of a key, as text.
    std::map<std::string, std::string> Values(const std::string& path)
    {
        std::map<std::string, std::string> values;
        RegKey reader;
        reader.SetRootKey(HKEY_LOCAL_MACHINE);
        if (!reader.SetKey(path, false))
            return values;
        HKEY opened;
        RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, &opened);
        char name[256];
        for (DWORD i = 0;; ++i) {
            DWORD length = sizeof name;
            DWORD type = 0;
            if (RegEnumValueA(opened, i, name, &length, nullptr, &type, nullptr, nullptr) != ERROR_SUCCESS)
                break;
            values[name] = type == REG_DWORD ? std::to_string(static_cast<int32_t>(reader.ReadDword(name, 0)))
                                             : reader.ReadString(name, "");
        }
        RegCloseKey(opened);
        return values;
    }

    RegKey key;
    std::string appPath;
    CardCache cache{key, appPath};
};

TEST_F(CardCacheTest, NothingCachedGivesMinusOneAndAnEmptyCardKey)
{
    for (int section : {1, 2, 3, 4, 0, 5})
        EXPECT_EQ(cache.GetCachedVersion("u1", "d1", section), -1) << section;
    EXPECT_TRUE(KeyExists(CardCache::CardKey("u1", "d1")));
    EXPECT_TRUE(Values(CardCache::CardKey("u1", "d1")).empty());
    EXPECT_FALSE(KeyExists(CardCache::CardKey("u1", "d1") + "\\Home"));
}

TEST_F(CardCacheTest, StoredSectionAnswersItsVersionAndKeepsItsFlag)
{
    cache.StoreHome("u1", "d1", Section(2, {{"a", "Main St 1"}, {"ci", "Lyon"}, {"c", "1"}, {"ver", "7"}}).Node());
    EXPECT_EQ(cache.GetCachedVersion("u1", "d1", HomeSection), 7);
    EXPECT_EQ(cache.GetCachedVersion("u1", "d1", BusinessSection), -1);
    auto home = Values(CardCache::CardKey("u1", "d1") + "\\Home");
    EXPECT_EQ(home["c"], "1");
    EXPECT_EQ(home["a"], "Main St 1");
    EXPECT_EQ(home["w"], "");  // a missing field is written empty
    EXPECT_EQ(home.size(), 10u);
    EXPECT_EQ(Values(CardCache::CardKey("u1", "d1"))["hver"], "7");
}

TEST_F(CardCacheTest, SectionWithoutVersionOrFlagStoresZero)
{
    cache.StoreBusiness("u1", "d1", Section(3, {{"cp", "Acme"}, {"c", "yes"}}).Node());
    EXPECT_EQ(cache.GetCachedVersion("u1", "d1", BusinessSection), 0);
    EXPECT_EQ(Values(CardCache::CardKey("u1", "d1") + "\\Business")["c"], "0");
}

TEST_F(CardCacheTest, IdentificationRoundTripsWithEmailsInSlotOrder)
{
    cache.StoreBasic("u1", "d1",
                     Section(1, {{"f", "Ana"}, {"l", "Ruiz"}, {"nk", "an"}, {"e0", "a@x.org"}, {"e2", "b@y.org"},
                                 {"e10", "lost@z.org"}, {"c", "1"}, {"ver", "3"}})
                         .Node());
    IdentificationFields fields;
    fields.emails = {"old@q.org"};
    int hidden = 0;
    cache.LoadBasic("u1", "d1", fields, hidden);
    EXPECT_EQ(fields.first, "Ana");
    EXPECT_EQ(fields.last, "Ruiz");
    EXPECT_EQ(fields.nickname, "an");
    EXPECT_EQ(fields.middle, "");
    EXPECT_THAT(fields.emails, ElementsAre("a@x.org", "b@y.org"));
    EXPECT_EQ(hidden, 1);

    // A later store empties the slots it does not carry.
    cache.StoreBasic("u1", "d1", Section(1, {{"e1", "c@w.org"}, {"ver", "4"}}).Node());
    cache.LoadBasic("u1", "d1", fields, hidden);
    EXPECT_THAT(fields.emails, ElementsAre("c@w.org"));
    EXPECT_EQ(hidden, 0);
}

TEST_F(CardCacheTest, WebPageLoadsInItsHttpForm)
{
    struct Case { const char* stored; const char* loaded; };
    for (const Case& c : {Case{"WWW.EXAMPLE.ORG", "http://www.example.org"}, Case{"HTTP://ABC", "HTTP://ABC"},
                          Case{"", "http://"}}) {
        cache.StoreHome("u1", "d1", Section(2, {{"w", c.stored}, {"ver", "1"}}).Node());
        AddressFields fields;
        int hidden = 5;
        cache.LoadHome("u1", "d1", fields, hidden);
        EXPECT_EQ(fields.web, c.loaded) << c.stored;
        EXPECT_EQ(hidden, 0);
    }
}

TEST_F(CardCacheTest, BusinessFieldsRoundTripWhateverTheirLength)
{
    std::string street(5000, 'x');
    for (size_t i = 0; i < street.size(); ++i)
        street[i] = static_cast<char>('a' + i % 26);
    cache.StoreBusiness("u1", "d1",
                        Section(3, {{"cp", "Acme & Sons"}, {"j", "Dev"}, {"d", "R&D"}, {"a", street},
                                    {"p", "555"}, {"m", "666"}, {"w", "http://acme.example"}, {"ver", "2"}})
                            .Node());
    AddressFields fields;
    int hidden = 0;
    cache.LoadBusiness("u1", "d1", fields, hidden);
    EXPECT_EQ(fields.company, "Acme & Sons");
    EXPECT_EQ(fields.department, "R&D");
    EXPECT_EQ(fields.street, street);
    EXPECT_EQ(fields.phone, "555");
    EXPECT_EQ(fields.mobile, "666");
    EXPECT_EQ(fields.web, "http://acme.example");
    EXPECT_EQ(cache.GetCachedVersion("u1", "d1", BusinessSection), 2);
}

TEST_F(CardCacheTest, PhotoLivesInItsFileAndFollowsIt)
{
    cache.StorePhoto("u1", "d1", Section(4, {{"ph", "QUJD\nREVG\n"}, {"c", "0"}, {"ver", "5"}}).Node(), false);
    std::string file = appPath + "\\vc\\u1@d1.b64";
    EXPECT_EQ(ReadFile(file), "QUJD\nREVG\n");
    EXPECT_EQ(Values(CardCache::CardKey("u1", "d1") + "\\Photo")["ph"], file);
    EXPECT_EQ(cache.GetCachedVersion("u1", "d1", PhotoSection), 5);
    PhotoFields photo;
    int hidden = 1;
    EXPECT_TRUE(cache.LoadPhoto("u1", "d1", photo, hidden));
    EXPECT_EQ(photo.picture, "QUJD\nREVG\n");
    EXPECT_EQ(hidden, 0);

    DeleteFileA(file.c_str());
    EXPECT_EQ(cache.GetCachedVersion("u1", "d1", PhotoSection), -1);
    photo.picture = "kept";
    hidden = 1;
    EXPECT_FALSE(cache.LoadPhoto("u1", "d1", photo, hidden));
    EXPECT_EQ(photo.picture, "kept");
    EXPECT_EQ(hidden, 1);
}

TEST_F(CardCacheTest, FlagOnlyPhotoStoreChangesOnlyTheFlag)
{
    cache.StorePhoto("u1", "d1", Section(4, {{"ph", "AAAA"}, {"c", "0"}, {"ver", "5"}}).Node(), false);
    cache.StorePhoto("u1", "d1", Section(4, {{"ph", "BBBB"}, {"c", "1"}, {"ver", "9"}}).Node(), true);
    EXPECT_EQ(cache.GetCachedVersion("u1", "d1", PhotoSection), 5);
    EXPECT_EQ(ReadFile(appPath + "\\vc\\u1@d1.b64"), "AAAA");
    EXPECT_EQ(Values(CardCache::CardKey("u1", "d1") + "\\Photo")["c"], "1");
}

TEST_F(CardCacheTest, PhotoFolderIgnoresATrailingBackslash)
{
    std::string withSeparator = appPath + "\\";
    CardCache other(key, withSeparator);
    EXPECT_EQ(other.PhotoFolder(), cache.PhotoFolder());
    EXPECT_EQ(other.PhotoFile("u", "d"), appPath + "\\vc\\u@d.b64");
    std::string empty;
    EXPECT_EQ(CardCache(key, empty).PhotoFolder(), "\\vc");
}

TEST_F(CardCacheTest, LoadPhotoReadsTheStoredPathNotANewOne)
{
    cache.StorePhoto("u1", "d1", Section(4, {{"ph", "QUJD"}, {"ver", "1"}}).Node(), false);
    appPath += "\\moved";
    PhotoFields photo;
    int hidden = 0;
    EXPECT_TRUE(cache.LoadPhoto("u1", "d1", photo, hidden));
    EXPECT_EQ(photo.picture, "QUJD");
    EXPECT_EQ(cache.GetCachedVersion("u1", "d1", PhotoSection), 1);
}

TEST_F(CardCacheTest, PhotoTextEndsAtItsFirstZeroByte)
{
    cache.StorePhoto("u1", "d1", Section(4, {{"ph", "QUJD"}, {"ver", "1"}}).Node(), false);
    std::ofstream(appPath + "\\vc\\u1@d1.b64", std::ios::binary).write("AB\0CD", 5);
    PhotoFields photo;
    int hidden = 0;
    EXPECT_TRUE(cache.LoadPhoto("u1", "d1", photo, hidden));
    EXPECT_EQ(photo.picture, "AB");
}

// ---- names from the server that are no safe path component

TEST_F(CardCacheTest, UnsafeNamesAreNeverCached)
{
    const char* unsafe[] = {"", ".", "..", "..\\..\\evil", "a/b", "a:b", "a*", "a?", "a\"b", "a<b", "a>b", "a|b",
                            "tab\there", "end.", "end ", "CON", "con", "Nul.txt", "COM1", "lpt9.log", "AUX.a.b"};
    for (const char* name : unsafe) {
        SCOPED_TRACE(name);
        for (auto [user, domain] : {std::pair<std::string, std::string>{name, "d1"}, {"u1", name}}) {
            cache.StoreHome(user, domain, Section(2, {{"a", "x"}, {"ver", "3"}}).Node());
            cache.StoreBasic(user, domain, Section(1, {{"f", "x"}, {"ver", "3"}}).Node());
            cache.StoreBusiness(user, domain, Section(3, {{"cp", "x"}, {"ver", "3"}}).Node());
            cache.StorePhoto(user, domain, Section(4, {{"ph", "QUJD"}, {"ver", "3"}}).Node(), false);
            cache.StorePhoto(user, domain, Section(4, {{"c", "1"}}).Node(), true);
            for (int section = 1; section <= 4; ++section)
                EXPECT_EQ(cache.GetCachedVersion(user, domain, section), -1);
            AddressFields fields;
            fields.street = "kept";
            int hidden = 7;
            cache.LoadHome(user, domain, fields, hidden);
            EXPECT_EQ(fields.street, "kept");
            EXPECT_EQ(hidden, 7);
        }
    }
    EXPECT_FALSE(KeyExists(UsersKey()));
    EXPECT_FALSE(CardCache::FileExists(appPath + "\\vc"));
    EXPECT_FALSE(CardCache::FileExists(appPath + "\\evil@d1.b64"));
}

TEST_F(CardCacheTest, OrdinaryNamesWithDotsAndAccentsAreCached)
{
    for (const char* name : {"ana.ruiz", "jos\xe9", "CONTACT", "com10", "a b", "x-y_z"}) {
        cache.StoreHome(name, "mail.example.org", Section(2, {{"ver", "4"}}).Node());
        EXPECT_EQ(cache.GetCachedVersion(name, "mail.example.org", HomeSection), 4) << name;
    }
}

// ---- no data lost when a write fails

TEST_F(CardCacheTest, FailedWritesNeverLeaveANewVersionOverOldValues)
{
    for (bool onlyThatOne : {false, true}) {
        for (int k = 1; k <= 16; ++k) {
            SCOPED_TRACE(testing::Message() << "write " << k << (onlyThatOne ? " alone" : " and after"));
            RegDeleteTreeA(HKEY_LOCAL_MACHINE, UsersKey().c_str());
            cache.StoreHome("u1", "d1", Section(2, {{"a", "old"}, {"w", "http://old"}, {"ver", "3"}}).Node());

            FailingRegKey failing(k, onlyThatOne);
            CardCache(failing, appPath)
                .StoreHome("u1", "d1", Section(2, {{"a", "new"}, {"w", "http://new"}, {"ver", "4"}}).Node());

            int version = cache.GetCachedVersion("u1", "d1", HomeSection);
            AddressFields fields;
            int hidden = 0;
            cache.LoadHome("u1", "d1", fields, hidden);
            if (version == 4) {
                EXPECT_EQ(fields.street, "new");
                EXPECT_EQ(fields.web, "http://new");
            } else if (version == 3) {
                EXPECT_EQ(fields.street, "old");
                EXPECT_EQ(fields.web, "http://old");
            } else {
                EXPECT_EQ(version, -1);
            }
            if (k > failing.writes) {
                EXPECT_EQ(version, 4);  // nothing failed
            }
        }
    }
}

TEST_F(CardCacheTest, FailedWritesNeverLeaveANewPhotoVersionOverTheOldFile)
{
    for (bool onlyThatOne : {false, true}) {
        for (int k = 1; k <= 5; ++k) {
            SCOPED_TRACE(testing::Message() << "write " << k << (onlyThatOne ? " alone" : " and after"));
            RegDeleteTreeA(HKEY_LOCAL_MACHINE, UsersKey().c_str());
            cache.StorePhoto("u1", "d1", Section(4, {{"ph", "OLD0"}, {"ver", "3"}}).Node(), false);

            FailingRegKey failing(k, onlyThatOne);
            CardCache(failing, appPath).StorePhoto("u1", "d1", Section(4, {{"ph", "NEW0"}, {"ver", "4"}}).Node(), false);

            int version = cache.GetCachedVersion("u1", "d1", PhotoSection);
            PhotoFields photo;
            int hidden = 0;
            cache.LoadPhoto("u1", "d1", photo, hidden);
            if (version == 4) {
                EXPECT_EQ(photo.picture, "NEW0");
            } else if (version == 3) {
                EXPECT_EQ(photo.picture, "OLD0");
            } else {
                EXPECT_EQ(version, -1);
            }
            if (k > failing.writes) {
                EXPECT_EQ(version, 4);
            }
        }
    }
}

TEST_F(CardCacheTest, PhotoFileThatCannotBeWrittenLeavesTheRegistryAlone)
{
    cache.StorePhoto("u1", "d1", Section(4, {{"ph", "OLD0"}, {"c", "0"}, {"ver", "3"}}).Node(), false);
    auto before = Values(CardCache::CardKey("u1", "d1") + "\\Photo");
    auto versionsBefore = Values(CardCache::CardKey("u1", "d1"));
    // A folder where the new file would go makes its creation fail.
    std::string blocker = appPath + "\\vc\\u1@d1.b64.new";
    ASSERT_TRUE(CreateDirectoryA(blocker.c_str(), nullptr));
    cache.StorePhoto("u1", "d1", Section(4, {{"ph", "NEW0"}, {"c", "1"}, {"ver", "4"}}).Node(), false);
    RemoveDirectoryA(blocker.c_str());
    EXPECT_EQ(Values(CardCache::CardKey("u1", "d1") + "\\Photo"), before);
    EXPECT_EQ(Values(CardCache::CardKey("u1", "d1")), versionsBefore);
    EXPECT_EQ(ReadFile(appPath + "\\vc\\u1@d1.b64"), "OLD0");
    EXPECT_EQ(cache.GetCachedVersion("u1", "d1", PhotoSection), 3);
}

} // namespace
