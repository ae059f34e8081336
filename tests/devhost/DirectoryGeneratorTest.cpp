#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <map>
#include <set>

#include "devhost/server/CardServer.h"
#include "devhost/server/DirectoryGenerator.h"
#include "protocol/Card.h"
#include "protocol/Messages.h"
#include "support/Base64.h"
#include "tests/devhost/TestSupport.h"

namespace {

std::map<std::string, std::string> FolderBytes(const std::filesystem::path& folder)
{
    std::map<std::string, std::string> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
        if (!entry.is_regular_file())
            continue;
        std::ifstream in(entry.path(), std::ios::binary);
        files[std::filesystem::relative(entry.path(), folder).generic_string()] =
            std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    return files;
}

TEST(DirectoryGeneratorTest, SameSeedGivesTheSameFilesByteForByte)
{
    TempFolder first, second, other;
    EXPECT_EQ(GenerateDirectory(first.path, 60, 42), 60);
    EXPECT_EQ(GenerateDirectory(second.path, 60, 42), 60);
    EXPECT_EQ(GenerateDirectory(other.path, 60, 43), 60);
    auto bytes = FolderBytes(first.path);
    EXPECT_EQ(bytes.size(), 60u);
    EXPECT_EQ(bytes, FolderBytes(second.path));
    EXPECT_NE(bytes, FolderBytes(other.path));
}

TEST(DirectoryGeneratorTest, CardsAreVariedWithSafeNamesAndValidSmallPhotos)
{
    auto cards = GenerateCards(500, 3);
    std::set<std::string> users;
    int accented = 0, hidden = 0, held = 0, photos = 0;
    for (const CardRecord& card : cards) {
        SCOPED_TRACE(card.user);
        EXPECT_TRUE(IsSafeAccountName(card.user) && IsSafeAccountName(card.domain));
        users.insert(card.user);
        std::string name = card.Field(IdentificationSection, "f") + card.Field(IdentificationSection, "l");
        accented += name.find_first_of("\xe1\xe9\xed\xf3\xfa\xf1\xc1") != std::string::npos;
        for (const StoredSection& section : card.sections) {
            held += section.held;
            hidden += section.held && section.notPublished;
        }
        if (card.Section(PhotoSection).held) {
            ++photos;
            std::string bytes = Base64Decode(card.Field(PhotoSection, "ph"));
            EXPECT_EQ(BmpProblem(bytes), "");
            EXPECT_LE(bytes.size(), 8192u);
        }
    }
    EXPECT_EQ(users.size(), cards.size());
    EXPECT_GT(accented, 100);
    EXPECT_GT(hidden, held / 10);
    EXPECT_LT(hidden, held / 2);
    EXPECT_GT(photos, 50);
}

TEST(DirectoryGeneratorTest, AGeneratedFolderServesSearches)
{
    TempFolder folder;
    auto cards = GenerateCards(300, 5);
    ASSERT_EQ(GenerateDirectory(folder.path, 300, 5), 300);
    CardServer server(folder.path);
    EXPECT_EQ(server.AccountCount(), 300u);

    std::set<std::string> expected, found;
    for (const CardRecord& card : cards)
        if (card.Section(IdentificationSection).held && !card.Section(IdentificationSection).notPublished &&
            card.Field(IdentificationSection, "l").find("Mu\xf1oz") != std::string::npos)
            expected.insert(card.user);
    XmlDocument answer;
    std::string request = SearchRequest({"mu\xf1oz", "", "", "", "", ""})->GetXml();
    ASSERT_TRUE(answer.Parse(server.Handle("zed", "x.net", request, {})));
    for (const XmlNode* ps = &answer.FindChild("ps"); !ps->GetText().empty(); ps = &answer.FindNextChild("ps", *ps))
        found.insert(ps->FindChild("usr").GetText());
    EXPECT_FALSE(expected.empty());
    EXPECT_EQ(found, expected);
}

} // namespace
