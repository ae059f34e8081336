// The development host's parts that decide something on their own: the
// contact list's rules, the transcript, and the audit of what was written.
#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "devhost/HostObjects.h"
#include "devhost/Transcript.h"
#include "devhost/WriteAudit.h"

namespace fs = std::filesystem;

namespace {

fs::path ScratchFolder(const std::string& name)
{
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    fs::path folder = fs::path(temp) / (name + "-" + std::to_string(GetCurrentProcessId()));
    fs::remove_all(folder);
    fs::create_directories(folder);
    return folder;
}

void WriteFile(const fs::path& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
}

std::string ReadFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST(DevContactList, AddsEachWholeAddressOnceAndFindsItByExactNames)
{
    DevContactList list;
    EXPECT_TRUE(list.Add("luis@example.org", "Luis"));
    EXPECT_FALSE(list.Add("luis@example.org", "Luis again"));
    for (const char* bad : {"luis", "@example.org", "luis@", ""})
        EXPECT_FALSE(list.Add(bad, "")) << bad;
    EXPECT_TRUE(list.Add("marta@a@b", ""));  // the first '@' splits
    ASSERT_EQ(2u, list.Count());

    HostContact* luis = list.Find("luis", "example.org");
    ASSERT_NE(nullptr, luis);
    EXPECT_STREQ("Luis", luis->DisplayName());
    EXPECT_EQ(nullptr, list.Find("Luis", "example.org"));
    EXPECT_EQ(nullptr, list.Find(nullptr, "example.org"));
    HostContact* marta = list.Find("marta", "a@b");
    ASSERT_NE(nullptr, marta);
    EXPECT_STREQ("marta", marta->DisplayName());  // no display name given: the user name
    EXPECT_TRUE(marta->Services()->Has("VCARD-PC"));
    EXPECT_FALSE(marta->Services()->Has("vcard-pc"));
    EXPECT_EQ(nullptr, list.At(2));
}

TEST(Transcript, CountsMessagesNotNotesAndCutsLongAnswers)
{
    fs::path folder = ScratchFolder("devhost-transcript");
    {
        Transcript transcript;
        ASSERT_TRUE(transcript.Open((folder / "t.txt").string()));
        transcript.Sent("VCARD-PC", "<msg>1</msg>");
        transcript.Note("a note");
        transcript.Received("VCARD-PC", std::string(10000, 'x'));
        EXPECT_EQ(2, transcript.MessageCount());
    }
    std::string text = ReadFile(folder / "t.txt");
    EXPECT_NE(std::string::npos, text.find("-> server [VCARD-PC] 12 bytes\n<msg>1</msg>\n"));
    EXPECT_NE(std::string::npos, text.find("== a note\n"));
    EXPECT_NE(std::string::npos, text.find("<- server [VCARD-PC] 10000 bytes\n"));
    EXPECT_NE(std::string::npos, text.find(std::string(4096, 'x') + "\n[... cut]\n"));
    EXPECT_EQ(std::string::npos, text.find(std::string(4097, 'x')));
    fs::remove_all(folder);
}

TEST(WriteAudit, ReportsFilesAddedChangedAndRemovedOutsideTheAllowedFolderOnly)
{
    fs::path folder = ScratchFolder("devhost-audit");
    fs::create_directories(folder / "app" / "vc");
    fs::create_directories(folder / "deep");
    WriteFile(folder / "kept.txt", "one");
    WriteFile(folder / "gone.txt", "one");
    WriteFile(folder / "log.txt", "one");
    WriteAudit audit;
    audit.WatchFolder(folder, true);
    audit.Allow((folder / "app" / "vc").string());
    audit.Ignore((folder / "log.txt").string());
    audit.Before();
    EXPECT_TRUE(audit.Violations().empty());

    WriteFile(folder / "app" / "vc" / "photo.b64", "allowed");
    WriteFile(folder / "log.txt", "ignored, and longer");
    EXPECT_TRUE(audit.Violations().empty());

    WriteFile(folder / "app" / "vcx", "beside the allowed folder, not in it");
    WriteFile(folder / "deep" / "evil", "x");
    WriteFile(folder / "kept.txt", "changed size");
    fs::remove(folder / "gone.txt");
    std::vector<std::string> found = audit.Violations();
    std::string all;
    for (const std::string& line : found)
        all += line + "\n";
    EXPECT_EQ(4u, found.size()) << all;
    EXPECT_NE(std::string::npos, all.find("added ")) << all;
    EXPECT_NE(std::string::npos, all.find("vcx")) << all;
    EXPECT_NE(std::string::npos, all.find("\\deep\\evil")) << all;
    EXPECT_NE(std::string::npos, all.find("changed ")) << all;
    EXPECT_NE(std::string::npos, all.find("removed ")) << all;
    fs::remove_all(folder);
}

TEST(WriteAudit, ShallowFoldersSeeOnlyTheirOwnEntriesAndKeysAreWatchedWithTheirValues)
{
    fs::path folder = ScratchFolder("devhost-audit-shallow");
    fs::create_directories(folder / "sub");
    const char* path = "Software\\VcardDevHostAuditTest";
    RegDeleteTreeA(HKEY_CURRENT_USER, path);
    RegSetKeyValueA(HKEY_CURRENT_USER, "Software\\VcardDevHostAuditTest\\Allowed", "v", REG_SZ, "1", 2);
    RegSetKeyValueA(HKEY_CURRENT_USER, "Software\\VcardDevHostAuditTest\\Other", "v", REG_SZ, "1", 2);
    WriteAudit audit;
    audit.WatchFolder(folder, false);
    audit.WatchKey(HKEY_CURRENT_USER, "HKCU", path);
    audit.Allow(std::string("HKCU\\") + path + "\\Allowed\\");
    audit.Before();

    WriteFile(folder / "sub" / "unseen", "x");
    RegSetKeyValueA(HKEY_CURRENT_USER, "Software\\VcardDevHostAuditTest\\Allowed", "w", REG_SZ, "2", 2);
    EXPECT_TRUE(audit.Violations().empty());

    RegSetKeyValueA(HKEY_CURRENT_USER, "Software\\VcardDevHostAuditTest\\Other", "v", REG_SZ, "2", 2);
    RegSetKeyValueA(HKEY_CURRENT_USER, "Software\\VcardDevHostAuditTest\\Other\\New", "n", REG_SZ, "1", 2);
    WriteFile(folder / "seen", "x");
    std::vector<std::string> found = audit.Violations();
    std::string all;
    for (const std::string& line : found)
        all += line + "\n";
    EXPECT_EQ(4u, found.size()) << all;  // the changed value, the new key and its value, the new file
    EXPECT_NE(std::string::npos, all.find("changed hkcu\\software\\vcarddevhostaudittest\\other\\v=")) << all;
    EXPECT_NE(std::string::npos, all.find("added hkcu\\software\\vcarddevhostaudittest\\other\\new\\")) << all;
    EXPECT_NE(std::string::npos, all.find("seen")) << all;
    RegDeleteTreeA(HKEY_CURRENT_USER, path);
    fs::remove_all(folder);
}

}  // namespace
