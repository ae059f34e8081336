#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <vector>

#include "frame/HostSettings.h"
#include "store/CacheNames.h"
#include "store/CardCache.h"
#include "support/Xml.h"
#include "tests/hosts/ImportPatch.h"

using testing::ElementsAre;

namespace {

// A "typ" element built from tag and text pairs.
struct Section : XmlDocument {
    Section(int number, std::initializer_list<std::pair<const char*, std::string>> fields) : XmlDocument("typ", number)
    {
        for (const auto& [tag, text] : fields)
            AddChild(tag, text);
    }
    const XmlNode& Node() const { return GetRoot(); }
};

// Fails every key opening and value write from the k-th on (an interrupted
// store), or only the k-th.
class FailingRegKey : public RegKey {
public:
    FailingRegKey(int failingWrite, bool onlyThatWrite) : failAt(failingWrite), onlyThatOne(onlyThatWrite) {}
    bool SetKey(const std::string& path, bool create) override { return Pass() && RegKey::SetKey(path, create); }
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
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class CardCacheTest : public testing::Test {
protected:
    void SetUp() override
    {
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, UsersKey().c_str());
        appPath = (std::filesystem::temp_directory_path() / "vcard-cache-test").string();
        CreateDirectoryA(appPath.c_str(), nullptr);
    }
    void TearDown() override
    {
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, UsersKey().c_str());
        std::filesystem::remove_all(appPath);
    }

    static std::string UsersKey() { return std::string(HostSettingsKey) + "\\Users"; }

    static bool KeyExists(const std::string& path)
    {
        RegKey reader;
        reader.SetRootKey(HKEY_LOCAL_MACHINE);
        return reader.SetKey(path, false);
    }

    // Every value of a key, as text.
    std::map<std::string, std::string> Values(const std::string& path)
    {
        std::map<std::string, std::string> values;
        HKEY opened;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS)
            return values;
        RegKey reader;
        reader.SetRootKey(HKEY_LOCAL_MACHINE);
        reader.SetKey(path, false);
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
    CardCache cache{key, appPath, UsersKey()};
};

TEST_F(CardCacheTest, NothingCachedGivesMinusOneAndAnEmptyCardKey)
{
    for (int section : {1, 2, 3, 4, 0, 5})
        EXPECT_EQ(cache.GetCachedVersion("u1", "d1", section), -1) << section;
    EXPECT_TRUE(KeyExists(cache.CardKey("u1", "d1")));
    EXPECT_TRUE(Values(cache.CardKey("u1", "d1")).empty());
    EXPECT_FALSE(KeyExists(cache.CardKey("u1", "d1") + "\\Home"));
}

// Every field is written (a missing one empty), the flag and version as
// numbers (0 when absent or not a number); a version whose section key is
// gone counts as not cached.
TEST_F(CardCacheTest, StoredSectionsAnswerTheirVersionAndLoadTheirFields)
{
    cache.StoreHome("u1", "d1", Section(2, {{"a", "Main St 1"}, {"w", "WWW.EXAMPLE.ORG"}, {"c", "1"}, {"ver", "7"}}).Node());
    EXPECT_EQ(cache.GetCachedVersion("u1", "d1", HomeSection), 7);
    EXPECT_EQ(cache.GetCachedVersion("u1", "d1", BusinessSection), -1);
    auto home = Values(cache.CardKey("u1", "d1") + "\\Home");
    EXPECT_EQ(home["c"], "1");
    EXPECT_EQ(home["p"], "");
    EXPECT_EQ(home.size(), 10u);
    AddressFields address;
    int hidden = 0;
    cache.LoadHome("u1", "d1", address, hidden);
    EXPECT_EQ(address.street, "Main St 1");
    EXPECT_EQ(address.web, "http://www.example.org");
    EXPECT_EQ(hidden, 1);

    std::string street(5000, 'x');
    cache.StoreBusiness("u1", "d1", Section(3, {{"cp", "Acme & Sons"}, {"a", street}, {"m", "666"}, {"c", "yes"}}).Node());
    cache.LoadBusiness("u1", "d1", address, hidden);
    EXPECT_EQ(address.company, "Acme & Sons");
    EXPECT_EQ(address.street, street);
    EXPECT_EQ(address.mobile, "666");
    EXPECT_EQ(hidden, 0);
    EXPECT_EQ(cache.GetCachedVersion("u1", "d1", BusinessSection), 0);

    cache.StoreBasic("u1", "d1", Section(1, {{"f", "Ana"}, {"nk", "an"}, {"e0", "a@x.org"}, {"e2", "b@y.org"},
                                             {"e10", "lost@z.org"}, {"ver", "3"}}).Node());
    IdentificationFields fields;
    fields.emails = {"old@q.org"};
    cache.LoadBasic("u1", "d1", fields, hidden);
    EXPECT_EQ(fields.first, "Ana");
    EXPECT_EQ(fields.nickname, "an");
    EXPECT_THAT(fields.emails, ElementsAre("a@x.org", "b@y.org"));
    cache.StoreBasic("u1", "d1", Section(1, {{"e1", "c@w.org"}, {"ver", "4"}}).Node());
    cache.LoadBasic("u1", "d1", fields, hidden);
    EXPECT_THAT(fields.emails, ElementsAre("c@w.org"));

    RegDeleteTreeA(HKEY_LOCAL_MACHINE, (cache.CardKey("u1", "d1") + "\\Home").c_str());
    EXPECT_EQ(cache.GetCachedVersion("u1", "d1", HomeSection), -1);
}

