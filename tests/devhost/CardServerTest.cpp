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

using Account = std::pair<std::string, std::string>;

ContactTest ContactsOf(std::set<Account> contacts)
{
    return [contacts](const std::string& user, const std::string& domain) {
        return contacts.count({user, domain}) > 0;
    };
}

// A parsed answer; lookups that miss give EmptyNode().
class Answer {
public:
    explicit Answer(const std::string& xml) : doc(std::make_unique<XmlDocument>()) { parsed = doc->Parse(xml); }

    bool parsed = false;
    const XmlDocument& Doc() const { return *doc; }

    std::vector<const XmlNode*> Persons() const
    {
        std::vector<const XmlNode*> persons;
        for (const XmlNode* ps = &doc->FindChild("ps"); !ps->GetText().empty(); ps = &doc->FindNextChild("ps", *ps))
            persons.push_back(ps);
        return persons;
    }
    const XmlNode& Section(int number, std::size_t person = 0) const
    {
        auto persons = Persons();
        if (person >= persons.size())
            return EmptyNode();
        const XmlNode& ps = *persons[person];
        for (const XmlNode* typ = &ps.FindChild("typ"); !typ->GetText().empty(); typ = &ps.FindNextChild("typ", *typ))
            if (ReadNumber(typ->GetText()) == number)
                return *typ;
        return EmptyNode();
    }
    // -1 when the section is missing from the answer.
    int Status(int number, std::size_t person = 0) const
    {
        const XmlNode& typ = Section(number, person);
        return &typ == &EmptyNode() ? -1 : ReadNumber(typ.FindChild("err").GetText());
    }
    std::set<std::string> Users() const
    {
        std::set<std::string> users;
        for (const XmlNode* ps : Persons())
            users.insert(ps->FindChild("usr").GetText());
        return users;
    }

private:
    std::unique_ptr<XmlDocument> doc;
};

SearchFields Find(std::string name, std::string email = "", std::string company = "", std::string country = "",
                  std::string state = "", std::string city = "")
{
    return {std::move(name), std::move(email), std::move(company), std::move(country), std::move(state), std::move(city)};
}

IdentificationFields Names(std::string first, std::string last = "", std::string friendly = "",
                           std::string nickname = "", std::vector<std::string> emails = {})
{
    return {std::move(first), std::move(last), "", "", std::move(friendly), std::move(nickname), std::move(emails)};
}

const IdentificationFields kBobIdentification{"Bob", "Ruiz", "J.", "Dr.", "Bobby", "bo", {"bob@x.net", "b2@y.org"}};

AddressFields Home(std::string city, std::string state, std::string country)
{
    AddressFields home;
    home.street = "Main 1\r\nFloor 2";
    home.city = std::move(city);
    home.state = std::move(state);
    home.country = std::move(country);
    home.phone = "+34 600";
    home.web = "bob.example";
    return home;
}

class CardServerTest : public testing::Test {
protected:
    CardServerTest() : server(std::make_unique<CardServer>(folder.path)) {}

    void Publish(const std::string& user, const std::string& domain, const std::unique_ptr<XmlDocument>& message)
    {
        EXPECT_EQ(server->Handle(user, domain, message->GetXml(), {}), "");
        EXPECT_TRUE(server->LastWriteSucceeded());
    }
    Answer Request(const std::string& from, const std::string& user, std::array<int, 4> versions,
                   const ContactTest& contacts = {})
    {
        return Answer(server->Handle(from, "x.net", CardRequest(user, "x.net", versions)->GetXml(), contacts));
    }
    Answer Search(const std::string& from, const SearchFields& fields, const ContactTest& contacts = {})
    {
        return Answer(server->Handle(from, "x.net", SearchRequest(fields)->GetXml(), contacts));
    }
    void Reopen() { server = std::make_unique<CardServer>(folder.path); }

    TempFolder folder;
    std::unique_ptr<CardServer> server;
};

