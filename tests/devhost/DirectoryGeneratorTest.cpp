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

TEST(DirectoryGeneratorTest, ASmallerCountGivesAPrefix)
{
    auto small = GenerateCards(20, 9), large = GenerateCards(40, 9);
    for (std::size_t i = 0; i < small.size(); ++i)
        EXPECT_EQ(CardFileText(small[i]), CardFileText(large[i])) << i;
}

TEST(DirectoryGeneratorTest, PhotosAreValidBitmapsOfAtMost8192Bytes)
{
    int photos = 0;
    for (const CardRecord& card : GenerateCards(400, 3)) {
        if (!card.Section(PhotoSection).held)
            continue;
        ++photos;
        std::string bytes = Base64Decode(card.Field(PhotoSection, "ph"));
        EXPECT_EQ(BmpProblem(bytes), "") << card.user;
        EXPECT_LE(bytes.size(), 8192u) << card.user;
    }
    EXPECT_GT(photos, 50);
}

TEST(DirectoryGeneratorTest, CardsAreVariedAndNamedSafely)
{
    auto cards = GenerateCards(500, 1);
    std::set<std::string> users;
    int accented = 0, hidden = 0, published = 0, homes = 0, businesses = 0;
    for (const CardRecord& card : cards) {
        EXPECT_TRUE(IsSafeAccountName(card.user) && IsSafeAccountName(card.domain)) << card.user;
        users.insert(card.user);
        std::string name = card.Field(IdentificationSection, "f") + card.Field(IdentificationSection, "l");
        accented += name.find_first_of("\xe1\xe9\xed\xf3\xfa\xf1\xc1") != std::string::npos;
        EXPECT_EQ(card.Field(IdentificationSection, "e0"), CombinedName(card.user, card.domain));
        for (const StoredSection& section : card.sections) {
            hidden += section.held && section.notPublished;
            published += section.held && !section.notPublished;
        }
        homes += card.Section(HomeSection).held;
        businesses += card.Section(BusinessSection).held;
        if (card.Section(BusinessSection).held) {
            EXPECT_EQ(card.Field(BusinessSection, "w").rfind("http://", 0), 0u);
        }
    }
    EXPECT_EQ(users.size(), cards.size());
    EXPECT_GT(accented, 100);
    EXPECT_GT(hidden, 100);
    EXPECT_GT(published, 2 * hidden);
    EXPECT_GT(homes, 300);
    EXPECT_GT(businesses, 250);
}

TEST(DirectoryGeneratorTest, AGeneratedFolderServesSearches)
{
    TempFolder folder;
    auto cards = GenerateCards(300, 5);
    ASSERT_EQ(GenerateDirectory(folder.path, 300, 5), 300);
    CardServer server(folder.path);
    EXPECT_EQ(server.AccountCount(), 300u);

    std::set<std::string> expected;
    for (const CardRecord& card : cards)
        if (card.Section(IdentificationSection).held && !card.Section(IdentificationSection).notPublished &&
            card.Field(IdentificationSection, "l").find("Mu\xf1oz") != std::string::npos)
            expected.insert(card.user);
    ASSERT_FALSE(expected.empty());

    XmlDocument answer;
    ASSERT_TRUE(answer.Parse(server.Handle("zed", "x.net", SearchRequest(SearchFields{"mu\xf1oz", "", "", "", "", ""})->GetXml(), {})));
    std::set<std::string> found;
    for (const XmlNode* ps = &answer.FindChild("ps"); !ps->GetText().empty(); ps = &answer.FindNextChild("ps", *ps))
        found.insert(ps->FindChild("usr").GetText());
    EXPECT_EQ(found, expected);
}

} // namespace
