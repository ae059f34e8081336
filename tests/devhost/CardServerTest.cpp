// The reference card server's rules: versions, who sees a section that is
// not published, which names it refuses. The scripted session searches.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <random>

#include "devhost/server/CardServer.h"
#include "devhost/server/HostileAnswers.h"
#include "protocol/Messages.h"
#include "protocol/Number.h"

namespace {

IdentificationFields Named(std::string first)
{
    return {std::move(first), "", "", "", "", "", {}};
}

AddressFields InCity(std::string city)
{
    return {"", "", "", "", std::move(city), "", "", "", "", "", "", ""};
}

// A parsed answer; lookups that miss give EmptyNode().
struct Answer {
    explicit Answer(const std::string& xml) { doc.Parse(xml); }
    const XmlNode& Section(int number) const
    {
        const XmlNode& ps = doc.FindChild("ps");
        for (const XmlNode* typ = &ps.FindChild("typ"); !typ->GetText().empty(); typ = &ps.FindNextChild("typ", *typ))
            if (ReadNumber(typ->GetText()) == number)
                return *typ;
        return EmptyNode();
    }
    int Status(int number) const { return ReadNumber(Section(number).ChildText("err")); }
    std::string Field(int number, const char* tag) const { return Section(number).ChildText(tag); }
    XmlDocument doc;
};

class CardServerTest : public testing::Test {
protected:
    void TearDown() override { std::filesystem::remove_all(folder); }
    void Publish(const std::string& user, const std::unique_ptr<XmlDocument>& message)
    {
        EXPECT_EQ(server->Handle(user, "x.net", message->GetXml(), {}), "");
        EXPECT_TRUE(server->LastWriteSucceeded());
    }
    Answer Request(const std::string& from, const std::string& user, std::array<int, 4> versions,
                   const ContactTest& contacts = {})
    {
        return Answer(server->Handle(from, "x.net", CardRequest(user, "x.net", versions)->GetXml(), contacts));
    }

    std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("cardserver-" + std::to_string(std::random_device()()));
    std::unique_ptr<CardServer> server = std::make_unique<CardServer>(folder);
};

// Statuses: 201 with the data when the version sent differs (or is -1), 200
// when it is current, 404 when there is nothing the requester may see; the
// owner's sections never published come back empty with version -1.
TEST_F(CardServerTest, VersionsAndWhoSeesASectionThatIsNotPublished)
{
    Publish("bob", PublishIdentification(Named("Bob"), 1, 0));
    Publish("bob", PublishHome(InCity("Lima"), 0, 0));
    Publish("bob", PublishPhoto(PhotoFields{"QUJD"}, 0, 0));
    Publish("bob", PublishPhotoFlag(1));  // the flag alone keeps the picture
    EXPECT_EQ(Request("bob", "bob", {-1, -1, -1, -1}).Field(4, "ph"), "QUJD");
    struct {
        const char* who;
        std::string from;
        ContactTest contacts;
        int identification, business, photo;
    } rows[] = {{"owner", "bob", {}, 201, 201, 200},
              {"contact", "ana", [](auto& user, auto&) { return user == "bob"; }, 201, 404, 200},
              {"stranger", "ana", [](auto& user, auto&) { return user == "carl"; }, 404, 404, 404},
              {"no contact test", "ana", {}, 404, 404, 404}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.who);
        Answer answer = Request(row.from, "bob", {-1, 0, 0, 0}, row.contacts);
        EXPECT_EQ(answer.Status(1), row.identification);
        EXPECT_EQ(answer.Section(1).HasChild("f"), row.identification == 201);
        EXPECT_EQ(answer.Status(2), 200);
        EXPECT_EQ(answer.Status(3), row.business);
        EXPECT_EQ(answer.Field(3, "ver"), row.business == 201 ? "-1" : "");
        EXPECT_EQ(answer.Status(4), row.photo);
        EXPECT_EQ(answer.Field(4, "c"), row.photo == 200 ? "1" : "");
        EXPECT_EQ(Request(row.from, "bob", {-1, 1, -1, -1}, row.contacts).Status(2), 201);
    }
    EXPECT_EQ(Request("new", "new", {-1, -1, -1, -1}).Status(1), 201);
    EXPECT_EQ(Request("ana", "new", {-1, -1, -1, -1}).Status(1), 404);
}

TEST_F(CardServerTest, UnsafeNamesGetNoAnswer)
{
    for (const std::string& name : HostileAccountNames()) {
        SCOPED_TRACE(name);
        EXPECT_EQ(server->Handle(name, "x.net", PublishIdentification(Named("E"), 0, 0)->GetXml(), {}), "");
        EXPECT_EQ(server->Handle("eve", name, PublishIdentification(Named("E"), 0, 0)->GetXml(), {}), "");
        EXPECT_EQ(server->Handle(name, "x.net", SearchRequest({})->GetXml(), {}), "");
        EXPECT_EQ(server->Handle("eve", "x.net", CardRequest(name, "x.net", {-1, -1, -1, -1})->GetXml(), {}), "");
    }
    EXPECT_EQ(server->AccountCount(), 0u);
    EXPECT_FALSE(std::filesystem::exists(folder));
}

} // namespace