TEST_F(CardServerTest, VersionDecidesBetweenCurrentAndData)
{
    Publish("bob", "x.net", PublishIdentification(kBobIdentification, 0, 3));
    struct Row {
        int sent, status;
    } rows[] = {{-1, 201}, {3, 200}, {2, 201}, {4, 201}, {0, 201}};
    for (const Row& row : rows) {
        Answer answer = Request("ana", "bob", {row.sent, row.sent, row.sent, row.sent});
        SCOPED_TRACE(row.sent);
        EXPECT_EQ(answer.Status(1), row.status);
        EXPECT_EQ(answer.Section(1).HasChild("f"), row.status == 201);
        for (int number = 2; number <= 4; ++number)
            EXPECT_EQ(answer.Status(number), CardServer::kStatusNoData);
    }
    Answer unknown = Request("ana", "nobody", {-1, -1, -1, -1});
    for (int number = 1; number <= 4; ++number)
        EXPECT_EQ(unknown.Status(number), CardServer::kStatusNoData);
}

TEST_F(CardServerTest, AVersionOfMinusOneIsNeverCurrent)
{
    Publish("bob", "x.net", PublishIdentification(kBobIdentification, 0, -1));
    EXPECT_EQ(Request("ana", "bob", {-1, -1, -1, -1}).Status(1), 201);
}

TEST_F(CardServerTest, PublishedSectionsComeBackFieldForField)
{
    AddressFields business = Home("Lima", "Lima", "Per\xfa");
    business.company = "Acme & Co";
    business.job = "Chef";
    std::vector<std::unique_ptr<XmlDocument>> published;
    published.push_back(PublishIdentification(kBobIdentification, 0, 4));
    published.push_back(PublishHome(Home("Le\xf3n", "Castilla", "Espa\xf1" "a"), 0, 1));
    published.push_back(PublishBusiness(business, 0, 0));
    published.push_back(PublishPhoto(PhotoFields{"QUJD\nREVG"}, 0, 7));
    for (const auto& message : published)
        Publish("bob", "x.net", message);

    Answer answer = Request("ana", "bob", {-1, -1, -1, -1});
    for (const auto& message : published) {
        const XmlNode& sent = message->FindChild("typ");
        const XmlNode& got = answer.Section(ReadNumber(sent.GetText()));
        SCOPED_TRACE(sent.GetText());
        EXPECT_EQ(got.FindChild("err").GetText(), "201");
        for (int i = 0; i < sent.ChildCount(); ++i)
            EXPECT_EQ(got.FindChild(sent.ChildAt(i)->GetName()).GetText(), sent.ChildAt(i)->GetText())
                << sent.ChildAt(i)->GetName();
    }
    EXPECT_FALSE(answer.Section(1).HasChild("e2"));
}

TEST_F(CardServerTest, PhotoFlagOnlyChangesTheFlagAndKeepsThePicture)
{
    Publish("bob", "x.net", PublishPhotoFlag(1));
    EXPECT_EQ(Request("bob", "bob", {-1, -1, -1, -1}).Status(4), CardServer::kStatusNoData);

    Publish("bob", "x.net", PublishPhoto(PhotoFields{"QUJD"}, 0, 2));
    Publish("bob", "x.net", PublishPhotoFlag(1));
    Answer current = Request("bob", "bob", {-1, -1, -1, 2});
    EXPECT_EQ(current.Status(4), 200);
    EXPECT_EQ(current.Section(4).FindChild("c").GetText(), "1");
    Answer data = Request("bob", "bob", {-1, -1, -1, -1});
    EXPECT_EQ(data.Section(4).FindChild("ph").GetText(), "QUJD");
    EXPECT_EQ(data.Section(4).FindChild("c").GetText(), "1");
    EXPECT_EQ(data.Section(4).FindChild("ver").GetText(), "2");
}

