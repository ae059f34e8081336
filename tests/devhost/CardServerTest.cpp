#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <set>

#include "devhost/server/CardServer.h"
#include "devhost/server/HostileAnswers.h"
#include "protocol/Messages.h"
#include "protocol/Number.h"
#include "tests/devhost/TestSupport.h"

namespace {

using Users = std::set<std::string>;

SearchFields Find(std::string name, std::string email = "", std::string company = "", std::string country = "",
                  std::string state = "", std::string city = "")
{
    return {std::move(name),    std::move(email), std::move(company),
            std::move(country), std::move(state), std::move(city)};
}

IdentificationFields Names(std::string first, std::string last = "", std::string nickname = "",
                           std::vector<std::string> emails = {})
{
    return {std::move(first), std::move(last), "", "", "", std::move(nickname), std::move(emails)};
}

AddressFields Place(std::string city, std::string state, std::string country, std::string company = "")
{
    AddressFields place;
    place.company = std::move(company);
    place.street = "Main 1\r\nFloor 2";
    place.city = std::move(city);
    place.state = std::move(state);
    place.country = std::move(country);
    place.web = "Example.ORG";
    return place;
}

ContactTest ContactOf(std::string user)
{
    return [user](const std::string& u, const std::string& d) { return u == user && d == "x.net"; };
}

// A parsed answer; lookups that miss give EmptyNode().
struct Answer {
    explicit Answer(const std::string& xml) { doc->Parse(xml); }
    const XmlNode& Section(int number) const
    {
        const XmlNode& ps = doc->FindChild("ps");
        for (const XmlNode* typ = &ps.FindChild("typ"); !typ->GetText().empty(); typ = &ps.FindNextChild("typ", *typ))
            if (ReadNumber(typ->GetText()) == number)
                return *typ;
        return EmptyNode();
    }
    int Status(int number) const { return ReadNumber(Section(number).FindChild("err").GetText()); }
    std::string Field(int number, const char* tag) const { return Section(number).FindChild(tag).GetText(); }
    Users UserNames() const
    {
        Users users;
        for (const XmlNode* ps = &doc->FindChild("ps"); !ps->GetText().empty(); ps = &doc->FindNextChild("ps", *ps))
            users.insert(ps->FindChild("usr").GetText());
        return users;
    }
    std::unique_ptr<XmlDocument> doc = std::make_unique<XmlDocument>();
};

class CardServerTest : public testing::Test {
protected:
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

    TempFolder folder;
    std::unique_ptr<CardServer> server = std::make_unique<CardServer>(folder.path);
};

TEST_F(CardServerTest, VersionSentDecidesBetweenCurrentDataAndNoData)
{
    Publish("bob", PublishIdentification(Names("Bob"), 0, 3));
    Publish("neg", PublishIdentification(Names("Neg"), 0, -1));
    struct {
        const char* user;
        int sent, status;
    } rows[] = {{"bob", -1, 201}, {"bob", 3, 200}, {"bob", 2, 201}, {"bob", 4, 201}, {"neg", -1, 201}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.sent);
        Answer answer = Request("ana", row.user, {row.sent, row.sent, row.sent, row.sent});
        EXPECT_EQ(answer.Status(1), row.status);
        EXPECT_EQ(answer.Section(1).HasChild("f"), row.status == 201);
        for (int number = 2; number <= 4; ++number)
            EXPECT_EQ(answer.Status(number), CardServer::kStatusNoData);
    }
}

TEST_F(CardServerTest, TheOwnersUnpublishedSectionsComeBackEmptyForHimOnly)
{
    Publish("bob", PublishIdentification(Names("Bob"), 0, 3));
    Answer own = Request("bob", "bob", {-1, -1, -1, -1});
    EXPECT_EQ(own.Status(1), 201);
    EXPECT_EQ(own.Field(1, "f"), "Bob");
    for (int number = 2; number <= 4; ++number) {
        EXPECT_EQ(own.Status(number), 201) << number;
        EXPECT_EQ(own.Field(number, "ver"), "-1") << number;
        EXPECT_FALSE(own.Section(number).HasChild("a")) << number;
    }
    EXPECT_EQ(Request("bob", "new", {-1, -1, -1, -1}).Status(2), CardServer::kStatusNoData);
    EXPECT_EQ(Request("new", "new", {-1, -1, -1, -1}).Status(2), 201);
}

