// The reference card server's rules: versions, who sees a section that is
// not published, what a search matches, which names and messages it refuses.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <random>
#include <set>

#include "devhost/server/CardServer.h"
#include "devhost/server/HostileAnswers.h"
#include "protocol/Messages.h"
#include "protocol/Number.h"

namespace {

using Users = std::set<std::string>;

SearchFields Find(std::string name, std::string email = "", std::string company = "", std::string city = "")
{
    return {std::move(name), std::move(email), std::move(company), "", "", std::move(city)};
}

IdentificationFields Named(std::string first)
{
    return {std::move(first), "", "", "", "", "", {}};
}

AddressFields InCity(std::string city, std::string company = "")
{
    return {std::move(company), "", "", "Main 1\r\nFloor 2", std::move(city), "", "", "", "", "", "", ""};
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
    Users UserNames() const
    {
        Users users;
        const XmlNode& root = doc.GetRoot();
        for (const XmlNode* ps = &root.FindChild("ps"); !ps->GetText().empty(); ps = &root.FindNextChild("ps", *ps))
            users.insert(ps->ChildText("usr"));
        return users;
    }
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
    Answer Search(const SearchFields& fields, const ContactTest& contacts = {}, const std::string& from = "zed")
    {
        return Answer(server->Handle(from, "x.net", SearchRequest(fields)->GetXml(), contacts));
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
    Publish("carl", PublishIdentification(Named("Bobby"), 1, 0));
    struct {
        const char* who;
        std::string from;
        ContactTest contacts;
        int identification, business, photo;
        Users named;
    } rows[] = {{"owner", "bob", {}, 201, 201, 200, {"bob"}},
              {"contact", "ana", [](auto& user, auto&) { return user == "bob"; }, 201, 404, 200, {"bob"}},
              {"stranger", "ana", [](auto& user, auto&) { return user == "carl"; }, 404, 404, 404, {"carl"}},
              {"no contact test", "ana", {}, 404, 404, 404, {}}};
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

        EXPECT_EQ(Search(Find("bob"), row.contacts, row.from).UserNames(), row.named);
        Answer byCity = Search(Find("", "", "", "lima"), row.contacts, row.from);
        EXPECT_EQ(byCity.UserNames(), Users{"bob"});
        EXPECT_EQ(byCity.doc.FindChild("ps").FindChild("n").GetText(), row.identification == 201 ? "Bob" : "");
    }
    EXPECT_EQ(Request("new", "new", {-1, -1, -1, -1}).Status(1), 201);
    EXPECT_EQ(Request("ana", "new", {-1, -1, -1, -1}).Status(1), 404);
}

TEST_F(CardServerTest, SearchMatchesEveryFilledField)
{
    Publish("jose", PublishIdentification({"Jos\xe9", "Garc\xed" "a", "", "", "", "pp", {"", "", "jg@mail.es"}}, 0, 0));
    Publish("jose", PublishHome(InCity("M\xe1laga"), 0, 0));
    Publish("ann", PublishIdentification({"Ann", "Smith", "", "", "", "", {"ann@acme.com"}}, 0, 0));
    Publish("ann", PublishBusiness(InCity("Lima", "Acme Ib\xe9rica"), 0, 0));
    Publish("carl", PublishHome(InCity("Lima"), 0, 0));
    struct { const char* what; SearchFields fields; Users users; } rows[] = {
        {"all empty", Find(""), {"ann", "carl", "jose"}},
        {"first name, any case", Find("JOS"), {"jose"}},
        {"accented capital is not folded", Find("JOS\xc9"), {}},
        {"first and last name", Find("jos\xe9 garc"), {"jose"}},
        {"nickname", Find("PP"), {"jose"}},
        {"e-mail in a later slot", Find("", "JG@"), {"jose"}},
        {"company", Find("", "", "ib\xe9rica"), {"ann"}},
        {"city in home or business", Find("", "", "", "lima"), {"ann", "carl"}},
        {"several fields all match", Find("ann", "", "acme", "lima"), {"ann"}},
        {"several fields, one misses", Find("ann", "", "", "m\xe1laga"), {}},
    };
    for (const auto& row : rows)
        EXPECT_EQ(Search(row.fields).UserNames(), row.users) << row.what;

}

TEST_F(CardServerTest, UnsafeNamesAndBrokenMessagesGetNoAnswer)
{
    for (const std::string& name : HostileAccountNames()) {
        SCOPED_TRACE(name);
        EXPECT_EQ(server->Handle(name, "x.net", PublishIdentification(Named("E"), 0, 0)->GetXml(), {}), "");
        EXPECT_EQ(server->Handle("eve", name, PublishIdentification(Named("E"), 0, 0)->GetXml(), {}), "");
        EXPECT_EQ(server->Handle(name, "x.net", SearchRequest(Find("a"))->GetXml(), {}), "");
        EXPECT_EQ(server->Handle("eve", "x.net", CardRequest(name, "x.net", {-1, -1, -1, -1})->GetXml(), {}), "");
    }
    EXPECT_EQ(server->AccountCount(), 0u);
    EXPECT_FALSE(std::filesystem::exists(folder));

    std::string request = CardRequest("bob", "x.net", {-1, -1, -1, -1})->GetXml();
    const std::string body = request.substr(request.find('\n') + 1);
    for (const std::string& text : {std::string("not xml"), request.substr(0, request.size() / 2), "<msg>7\n" + body,
                                    "<card>1\n" + body.substr(0, body.rfind("</msg>")) + "</card>\n"})
        EXPECT_EQ(server->Handle("ana", "x.net", text, {}), "") << text;
}

} // namespace
