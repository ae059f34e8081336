#include "protocol/VCardMapping.h"

#include <gtest/gtest.h>

namespace {

CardImport Imported(const std::string& lines)
{
    return CardOfVCard(ReadVCard("BEGIN:VCARD\nVERSION:3.0\n" + lines + "\nEND:VCARD\n").value());
}

std::string LeftOutLines(const CardImport& import)
{
    std::string lines;
    for (const LeftOut& left : import.leftOut)
        lines += (lines.empty() ? "" : "|") + left.text;
    return lines;
}

TEST(VCardMapping, ACardWrittenReadsBackAsItWas)
{
    CardContact card{{"Ana", "Rivas Jr.", "Mar\xC3\xAD" "a", "Dr.", "", "an;a", {"a@x.org", "b@x.org"}},
        {"", "", "", "Calle 1\nPiso 2", "Lima", "", "15001", "Per\xC3\xBA", "+51 1", "", "+51 9", "http://ana.example"},
        {"Tesselar", "Engineer", "Research, East", "", "Quito", "", "", "", "", "+593 2", "", "http://"}, "GIF89a", ""};
    VCardContact contact = VCardOfCard(card, "Display");
    EXPECT_EQ("Dr. Ana Mar\xC3\xAD" "a Rivas Jr.|image/gif", contact.formattedName + "|" + contact.photoType);
    EXPECT_EQ(1u, contact.urls.size());  // "http://" alone is no web page
    CardImport import = CardOfVCard(*ReadVCard(WriteVCard(contact)));
    EXPECT_EQ(card, import.card);
    EXPECT_TRUE(import.leftOut.empty());
    card.identification.friendly = "Pepe";
    EXPECT_EQ("Pepe", CardOfVCard(VCardOfCard(card, "")).card.identification.friendly);
    EXPECT_EQ("Display", VCardOfCard({}, "Display").formattedName);
}

// One address a place: by preference, then an explicit HOME or WORK, then
// position. An untyped one is home's, or work's on a card that names only work.
TEST(VCardMapping, AddressChosenByPreferenceTypeAndPosition)
{
    struct Case {
        const char* lines;
        const char* home;
        const char* work;
        const char* leftOut;
    } cases[] = {
        {"ADR;TYPE=HOME;PREF=2:;;Two;Lima\nADR;TYPE=HOME;PREF=1:;;One", "One", "", "Two, Lima (home)"},
        {"ADR:;;Untyped\nADR;TYPE=HOME:;;Home", "Home", "", "Untyped"},
        {"ADR;TYPE=WORK,PREF:;;Work\nADR:;;Untyped", "", "Work", "Untyped"},
        {"ADR:;;Untyped\nTEL;TYPE=WORK:1", "", "Untyped", ""},
        {"ADR;TYPE=home,postal:Apdo. 7;Piso 3;Calle 5", "Calle 5\nPiso 3\nApdo. 7", "", ""},
        {"ADR;TYPE=dom:Apdo. 7;;;Lima\nADR;TYPE=work:;Of. 2", "", "Of. 2", "Apdo. 7, Lima (dom)"},
    };
    for (const Case& c : cases) {
        CardImport import = Imported(c.lines);
        EXPECT_EQ(std::string(c.home) + "|" + c.work + "|" + c.leftOut,
            import.card.home.street + "|" + import.card.business.street + "|" + LeftOutLines(import)) << c.lines;
    }
    EXPECT_EQ("Lima", Imported("ADR;TYPE=dom:Apdo. 7;;;Lima").card.home.city);
}

// A voice or untyped number is the phone before any other kind; fax and
// mobile fill only their own fields; then preference decides.
TEST(VCardMapping, PhonesByKindAndPreference)
{
    struct Case {
        const char* lines;
        const char* fields;  // home phone, fax, mobile; work phone, fax, mobile
        const char* leftOut;
    } cases[] = {
        {"TEL;TYPE=PAGER:1\nTEL;TYPE=VOICE:2", "2|||||", "1 (pager)"},
        {"TEL;TYPE=PAGER:1\nTEL:2", "2|||||", "1 (pager)"},
        {"TEL;TYPE=VIDEO:1", "1|||||", ""},
        {"TEL:1\nTEL;PREF=1:2", "2|||||", "1"},
        {"TEL;TYPE=CELL:1\nTEL;TYPE=CELL,PREF:2", "||2|||", "1 (cell)"},
        {"TEL;TYPE=HOME,FAX:1\nTEL;TYPE=TEXT:2\nTEL;TYPE=MAIN:3", "2|1||||", "3 (main)"},
        {"TEL;TYPE=HOME:5\nTEL;TYPE=HOME,VOICE:5\nTEL;TYPE=FAX,CELL:6", "5|6||||", ""},
        {"TEL;TYPE=WORK,VOICE:1\nTEL:2", "|||1||", "2"},
    };
    for (const Case& c : cases) {
        CardImport import = Imported(c.lines);
        const AddressFields &h = import.card.home, &w = import.card.business;
        EXPECT_EQ(std::string(c.fields) + " " + c.leftOut, h.phone + "|" + h.fax + "|" + h.mobile + "|" + w.phone + "|"
            + w.fax + "|" + w.mobile + " " + LeftOutLines(import)) << c.lines;
    }
}

TEST(VCardMapping, NamesOrganizationWebPagesAndEmails)
{
    CardImport named = Imported("N:Rivas;Ana;;Dr.;PhD\nFN:Dr. Ana Rivas PhD\nORG:Acme;Sales;East;;West");
    EXPECT_EQ("Rivas PhD|", named.card.identification.last + "|" + named.card.identification.friendly);
    EXPECT_EQ("Acme|Sales, East, West", named.card.business.company + "|" + named.card.business.department);

    CardImport work = Imported("URL:http://acme.example\nURL;TYPE=WORK:http://b.example\nTEL;TYPE=WORK:1");
    EXPECT_EQ("http://|http://b.example", work.card.home.web + "|" + work.card.business.web);
    EXPECT_EQ("http://acme.example", LeftOutLines(work));
    EXPECT_EQ("http://acme.example", Imported("URL:http://acme.example").card.home.web);

    std::string emails = "EMAIL:a@x\nEMAIL:A@X\nEMAIL:@x\nEMAIL:b@\nEMAIL:plain\n";
    for (int i = 1; i <= 10; ++i)
        emails += "EMAIL:" + std::to_string(i) + "@x\n";
    CardImport mail = Imported(emails);
    EXPECT_EQ(10u, mail.card.identification.emails.size());
    EXPECT_EQ("a@x", mail.card.identification.emails[0]);
    EXPECT_EQ("9@x", mail.card.identification.emails[9]);
    EXPECT_TRUE(mail.moreThanTenEmails);
    EXPECT_EQ("@x|b@|plain", LeftOutLines(mail));
    EXPECT_FALSE(Imported("EMAIL:a@x").moreThanTenEmails);

    CardImport elsewhere = Imported("PHOTO;VALUE=uri:http://pics.example/a.jpg");
    EXPECT_EQ((std::vector<LeftOut>{{LeftOut::PhotoAddress, "http://pics.example/a.jpg"}}), elsewhere.leftOut);
}

} // namespace
