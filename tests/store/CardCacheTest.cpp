#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "frame/HostSettings.h"
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
};

// Fails every key opening and value write from the k-th on (an interrupted
// store), or only the k-th.
struct FailingRegKey : RegKey {
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
    bool Pass() const { return onlyThatOne ? ++writes != failAt : ++writes < failAt; }

    mutable int writes = 0;
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

    int Version(int section, const std::string& user = "u1", const std::string& domain = "d1")
    {
        return cache.GetCachedVersion(user, domain, section);
    }
    void StorePhoto(const std::string& user, const std::string& domain, const char* picture, const char* version)
    {
        cache.StorePhoto(user, domain, Section(4, {{"ph", picture}, {"ver", version}}).GetRoot(), false);
    }
    // The photo text loaded, "" when it is not; a failed load leaves the fields alone.
    std::string LoadedPhoto(const std::string& user = "u1", const std::string& domain = "d1")
    {
        PhotoFields photo{"untouched"};
        bool loaded = cache.LoadPhoto(user, domain, photo, hidden);
        return loaded ? photo.picture : photo.picture == "untouched" ? "" : "changed by a failed load";
    }
    AddressFields LoadedHome()
    {
        AddressFields fields;
        cache.LoadHome("u1", "d1", fields, hidden);
        return fields;
    }

    RegKey key;
    std::string appPath;
    CardCache cache{key, appPath, UsersKey()};
    int hidden = -1;
};

// Nothing cached gives -1. Every field is written, a missing one empty, so
// nothing of an older copy stays; the flag and version are numbers (0 when
// absent or not a number); a version whose section key is gone counts as not
// cached.
TEST_F(CardCacheTest, StoredSectionsAnswerTheirVersionAndLoadTheirFields)
{
    for (int section : {1, 2, 3, 4, 0, 5})
        EXPECT_EQ(Version(section), -1) << section;
    cache.StoreHome("u1", "d1", Section(2, {{"a", "Main St 1"}, {"p", "555"}, {"w", "WWW.X.ORG"}, {"c", "1"},
                                            {"ver", "7"}}).GetRoot());
    EXPECT_EQ(Version(HomeSection), 7);
    EXPECT_EQ(Version(BusinessSection), -1);
    AddressFields home = LoadedHome();
    EXPECT_EQ(home.street + "|" + home.phone + "|" + home.web, "Main St 1|555|http://www.x.org");
    EXPECT_EQ(hidden, 1);
    cache.StoreHome("u1", "d1", Section(2, {{"a", "Side St 2"}, {"c", "yes"}}).GetRoot());
    home = LoadedHome();
    EXPECT_EQ(home.street + "|" + home.phone, "Side St 2|");
    EXPECT_EQ(hidden, 0);
    EXPECT_EQ(Version(HomeSection), 0);

    cache.StoreBasic("u1", "d1", Section(1, {{"f", "Ana"}, {"nk", "an"}, {"e0", "a@x.org"}, {"e2", "b@y.org"},
                                             {"e10", "lost@z.org"}, {"ver", "3"}}).GetRoot());
    IdentificationFields fields;
    fields.emails = {"old@q.org"};
    cache.LoadBasic("u1", "d1", fields, hidden);
    EXPECT_EQ(fields.first + "|" + fields.nickname, "Ana|an");
    EXPECT_THAT(fields.emails, ElementsAre("a@x.org", "b@y.org"));
    cache.StoreBasic("u1", "d1", Section(1, {{"e1", "c@w.org"}, {"ver", "4"}}).GetRoot());
    cache.LoadBasic("u1", "d1", fields, hidden);
    EXPECT_THAT(fields.emails, ElementsAre("c@w.org"));

    RegDeleteTreeA(HKEY_LOCAL_MACHINE, (cache.CardKey("u1", "d1") + "\\Home").c_str());
    EXPECT_EQ(Version(HomeSection), -1);
}