// The photo lives in its file, named in the registry; a flag alone changes
// only the flag; a file gone, turned folder or too large is not cached and
// not loaded; the text ends at its first zero byte.
TEST_F(CardCacheTest, PhotoLivesInItsFileAndFollowsIt)
{
    cache.StorePhoto("u1", "d1", Section(4, {{"ph", "QUJD\nREVG\n"}, {"c", "0"}, {"ver", "5"}}).Node(), false);
    std::string file = appPath + "\\vc\\u1@d1.b64";
    EXPECT_EQ(ReadFile(file), "QUJD\nREVG\n");
    EXPECT_EQ(Values(cache.CardKey("u1", "d1") + "\\Photo")["ph"], file);
    EXPECT_EQ(cache.GetCachedVersion("u1", "d1", PhotoSection), 5);
    cache.StorePhoto("u1", "d1", Section(4, {{"ph", "BBBB"}, {"c", "1"}, {"ver", "9"}}).Node(), true);
    EXPECT_EQ(cache.GetCachedVersion("u1", "d1", PhotoSection), 5);
    PhotoFields photo;
    int hidden = 0;
    EXPECT_TRUE(cache.LoadPhoto("u1", "d1", photo, hidden));
    EXPECT_EQ(photo.picture, "QUJD\nREVG\n");
    EXPECT_EQ(hidden, 1);
    std::ofstream(file, std::ios::binary).write("AB\0CD", 5);
    EXPECT_TRUE(cache.LoadPhoto("u1", "d1", photo, hidden));
    EXPECT_EQ(photo.picture, "AB");

    auto unloadable = [&](const char* what) {
        photo.picture = "kept";
        EXPECT_EQ(cache.GetCachedVersion("u1", "d1", PhotoSection), -1) << what;
        EXPECT_FALSE(cache.LoadPhoto("u1", "d1", photo, hidden)) << what;
        EXPECT_EQ(photo.picture, "kept") << what;
    };
    DeleteFileA(file.c_str());
    unloadable("gone");
    CreateDirectoryA(file.c_str(), nullptr);
    unloadable("a folder");
    RemoveDirectoryA(file.c_str());
    std::ofstream(file, std::ios::binary) << std::string(CardCache::MaxPhotoFileSize + 1, 'Q');
    unloadable("too large");

    EXPECT_EQ(CardCache(key, appPath + "\\", UsersKey()).PhotoFile("u", "d"), appPath + "\\vc\\u@d.b64");
}

// ---- names from the server: never a device, never another account's copy

// Counts the files the cache opened that Windows took for a character device.
int devicesOpened = 0;
HANDLE WINAPI CountingCreateFileA(LPCSTR path, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES security,
                                  DWORD disposition, DWORD flags, HANDLE model)
{
    HANDLE file = CreateFileA(path, access, share, security, disposition, flags, model);
    if (file != INVALID_HANDLE_VALUE && GetFileType(file) == FILE_TYPE_CHAR)
        ++devicesOpened;
    return file;
}

