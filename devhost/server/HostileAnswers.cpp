#include "devhost/server/HostileAnswers.h"

#include "devhost/server/DirectoryGenerator.h"
#include "protocol/Card.h"
#include "support/Base64.h"
#include "support/Xml.h"

namespace {

constexpr int kNestingLevels = 100000;

XmlNode& AddPerson(XmlDocument& doc, const std::string& user, const std::string& domain, int text = 1)
{
    XmlNode& person = doc.AddChild("ps", text);
    person.AddChild("usr", user);
    person.AddChild("dom", domain);
    return person;
}

XmlNode& AddSection(XmlNode& person, int number, int status)
{
    XmlNode& typ = person.AddChild("typ", number);
    typ.AddChild("err", status);
    return typ;
}

void EndSection(XmlNode& typ, int notPublished = 0, int version = 1)
{
    typ.AddChild(NotPublishedTag, notPublished);
    typ.AddChild(VersionTag, version);
}

void AddIdentification(XmlNode& person, const std::string& first, int number = IdentificationSection)
{
    XmlNode& typ = AddSection(person, number, StatusData);
    const char* values[] = {"", "Hostile", "X.", "Dr.", "", "hx"};
    for (std::size_t i = 0; i < std::size(IdentificationTags); ++i)
        typ.AddChild(IdentificationTags[i].tag, i == 0 ? first : values[i]);
    typ.AddChild(EmailTag(0), "hostile@example.net");
    EndSection(typ);
}

XmlNode& AddHome(XmlNode& person, const std::string& city)
{
    XmlNode& typ = AddSection(person, HomeSection, StatusData);
    for (const auto& entry : HomeTags)
        typ.AddChild(entry.tag, entry.field == &AddressFields::city ? city : "1");
    EndSection(typ);
    return typ;
}

void AddBusiness(XmlNode& person)
{
    XmlNode& typ = AddSection(person, BusinessSection, StatusData);
    for (const auto& entry : BusinessTags)
        typ.AddChild(entry.tag, "2");
    EndSection(typ);
}

void AddPhoto(XmlNode& person, const std::string& picture)
{
    XmlNode& typ = AddSection(person, PhotoSection, StatusData);
    typ.AddChild("ph", picture);
    EndSection(typ);
}

void AddFullCard(XmlNode& person, const std::string& first)
{
    AddIdentification(person, first);
    AddHome(person, "Hostile City");
    AddBusiness(person);
    AddPhoto(person, Base64Encode(MakePortraitBmp(24, 24, 7), true));
}

std::string FullCardAnswer(const std::string& user, const std::string& domain, int code = CardMessage)
{
    XmlDocument doc("msg", code);
    AddFullCard(AddPerson(doc, user, domain), "Hostile");
    return doc.GetXml();
}

std::string AllSectionsWithStatus(const std::string& user, const std::string& domain, int status)
{
    XmlDocument doc("msg", CardMessage);
    XmlNode& person = AddPerson(doc, user, domain);
    for (int number = IdentificationSection; number <= PhotoSection; ++number) {
        XmlNode& typ = AddSection(person, number, status);
        if (status == StatusCurrent && number == PhotoSection)
            typ.AddChild(NotPublishedTag, 1);
    }
    return doc.GetXml();
}

std::string Nesting(int levels)
{
    std::string xml = "<msg>1\n";
    for (int level = 1; level < levels; ++level)
        xml += "<ps>1\n";
    for (int level = 1; level < levels; ++level)
        xml += "</ps>\n";
    return xml + "</msg>\n";
}

// Answer name and the hostile user name it carries.
const std::pair<const char*, const char*> kHostileUsers[] = {
    {"name-dotdot-backslash", "..\\..\\..\\Windows\\evil"},
    {"name-dotdot-slash", "../../etc/evil"},
    {"name-con", "CON"},
    {"name-nul-txt", "NUL.txt"},
    {"name-com1", "COM1"},
    {"name-control-character", "a\x01" "b"},
    {"name-trailing-dot", "trailing."},
    {"name-empty", ""},
};

} // namespace

std::vector<std::string> HostileAccountNames()
{
    std::vector<std::string> names;
    for (const auto& [answer, name] : kHostileUsers)
        names.push_back(name);
    return names;
}