TEST_F(CardServerTest, PublishedSectionsComeBackFieldForFieldAndPhotoFlagAlone)
{
    std::vector<std::unique_ptr<XmlDocument>> sent;
    sent.push_back(PublishIdentification({"Bob", "Ruiz", "J.", "Dr.", "Bobby", "bo", {"b@x.net", "c@y.org"}}, 0, 4));
    sent.push_back(PublishHome(Place("Le\xf3n", "Castilla", "Espa\xf1" "a"), 1, 1));
    sent.push_back(PublishBusiness(Place("Lima", "Lima", "Per\xfa", "Acme & Co"), 0, 0));
    sent.push_back(PublishPhoto(PhotoFields{"QUJD\nREVG"}, 0, 7));
    for (const auto& message : sent)
        Publish("bob", message);
    Publish("bob", PublishPhotoFlag(1));

    Answer answer = Request("bob", "bob", {-1, -1, -1, -1});
    for (const auto& message : sent) {
        const XmlNode& typ = message->FindChild("typ");
        SCOPED_TRACE(typ.GetText());
        EXPECT_EQ(answer.Status(ReadNumber(typ.GetText())), 201);
        for (int i = 0; i < typ.ChildCount(); ++i) {
            const XmlNode& field = *typ.ChildAt(i);
            std::string expected = typ.GetText() == "4" && field.GetName() == "c" ? "1" : field.GetText();
            EXPECT_EQ(answer.Field(ReadNumber(typ.GetText()), field.GetName().c_str()), expected) << field.GetName();
        }
    }
    Answer current = Request("bob", "bob", {-1, -1, -1, 7});
    EXPECT_EQ(current.Status(4), 200);
    EXPECT_EQ(current.Field(4, "c"), "1");
}

TEST_F(CardServerTest, CardsSurviveANewServerOnTheSameFolder)
{
    Publish("bob", PublishHome(Place("Lima", "Lima", "Per\xfa"), 0, 0));
    Publish("bob", PublishHome(Place("Cusco", "Cusco", "Per\xfa"), 0, 1));
    Publish("bob", PublishPhoto(PhotoFields{"QUJD\nREVG"}, 0, 5));
    Publish("bob", PublishPhotoFlag(1));
    Publish("Bob", PublishIdentification(Names("Other"), 0, 9));  // distinct on a case-blind file system
    Publish("jos\xe9", PublishIdentification(Names("Jos\xe9"), 1, 2));
    std::filesystem::path file = CardFilePath(folder.path, "bob", "x.net");
    std::ofstream(file.parent_path() / "eve.xml") << CardFileText(CardRecord("dave", "x.net"));  // not its path
    std::ofstream(file.parent_path() / "cut.xml") << "<card>1\n<usr>cut";
    std::string before = Request("bob", "bob", {-1, -1, -1, -1}).doc->GetXml();

    server = std::make_unique<CardServer>(folder.path);
    EXPECT_EQ(server->AccountCount(), 3u);
    EXPECT_EQ(Request("bob", "bob", {-1, -1, -1, -1}).doc->GetXml(), before);
    EXPECT_EQ(Request("bob", "bob", {-1, 1, -1, 5}).Status(2), 200);
    EXPECT_EQ(Request("ana", "Bob", {9, -1, -1, -1}).Status(1), 200);
    EXPECT_EQ(Request("jos\xe9", "jos\xe9", {-1, -1, -1, -1}).Field(1, "c"), "1");
}

TEST_F(CardServerTest, NotPublishedSectionsReachOnlyTheOwnerAndHisContacts)
{
    Publish("bob", PublishIdentification(Names("Bob"), 1, 0));
    Publish("bob", PublishHome(Place("Lima", "Lima", "Per\xfa"), 0, 0));
    Publish("bob", PublishPhoto(PhotoFields{"QUJD"}, 1, 0));
    Publish("carl", PublishIdentification(Names("Bobby"), 1, 0));
    struct {
        const char* who;
        std::string from;
        ContactTest contacts;
        int identification, photoCurrent;
        Users named;
    } rows[] = {{"owner", "bob", {}, 201, 200, {"bob"}},
                {"contact", "ana", ContactOf("bob"), 201, 200, {"bob"}},
                {"stranger", "ana", ContactOf("carl"), 404, 404, {"carl"}},
                {"no contact test", "ana", {}, 404, 404, {}}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.who);
        Answer answer = Request(row.from, "bob", {-1, -1, -1, 0}, row.contacts);
        EXPECT_EQ(answer.Status(1), row.identification);
        EXPECT_EQ(answer.Section(1).HasChild("f"), row.identification == 201);
        EXPECT_EQ(answer.Status(2), 201);
        EXPECT_EQ(answer.Status(4), row.photoCurrent);

        EXPECT_EQ(Search(Find("bob"), row.contacts, row.from).UserNames(), row.named);
        Answer byCity = Search(Find("", "", "", "", "", "lima"), row.contacts, row.from);
        EXPECT_EQ(byCity.UserNames(), Users{"bob"});
        EXPECT_EQ(byCity.doc->FindChild("ps").FindChild("n").GetText(), row.identification == 201 ? "Bob" : "");
    }
}