TEST_F(CardServerTest, CardsSurviveANewServerOnTheSameFolder)
{
    Publish("bob", "x.net", PublishIdentification(kBobIdentification, 1, 0));
    Publish("bob", "x.net", PublishHome(Home("Lima", "Lima", "Per\xfa"), 0, 0));
    Publish("bob", "x.net", PublishHome(Home("Cusco", "Cusco", "Per\xfa"), 0, 1));  // replaces the file
    Publish("bob", "x.net", PublishPhoto(PhotoFields{"QUJD\nREVG"}, 0, 5));
    Publish("bob", "x.net", PublishPhotoFlag(1));
    Publish("Bob", "x.net", PublishIdentification(Names("Other", "Case"), 0, 9));
    Publish("jos\xe9", "x.net", PublishIdentification(Names("Jos\xe9"), 0, 2));
    std::string before = Request("bob", "bob", {-1, -1, -1, -1}).Doc().GetRoot().ToXml();

    Reopen();
    EXPECT_EQ(server->AccountCount(), 3u);
    Answer after = Request("bob", "bob", {-1, -1, -1, -1});
    EXPECT_EQ(after.Doc().GetRoot().ToXml(), before);
    EXPECT_EQ(after.Section(2).FindChild("ci").GetText(), "Cusco");
    EXPECT_EQ(after.Section(4).FindChild("c").GetText(), "1");
    EXPECT_EQ(Request("ana", "Bob", {9, -1, -1, -1}).Status(1), 200);
    EXPECT_EQ(Request("ana", "jos\xe9", {-1, -1, -1, -1}).Section(1).FindChild("f").GetText(), "Jos\xe9");
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder.path))
        EXPECT_NE(entry.path().extension(), ".tmp") << entry.path();
}

TEST_F(CardServerTest, LoadingSkipsFilesWhoseNamesDoNotMatchTheirPath)
{
    Publish("bob", "x.net", PublishIdentification(kBobIdentification, 0, 0));
    std::filesystem::path file = CardFilePath(folder.path, "bob", "x.net");
    std::filesystem::copy_file(file, file.parent_path() / "carl.xml");
    std::ofstream(file.parent_path() / "broken.xml") << "<card>1\n<usr>broken";
    Reopen();
    EXPECT_EQ(server->AccountCount(), 1u);
    EXPECT_NE(server->Find("bob", "x.net"), nullptr);
}

TEST_F(CardServerTest, NotPublishedSectionsReachOnlyTheOwnerAndHisContacts)
{
    Publish("bob", "x.net", PublishIdentification(kBobIdentification, 1, 0));
    Publish("bob", "x.net", PublishHome(Home("Lima", "Lima", "Per\xfa"), 0, 0));
    Publish("bob", "x.net", PublishPhoto(PhotoFields{"QUJD"}, 1, 0));
    struct Row {
        const char* who;
        std::string from;
        ContactTest contacts;
        int identification, photoCurrent;
    } rows[] = {
        {"owner", "bob", {}, 201, 200},
        {"contact", "ana", ContactsOf({{"bob", "x.net"}}), 201, 200},
        {"stranger", "ana", ContactsOf({{"bob", "y.net"}, {"carl", "x.net"}}), 404, 404},
        {"no contact test", "ana", {}, 404, 404},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.who);
        Answer answer = Request(row.from, "bob", {-1, -1, -1, 0}, row.contacts);
        EXPECT_EQ(answer.Status(1), row.identification);
        EXPECT_EQ(answer.Section(1).HasChild("f"), row.identification == 201);
        EXPECT_EQ(answer.Status(2), 201);
        EXPECT_EQ(answer.Status(4), row.photoCurrent);
    }
}