std::vector<HostileAnswer> HostileAnswers(const std::string& user, const std::string& domain)
{
    std::vector<HostileAnswer> answers;
    auto add = [&answers](std::string name, std::string what, std::string xml) {
        answers.push_back({std::move(name), std::move(what), std::move(xml)});
    };

    std::string full = FullCardAnswer(user, domain);
    add("truncated", "a card answer cut off in its middle", full.substr(0, full.size() / 2));
    add("nesting-100000", "elements nested 100,000 levels deep", Nesting(kNestingLevels));
    add("code-7", "a whole card answer under the unknown message code 7", FullCardAnswer(user, domain, 7));
    add("code-2", "a whole card answer under the publish code, which the server never sends",
        FullCardAnswer(user, domain, PublishMessage));
    add("code-missing", "a root without a message code", "<msg>\n" + full.substr(full.find('\n') + 1));
    add("status-999", "every section with status 999", AllSectionsWithStatus(user, domain, 999));
    add("status-200-uncached", "status 200 for every section, photo flag 1",
        AllSectionsWithStatus(user, domain, StatusCurrent));

    {
        XmlDocument doc("msg", CardMessage);
        XmlNode& person = AddPerson(doc, user, domain);
        AddIdentification(person, "Section0", 0);
        AddIdentification(person, "Section5", 5);
        AddIdentification(person, "AfterSections0And5");
        add("sections-0-and-5", "sections numbered 0 and 5 before a good section 1", doc.GetXml());
    }
    {
        XmlDocument doc("msg", CardMessage);
        std::string bmp = MakePortraitBmp(512, 682, 11);
        AddPhoto(AddPerson(doc, user, domain), Base64Encode(bmp, true));
        add("photo-1mb", "a photo of " + std::to_string(bmp.size()) + " bytes", doc.GetXml());
    }
    {
        XmlDocument doc("msg", CardMessage);
        AddPhoto(AddPerson(doc, user, domain), "!!not*base64~~");
        add("photo-garbage", "a photo whose text is not Base64", doc.GetXml());
    }
    for (const auto& [name, hostile] : kHostileUsers)
        add(name, "a whole card for the user name \"" + std::string(hostile) + "\"", FullCardAnswer(hostile, domain));
    add("domain-dotdot", "a whole card for the domain \"..\\..\"", FullCardAnswer(user, "..\\.."));
    add("domain-con", "a whole card for the domain \"CON\"", FullCardAnswer(user, "CON"));

    {
        XmlDocument doc("msg", SearchMessage);
        const char* results[][2] = {{"result.one", "Result One"}, {"CON", "Device <Name>"},
                                    {"..\\evil", "Dot & Dot"}};
        for (const auto& [resultUser, resultName] : results) {
            XmlNode& person = AddPerson(doc, resultUser, domain);
            for (const char* tag : {"n", "em", "cp", "ci", "s", "t"})
                person.AddChild(tag, std::string(tag) == "n" ? resultName : "x");
        }
        add("search-answer", "search results, for a search dialog that may be closed", doc.GetXml());
    }
    add("search-answer-empty", "search results without a person", XmlDocument("msg", SearchMessage).GetXml());
    {
        XmlDocument doc("msg", CardMessage);
        AddIdentification(AddPerson(doc, user, domain), "BeforeEmptyPerson");
        XmlNode& middle = AddPerson(doc, user, domain);
        AddIdentification(middle, "MustNotShow");
        middle.SetText("");
        AddIdentification(AddPerson(doc, user, domain), "MustNotShow");
        add("ps-empty-in-middle", "a person element with empty text between two others", doc.GetXml());
    }
    {
        XmlDocument doc("msg", CardMessage);
        XmlNode& person = AddPerson(doc, user, domain);
        AddIdentification(person, "BeforeEmptySection");
        AddHome(person, "MustNotShow").SetText("");
        AddHome(person, "MustNotShow");
        add("typ-empty-in-middle", "a section element with empty text between two others", doc.GetXml());
    }
    {
        XmlDocument doc("msg", CardMessage);
        AddFullCard(AddPerson(doc, user, domain, 0), "PersonTextZero");
        add("ps-text-zero", "a person element whose text is 0 (to be handled)", doc.GetXml());
    }
    {
        XmlDocument doc("msg", CardMessage);
        XmlNode& person = AddPerson(doc, user, domain);
        for (int number = IdentificationSection; number <= PhotoSection; ++number)
            AddSection(person, number, StatusData);
        add("fields-missing", "status 201 for every section without any field", doc.GetXml());
    }
    {
        XmlDocument doc("msg", CardMessage);
        XmlNode& typ = AddSection(AddPerson(doc, user, domain), IdentificationSection, StatusData);
        typ.AddChild("f", "Eleven");
        typ.AddChild(EmailTag(0), "");
        for (int slot = 1; slot <= 11; ++slot)
            typ.AddChild(EmailTag(slot), "slot" + std::to_string(slot) + "@example.net");
        typ.AddChild(NotPublishedTag, "abc");
        typ.AddChild(VersionTag, "99999999999999");
        add("eleven-emails", "e-mail slots e0 (empty) to e11, a word as flag, a version beyond 32 bits",
            doc.GetXml());
    }
    {
        XmlDocument doc("msg", CardMessage);
        XmlNode& person = AddPerson(doc, user, domain);
        AddIdentification(person, std::string(100000, 'W'));
        XmlNode& home = AddSection(person, HomeSection, StatusData);
        home.AddChild("a", "<script>alert('x')</script> & \"quotes\" &amp;lt;");
        home.AddChild("w", "javascript:alert(1)");
        EndSection(home);
        add("long-and-markup-fields", "a first name of 100,000 characters, markup and a script address",
            doc.GetXml());
    }
    add("mismatched-tags", "end tags in the wrong order",
        "<msg>1\n<ps>1\n<usr>" + Escape(user) + "</dom>\n<dom>" + Escape(domain) + "</usr>\n</msg>\n</ps>\n");
    {
        XmlDocument doc("card", CardMessage);
        AddFullCard(AddPerson(doc, user, domain), "WrongRoot");
        add("wrong-root", "a whole card answer under the root \"card\"", doc.GetXml());
    }
    add("not-xml", "plain text", "card for " + CombinedName(user, domain) + ", please");
    add("empty", "an empty message", "");
    return answers;
}