// The photo lives in its file; a flag alone changes only the flag; a file
// gone, turned folder or too large is not cached and not loaded; the text
// ends at its first zero byte; a file that cannot be written changes nothing.
TEST_F(CardCacheTest, PhotoLivesInItsFileAndFollowsIt)
{
    StorePhoto("u1", "d1", "QUJD\nREVG\n", "5");
    std::string file = appPath + "\\vc\\u1@d1.b64";
    EXPECT_EQ(ReadFile(file), "QUJD\nREVG\n");
    EXPECT_EQ(Version(PhotoSection), 5);
    cache.StorePhoto("u1", "d1", Section(4, {{"ph", "BBBB"}, {"c", "1"}, {"ver", "9"}}).GetRoot(), true);
    EXPECT_EQ(Version(PhotoSection), 5);
    EXPECT_EQ(LoadedPhoto(), "QUJD\nREVG\n");
    EXPECT_EQ(hidden, 1);
    std::ofstream(file, std::ios::binary).write("AB\0CD", 5);
    EXPECT_EQ(LoadedPhoto(), "AB");

    DeleteFileA(file.c_str());
    EXPECT_EQ(Version(PhotoSection), -1);
    EXPECT_EQ(LoadedPhoto(), "");
    CreateDirectoryA(file.c_str(), nullptr);
    EXPECT_EQ(Version(PhotoSection), -1);
    EXPECT_EQ(LoadedPhoto(), "");
    RemoveDirectoryA(file.c_str());
    std::ofstream(file, std::ios::binary) << std::string(CardCache::MaxPhotoFileSize + 1, 'Q');
    EXPECT_EQ(Version(PhotoSection), -1);
    EXPECT_EQ(LoadedPhoto(), "");

    // A folder where the new file would go makes its creation fail: the
    // registry and the former file are left alone.
    cache.StorePhoto("u1", "d1", Section(4, {{"ph", "OLD0"}, {"c", "0"}, {"ver", "3"}}).GetRoot(), false);
    ASSERT_TRUE(CreateDirectoryA((file + ".new").c_str(), nullptr));
    cache.StorePhoto("u1", "d1", Section(4, {{"ph", "NEW0"}, {"c", "1"}, {"ver", "4"}}).GetRoot(), false);
    RemoveDirectoryA((file + ".new").c_str());
    EXPECT_EQ(Version(PhotoSection), 3);
    EXPECT_EQ(LoadedPhoto(), "OLD0");
    EXPECT_EQ(hidden, 0);

    EXPECT_EQ(CardCache(key, appPath + "\\", UsersKey()).PhotoFile("u", "d"), appPath + "\\vc\\u@d.b64");
    // A tilde could make a name another file's short name: "ab@cde~1.b64".
    EXPECT_EQ(cache.PhotoFile("ab", "cde~1"), appPath + "\\vc\\ab@cde%7E1.b64");
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
    auto neverCached = [&](const std::string& user, const std::string& domain) {
        SCOPED_TRACE(user + "@" + domain);
        cache.StoreHome(user, domain, Section(2, {{"a", "x"}, {"ver", "3"}}).GetRoot());
        StorePhoto(user, domain, "QUJD", "3");
        EXPECT_EQ(Version(HomeSection, user, domain), -1);
        EXPECT_EQ(Version(PhotoSection, user, domain), -1);
        EXPECT_EQ(LoadedPhoto(user, domain), "");
    };
    // A device name matters where it begins the file name: in the user name.
    for (const char* name : {"nul .y", "com1 .x", "nul.txt", "aux. .b", "lpt9.log", "conin$.a", "conout$ ..", "prn.x",
                             "com0.x", "lpt1 .x"})
        neverCached(name, "d1");
    for (const char* name : {"", ".", "..", "..\\..\\evil", "a\\b", "tab\there", "a/b", "a:b", "a*", "a?", "a\"b",
                             "a<b", "a>b", "a|b"}) {
        neverCached(name, "d1");
        neverCached("u1", name);
    }
    EXPECT_EQ(devicesOpened, 0);
    HKEY users;
    EXPECT_NE(RegOpenKeyExA(HKEY_LOCAL_MACHINE, UsersKey().c_str(), 0, KEY_READ, &users), ERROR_SUCCESS);
    EXPECT_EQ(GetFileAttributesA((appPath + "\\evil@d1.b64").c_str()), INVALID_FILE_ATTRIBUTES);
}

// Names that open a plain file once escaped are cached.
TEST_F(CardCacheTest, NamesThatOpenAPlainFileAreCached)
{
    for (const char* name : {"con", "CON", "com1", "Nul", "ana.ruiz", "jos\xe9", "a b", "end.", "x@y", "50%", "com\xB9.z",
                             "com10.x", "console.x", "conin.x", "lpt.x", ". b"}) {
        StorePhoto(name, "mail.example.org", "QUJD", "4");
        EXPECT_EQ(Version(PhotoSection, name, "mail.example.org"), 4) << name;
    }
}

TEST_F(CardCacheTest, AccountsThatWindowsWouldConfuseKeepTheirOwnCopies)
{
    cache.StoreBasic("Ann", "d1", Section(1, {{"f", "Ann"}, {"ver", "5"}}).GetRoot());
    StorePhoto("Ann", "d1", "QU5O", "5");
    for (int section = 1; section <= 4; ++section)
        EXPECT_EQ(Version(section, "ann"), -1) << section;
    IdentificationFields fields;
    cache.LoadBasic("ann", "d1", fields, hidden);
    EXPECT_EQ(fields.first, "");

    // The next answer for "ann" takes the key over: none of Ann's sections counts for him.
    StorePhoto("ann", "d1", "YW5u", "2");
    EXPECT_EQ(Version(PhotoSection, "ann"), 2);
    EXPECT_EQ(Version(IdentificationSection, "ann"), -1);
    EXPECT_EQ(Version(PhotoSection, "Ann"), -1);
    EXPECT_EQ(ReadFile(cache.PhotoFile("Ann", "d1")), "QU5O");
    EXPECT_EQ(Version(PhotoSection, "ann", "D1"), -1);

    StorePhoto("a@b", "c", "AAAA", "1");
    StorePhoto("a", "b@c", "BBBB", "1");
    EXPECT_EQ(LoadedPhoto("a@b", "c"), "AAAA");
}

// ---- no data lost when a write fails

// A store that fails at any key opening or value write, or from it on,
// leaves the old version over the old values, the new over the new, or the
// section not cached.
TEST_F(CardCacheTest, FailedWritesNeverLeaveANewVersionOverOldValues)
{
    auto load = [&](int section) {
        return section == PhotoSection ? LoadedPhoto() : LoadedHome().street + " " + LoadedHome().web;
    };
    auto store = [&](CardCache& into, int section, const std::string& value, const char* version) {
        if (section == PhotoSection)
            into.StorePhoto("u1", "d1", Section(4, {{"ph", value}, {"ver", version}}).GetRoot(), false);
        else
            into.StoreHome("u1", "d1", Section(2, {{"a", value}, {"w", "http://" + value}, {"ver", version}}).GetRoot());
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
                int version = Version(section);
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

} // namespace