TEST_F(CardServerTest, SearchShowsNotPublishedSectionsOnlyToOwnerAndContacts)
{
    Publish("bob", "x.net", PublishIdentification(kBobIdentification, 1, 0));
    Publish("bob", "x.net", PublishHome(Home("Lima", "Lima", "Per\xfa"), 0, 0));
    const ContactTest contact = ContactsOf({{"bob", "x.net"}});

    EXPECT_TRUE(Search("ana", Find("bob")).Users().empty());
    EXPECT_EQ(Search("ana", Find("bob"), contact).Users(), std::set<std::string>{"bob"});
    EXPECT_EQ(Search("bob", Find("bob")).Users(), std::set<std::string>{"bob"});

    SearchFields byCity;
    byCity.city = "lima";
    Answer stranger = Search("ana", byCity);
    const XmlNode& seenByStranger = stranger.Doc().FindChild("ps");
    EXPECT_EQ(seenByStranger.FindChild("usr").GetText(), "bob");
    EXPECT_EQ(seenByStranger.FindChild("n").GetText(), "");
    EXPECT_EQ(seenByStranger.FindChild("em").GetText(), "");
    EXPECT_EQ(seenByStranger.FindChild("ci").GetText(), "Lima");
    EXPECT_EQ(Search("ana", byCity, contact).Doc().FindChild("ps").FindChild("n").GetText(), "Bob Ruiz");
}