TEST_F(CardCacheTest, UnsafeNamesAreNeverCachedAndOpenNoDevice)
{
    ImportPatch patch{"kernel32.dll", "CreateFileA", reinterpret_cast<void*>(&CountingCreateFileA)};
    ASSERT_TRUE(patch.Installed());
    devicesOpened = 0;
    // A device name matters where it begins the file name: in the user name.
    const char* devices[] = {"nul .y", "com1 .x", "nul.txt", "aux. .b", "lpt9.log", "conin$.a", "conout$ ..",
                             "prn.x", "com0.x", "lpt1 .x"};
    const char* unsafe[] = {"", ".", "..", "..\\..\\evil", "a\\b", "tab\there", "a/b", "a:b", "a*", "a?", "a\"b",
                            "a<b", "a>b", "a|b"};
    std::vector<std::pair<std::string, std::string>> accounts;
    for (const char* name : devices)
        accounts.emplace_back(name, "d1");
    for (const char* name : unsafe) {
        accounts.emplace_back(name, "d1");
        accounts.emplace_back("u1", name);
    }
    for (const auto& [user, domain] : accounts) {
        SCOPED_TRACE(user + "@" + domain);
        cache.StoreHome(user, domain, Section(2, {{"a", "x"}, {"ver", "3"}}).Node());
        cache.StorePhoto(user, domain, Section(4, {{"ph", "QUJD"}, {"ver", "3"}}).Node(), false);
        for (int section : {HomeSection, PhotoSection})
            EXPECT_EQ(cache.GetCachedVersion(user, domain, section), -1);
        PhotoFields photo;
        int hidden = 0;
        EXPECT_FALSE(cache.LoadPhoto(user, domain, photo, hidden));
    }
    EXPECT_EQ(devicesOpened, 0);
    EXPECT_FALSE(KeyExists(UsersKey()));
    EXPECT_EQ(GetFileAttributesA((appPath + "\\evil@d1.b64").c_str()), INVALID_FILE_ATTRIBUTES);
}

// Names that open a plain file once escaped are cached.
TEST_F(CardCacheTest, FileNamesAreReadAsWindowsReadsThem)
{
    for (const char* name : {"con", "CON", "com1", "Nul", "ana.ruiz", "jos\xe9", "a b", "end.", "x@y", "50%", "com\xB9.z"}) {
        cache.StorePhoto(name, "mail.example.org", Section(4, {{"ph", "QUJD"}, {"ver", "4"}}).Node(), false);
        EXPECT_EQ(cache.GetCachedVersion(name, "mail.example.org", PhotoSection), 4) << name;
    }
    for (const char* name : {"com1 .x", "NUL", "nul .y", "Con.txt", "aux. .b", "lpt\xB2.a", "COM\xB3", "conin$",
                             "CONOUT$.log", "com0", "a/b", "a:b", "tab\t", "end.", "end ", ""})
        EXPECT_FALSE(IsPlainFileName(name)) << name;
    for (const char* name : {"con@d.b64", "com10.b64", "console", "nul@x.y", "conin", "lpt", ". b"})
        EXPECT_TRUE(IsPlainFileName(name)) << name;
    for (const char* name : {"", ".", "..", "a\\b", "x\x1f"})
        EXPECT_FALSE(IsSafeKeyName(name)) << name;
}

TEST_F(CardCacheTest, AccountsThatWindowsWouldConfuseKeepTheirOwnCopies)
{
    cache.StoreBasic("Ann", "d1", Section(1, {{"f", "Ann"}, {"ver", "5"}}).Node());
    cache.StorePhoto("Ann", "d1", Section(4, {{"ph", "QU5O"}, {"ver", "5"}}).Node(), false);
    IdentificationFields fields;
    int hidden = 0;
    for (int section = 1; section <= 4; ++section)
        EXPECT_EQ(cache.GetCachedVersion("ann", "d1", section), -1) << section;
    cache.LoadBasic("ann", "d1", fields, hidden);
    EXPECT_EQ(fields.first, "");

    // The next answer for "ann" takes the key over: none of Ann's sections counts for him.
    cache.StorePhoto("ann", "d1", Section(4, {{"ph", "YW5u"}, {"ver", "2"}}).Node(), false);
    EXPECT_EQ(cache.GetCachedVersion("ann", "d1", PhotoSection), 2);
    EXPECT_EQ(cache.GetCachedVersion("ann", "d1", IdentificationSection), -1);
    EXPECT_EQ(cache.GetCachedVersion("Ann", "d1", PhotoSection), -1);
    EXPECT_NE(cache.PhotoFile("Ann", "d1"), cache.PhotoFile("ann", "d1"));
    EXPECT_EQ(ReadFile(cache.PhotoFile("Ann", "d1")), "QU5O");
    EXPECT_EQ(cache.GetCachedVersion("ann", "D1", PhotoSection), -1);

    cache.StorePhoto("a@b", "c", Section(4, {{"ph", "AAAA"}, {"ver", "1"}}).Node(), false);
    cache.StorePhoto("a", "b@c", Section(4, {{"ph", "BBBB"}, {"ver", "1"}}).Node(), false);
    PhotoFields photo;
    EXPECT_TRUE(cache.LoadPhoto("a@b", "c", photo, hidden));
    EXPECT_EQ(photo.picture, "AAAA");
}