TEST_F(CardServerTest, SearchMatchesEveryFilledFieldAndIgnoresEmptyOnes)
{
    Publish("jose", PublishIdentification(Names("Jos\xe9", "Garc\xed" "a", "pp", {"", "", "jg@mail.es"}), 0, 0));
    Publish("jose", PublishHome(Place("M\xe1laga", "Andaluc\xed" "a", "Espa\xf1" "a"), 0, 0));
    Publish("ann", PublishIdentification(Names("Ann", "Smith", "", {"ann@acme.com"}), 0, 0));
    Publish("ann", PublishBusiness(Place("Lima", "Lima", "Per\xfa", "Acme Ib\xe9rica"), 0, 0));
    Publish("carl", PublishHome(Place("Lima", "Ohio", "United States"), 0, 0));
    struct {
        const char* what;
        SearchFields fields;
        Users users;
    } rows[] = {
        {"all empty", Find(""), {"ann", "carl", "jose"}},
        {"first name, any case", Find("JOS"), {"jose"}},
        {"accent byte for byte", Find("jos\xe9"), {"jose"}},
        {"no accent does not match an accent", Find("jose"), {}},
        {"accented capital is not folded", Find("JOS\xc9"), {}},
        {"first and last name", Find("jos\xe9 garc"), {"jose"}},
        {"nickname", Find("PP"), {"jose"}},
        {"e-mail in a later slot", Find("", "JG@"), {"jose"}},
        {"company", Find("", "", "ib\xe9rica"), {"ann"}},
        {"city in home or business", Find("", "", "", "", "", "lima"), {"ann", "carl"}},
        {"state", Find("", "", "", "", "andaluc"), {"jose"}},
        {"several fields all match", Find("ann", "", "acme", "", "", "lima"), {"ann"}},
        {"several fields, one misses", Find("ann", "", "", "", "ohio"), {}},
    };
    for (const auto& row : rows)
        EXPECT_EQ(Search(row.fields).UserNames(), row.users) << row.what;

    Answer jose = Search(Find("garc"));
    const XmlNode& result = jose.doc->FindChild("ps");
    EXPECT_EQ(result.GetText(), "1");
    std::pair<const char*, std::string> shown[] = {
        {"n", "Jos\xe9 Garc\xed" "a"}, {"em", "jg@mail.es"}, {"cp", ""},
        {"ci", "M\xe1laga"}, {"s", "Andaluc\xed" "a"}, {"t", "Espa\xf1" "a"}};
    for (const auto& [tag, text] : shown)
        EXPECT_EQ(result.FindChild(tag).GetText(), text) << tag;
    EXPECT_EQ(Search(Find("ann")).doc->FindChild("ps").FindChild("cp").GetText(), "Acme Ib\xe9rica");

    server = std::make_unique<CardServer>(folder.path, 2);
    EXPECT_EQ(Search(Find("")).UserNames().size(), 2u);
}

TEST_F(CardServerTest, UnsafeAccountNamesAreRefusedQuietly)
{
    std::vector<std::string> unsafe = HostileAccountNames();
    unsafe.insert(unsafe.end(), {"LPT9", "aux.log", "a:b"});
    for (const std::string& name : unsafe) {
        SCOPED_TRACE(name);
        EXPECT_EQ(server->Handle(name, "x.net", PublishIdentification(Names("E"), 0, 0)->GetXml(), {}), "");
        EXPECT_EQ(server->Handle("eve", name, PublishIdentification(Names("E"), 0, 0)->GetXml(), {}), "");
        EXPECT_EQ(server->Handle(name, "x.net", SearchRequest(Find("a"))->GetXml(), {}), "");
        EXPECT_EQ(server->Handle("eve", "x.net", CardRequest(name, "x.net", {-1, -1, -1, -1})->GetXml(), {}), "");
    }
    EXPECT_EQ(server->AccountCount(), 0u);
    EXPECT_TRUE(std::filesystem::is_empty(folder.path));

    std::string two = CardRequest("bob", "x.net", {-1, -1, -1, -1})->GetXml();
    two.insert(two.find("<ps>"), "<ps>1\n<usr>CON</usr>\n<dom>x.net</dom>\n<typ>1\n</typ>\n</ps>\n");
    EXPECT_EQ(Answer(server->Handle("eve", "x.net", two, {})).UserNames(), Users{"bob"});
}

TEST_F(CardServerTest, MessagesWithoutAnAnswer)
{
    const std::string request = CardRequest("bob", "x.net", {-1, -1, -1, -1})->GetXml();
    const std::string body = request.substr(request.find('\n') + 1);
    for (const std::string& text : {std::string(), std::string("not xml"), request.substr(0, request.size() / 2),
                                    "<msg>7\n" + body, "<card>1\n" + body.substr(0, body.rfind("</msg>")) + "</card>\n",
                                    std::string("<msg>1\n</msg>\n")})
        EXPECT_EQ(server->Handle("ana", "x.net", text, {}), "") << text;
}

} // namespace