TEST_F(CardServerTest, SearchMatchesEveryFilledFieldAndIgnoresEmptyOnes)
{
    Publish("jose", "x.net", PublishIdentification(Names("Jos\xe9", "Garc\xed" "a", "Pepe", "pp", {"", "", "", "jg@mail.es"}), 0, 0));
    Publish("jose", "x.net", PublishHome(Home("M\xe1laga", "Andaluc\xed" "a", "Espa\xf1" "a"), 0, 0));
    AddressFields acme = Home("Lima", "Lima", "Per\xfa");
    acme.company = "Acme Ib\xe9rica";
    Publish("ann", "x.net", PublishIdentification(Names("Ann", "Smith", "", "", {"ann@acme.com"}), 0, 0));
    Publish("ann", "x.net", PublishBusiness(acme, 0, 0));
    Publish("carl", "x.net", PublishHome(Home("Lima", "Ohio", "United States"), 0, 0));

    struct Row {
        const char* what;
        SearchFields fields;
        std::set<std::string> users;
    } rows[] = {
        {"all empty", Find(""), {"ann", "carl", "jose"}},
        {"first name, any case", Find("JOS"), {"jose"}},
        {"accent byte for byte", Find("jos\xe9"), {"jose"}},
        {"no accent does not match an accent", Find("jose"), {}},
        {"accent case is not folded", Find("JOS\xc9"), {}},
        {"last name", Find("smi"), {"ann"}},
        {"friendly name", Find("pepe"), {"jose"}},
        {"nickname", Find("PP"), {"jose"}},
        {"first and last name", Find("jos\xe9 garc"), {"jose"}},
        {"e-mail in a later slot", Find("", "JG@"), {"jose"}},
        {"company", Find("", "", "ib\xe9rica"), {"ann"}},
        {"city in home or business", Find("", "", "", "", "", "lima"), {"ann", "carl"}},
        {"country", Find("", "", "", "united"), {"carl"}},
        {"state", Find("", "", "", "", "andaluc\xed" "a"), {"jose"}},
        {"several fields all match", Find("ann", "", "acme", "", "", "lima"), {"ann"}},
        {"several fields, one misses", Find("ann", "", "", "", "ohio"), {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        EXPECT_EQ(Search("zed", row.fields).Users(), row.users);
    }

    SearchFields byName = Find("garc");
    Answer byJose = Search("zed", byName);
    const XmlNode& jose = byJose.Doc().FindChild("ps");
    EXPECT_EQ(jose.GetText(), "1");
    EXPECT_EQ(jose.FindChild("n").GetText(), "Jos\xe9 Garc\xed" "a");
    EXPECT_EQ(jose.FindChild("em").GetText(), "jg@mail.es");
    EXPECT_EQ(jose.FindChild("s").GetText(), "Andaluc\xed" "a");
    EXPECT_EQ(jose.FindChild("t").GetText(), "Espa\xf1" "a");
    Answer byAnn = Search("zed", Find("ann"));
    const XmlNode& ann = byAnn.Doc().FindChild("ps");
    EXPECT_EQ(ann.FindChild("cp").GetText(), "Acme Ib\xe9rica");
    EXPECT_EQ(ann.FindChild("ci").GetText(), "Lima");
}

TEST_F(CardServerTest, SearchStopsAtTheResultLimit)
{
    server = std::make_unique<CardServer>(folder.path, 3);
    for (const char* user : {"a1", "a2", "a3", "a4", "a5"})
        Publish(user, "x.net", PublishIdentification(Names("Same"), 0, 0));
    EXPECT_EQ(Search("zed", Find("same")).Persons().size(), 3u);
}

TEST_F(CardServerTest, UnsafeAccountNamesAreRefused)
{
    std::vector<std::string> unsafe = HostileAccountNames();
    unsafe.insert(unsafe.end(), {"LPT9", "aux.log", "a:b", "a/b"});
    for (const std::string& name : unsafe) {
        SCOPED_TRACE(name);
        EXPECT_EQ(server->Handle(name, "x.net", PublishIdentification(Names("Evil"), 0, 0)->GetXml(), {}), "");
        EXPECT_EQ(server->Handle("eve", name, PublishIdentification(Names("Evil"), 0, 0)->GetXml(), {}), "");
        EXPECT_EQ(server->Handle(name, "x.net", SearchRequest(Find("a"))->GetXml(), {}), "");
        EXPECT_EQ(server->Handle("eve", "x.net", CardRequest(name, "x.net", {-1, -1, -1, -1})->GetXml(), {}), "");
        EXPECT_EQ(server->Handle("eve", "x.net", CardRequest("bob", name, {-1, -1, -1, -1})->GetXml(), {}), "");
    }
    EXPECT_EQ(server->AccountCount(), 0u);
    EXPECT_TRUE(std::filesystem::is_empty(folder.path));

    XmlDocument mixed("msg", 1);
    for (const char* user : {"CON", "bob"}) {
        XmlNode& person = mixed.AddChild("ps", 1);
        person.AddChild("usr", user);
        person.AddChild("dom", "x.net");
        person.AddChild("typ", 1).AddChild("ver", -1);
    }
    EXPECT_EQ(Answer(server->Handle("eve", "x.net", mixed.GetXml(), {})).Users(), std::set<std::string>{"bob"});
}

TEST_F(CardServerTest, MessagesWithoutAnAnswer)
{
    Publish("bob", "x.net", PublishIdentification(kBobIdentification, 0, 0));
    const std::string request = CardRequest("bob", "x.net", {-1, -1, -1, -1})->GetXml();
    const std::string cases[] = {
        "",
        "not xml",
        request.substr(0, request.size() / 2),
        "<card>1\n" + request.substr(request.find('\n') + 1, request.rfind("</msg>") - request.find('\n') - 1) +
            "</card>\n",
        "<msg>7\n" + request.substr(request.find('\n') + 1),
        "<msg>1\n</msg>\n",
    };
    for (const std::string& text : cases)
        EXPECT_EQ(server->Handle("ana", "x.net", text, {}), "") << text;
}

TEST_F(CardServerTest, RequestSkipsSectionNumbersOutsideOneToFour)
{
    Publish("bob", "x.net", PublishIdentification(kBobIdentification, 0, 0));
    XmlDocument request("msg", 1);
    XmlNode& person = request.AddChild("ps", 1);
    person.AddChild("usr", "bob");
    person.AddChild("dom", "x.net");
    for (int number : {0, 5, 1})
        person.AddChild("typ", number).AddChild("ver", -1);
    Answer answer(server->Handle("ana", "x.net", request.GetXml(), {}));
    EXPECT_EQ(answer.Status(1), 201);
    EXPECT_EQ(answer.Status(0), -1);
    EXPECT_EQ(answer.Status(5), -1);
}

} // namespace