TEST_F(CardCacheTest, AKeyWrittenWithoutItsAccountCountsAsNotCachedOnce)
{
    RegKey old;
    old.SetRootKey(HKEY_LOCAL_MACHINE);
    ASSERT_TRUE(old.SetKey(cache.CardKey("u1", "d1") + "\\Home", true));
    old.WriteString("a", "Old St");
    ASSERT_TRUE(old.SetKey(cache.CardKey("u1", "d1"), false));
    old.WriteDword("hver", 3);
    old.WriteDword("bver", 3);
    EXPECT_EQ(cache.GetCachedVersion("u1", "d1", HomeSection), -1);
    cache.StoreHome("u1", "d1", Section(2, {{"a", "New St"}, {"ver", "4"}}).Node());
    EXPECT_EQ(cache.GetCachedVersion("u1", "d1", HomeSection), 4);
    EXPECT_EQ(cache.GetCachedVersion("u1", "d1", IdentificationSection), -1);
}

TEST_F(CardCacheTest, TooLongFieldsAreNotCached)
{
    cache.StoreHome("u1", "d1", Section(2, {{"a", std::string(64 * 1024 + 1, 'a')}, {"ver", "2"}}).Node());
    EXPECT_EQ(cache.GetCachedVersion("u1", "d1", HomeSection), -1);
    cache.StoreHome("u1", "d1", Section(2, {{"a", std::string(64 * 1024, 'a')}, {"ver", "3"}}).Node());
    EXPECT_EQ(cache.GetCachedVersion("u1", "d1", HomeSection), 3);
}

// ---- no data lost when a write fails

// A store that fails at any key opening or value write, or from it on,
// leaves the old version over the old values, the new over the new, or the
// section not cached.
TEST_F(CardCacheTest, FailedWritesNeverLeaveANewVersionOverOldValues)
{
    auto load = [&](int section) {
        if (section == PhotoSection) {
            PhotoFields photo;
            int hidden = 0;
            cache.LoadPhoto("u1", "d1", photo, hidden);
            return photo.picture;
        }
        AddressFields fields;
        int hidden = 0;
        cache.LoadHome("u1", "d1", fields, hidden);
        return fields.street + " " + fields.web;
    };
    auto store = [&](CardCache& into, int section, const char* value, const char* version) {
        if (section == PhotoSection)
            into.StorePhoto("u1", "d1", Section(4, {{"ph", value}, {"ver", version}}).Node(), false);
        else
            into.StoreHome("u1", "d1", Section(2, {{"a", value}, {"w", std::string("http://") + value}, {"ver", version}}).Node());
    };
    for (int section : {HomeSection, PhotoSection}) {
        std::string old = section == PhotoSection ? "OLD0" : "OLD0 http://OLD0";
        std::string fresh = section == PhotoSection ? "NEW0" : "NEW0 http://NEW0";
        for (bool onlyThatOne : {false, true}) {
            for (int k = 1; k <= 24; ++k) {
                SCOPED_TRACE(testing::Message() << section << ": write " << k << (onlyThatOne ? " alone" : " and after"));
                RegDeleteTreeA(HKEY_LOCAL_MACHINE, UsersKey().c_str());
                store(cache, section, "OLD0", "3");
                FailingRegKey failing(k, onlyThatOne);
                CardCache interrupted(failing, appPath, UsersKey());
                store(interrupted, section, "NEW0", "4");
                int version = cache.GetCachedVersion("u1", "d1", section);
                if (version == 4) {
                    EXPECT_EQ(load(section), fresh);
                } else if (version == 3) {
                    EXPECT_EQ(load(section), old);
                } else {
                    EXPECT_EQ(version, -1);
                }
                if (k > failing.writes) {
                    EXPECT_EQ(version, 4);  // nothing failed
                }
            }
        }
    }
}

TEST_F(CardCacheTest, PhotoFileThatCannotBeWrittenLeavesTheRegistryAlone)
{
    cache.StorePhoto("u1", "d1", Section(4, {{"ph", "OLD0"}, {"c", "0"}, {"ver", "3"}}).Node(), false);
    auto before = Values(cache.CardKey("u1", "d1") + "\\Photo");
    auto versionsBefore = Values(cache.CardKey("u1", "d1"));
    // A folder where the new file would go makes its creation fail.
    std::string blocker = appPath + "\\vc\\u1@d1.b64.new";
    ASSERT_TRUE(CreateDirectoryA(blocker.c_str(), nullptr));
    cache.StorePhoto("u1", "d1", Section(4, {{"ph", "NEW0"}, {"c", "1"}, {"ver", "4"}}).Node(), false);
    RemoveDirectoryA(blocker.c_str());
    EXPECT_EQ(Values(cache.CardKey("u1", "d1") + "\\Photo"), before);
    EXPECT_EQ(Values(cache.CardKey("u1", "d1")), versionsBefore);
    EXPECT_EQ(ReadFile(appPath + "\\vc\\u1@d1.b64"), "OLD0");
    EXPECT_EQ(cache.GetCachedVersion("u1", "d1", PhotoSection), 3);
}

} // namespace
