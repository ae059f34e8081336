#include "support/VCard.h"

#include <gtest/gtest.h>

#include <string>

#include "support/CodePage.h"

namespace {

TEST(CodePage, Windows1252AndUtf8BothWays)
{
    const std::pair<std::string, std::string> same[] = {
        {"plain", "plain"}, {"\xE9\xF1", "\xC3\xA9\xC3\xB1"}, {"\x80\x8A\x99\x9F", "\xE2\x82\xAC\xC5\xA0\xE2\x84\xA2\xC5\xB8"},
        {"\x81\x8D\x8F\x90\x9D", "\xC2\x81\xC2\x8D\xC2\x8F\xC2\x90\xC2\x9D"}, {"\xFF", "\xC3\xBF"}};
    for (const auto& [cp1252, utf8] : same) {
        EXPECT_EQ(utf8, Utf8FromCp1252(cp1252));
        Cp1252Text back = Cp1252FromUtf8(utf8);
        EXPECT_EQ(cp1252, back.text);
        EXPECT_FALSE(back.lost) << cp1252;
    }
    // Characters without a byte, and malformed sequences (overlong, surrogate,
    // cut short, stray continuation), become "?".
    const std::pair<std::string, std::string> lossy[] = {{"a\xC5\x82z", "a?z"}, {"\xF0\x9F\x98\x80", "?"},
        {"\xC0\xAF", "??"}, {"\xE0\x80\xAF", "???"}, {"\xED\xA0\x80", "???"}, {"x\xC3", "x?"}, {"\x80", "?"}, {"\xC2\x85", "?"}};
    for (const auto& [utf8, cp1252] : lossy) {
        Cp1252Text back = Cp1252FromUtf8(utf8);
        EXPECT_EQ(cp1252, back.text) << utf8;
        EXPECT_TRUE(back.lost) << utf8;
    }
    EXPECT_TRUE(IsUtf8("\xE2\x82\xAC\xF0\x9F\x98\x80"));
    EXPECT_FALSE(IsUtf8("\xE9t\xE9"));
}

VCardContact Sample()
{
    return {"Dr. Ana Mar\xC3\xAD" "a", "Rivas, Soto", "Ana", "Mar\xC3\xAD" "a", "Dr.", "PhD", "an;a",
        {"ana@example.net", "a\\b@example.org"},
        {{{"home"}, 0, "Apdo. 4", "Piso 2", "Calle 1\nLado", "Lima", "", "15001", "Per\xC3\xBA"}},
        {{{"home", "voice"}, 0, "+51 1 555"}, {{"work", "fax"}, 2, "+1 555 0101"}, {{}, 0, "+1 555 0102"}},
        {{{"home"}, 0, "http://ana.example"}}, {"Tesselar", "Research", "East"}, "Engineer",
        std::string("\xFF\xD8\xFF\x00\x01", 5), "image/jpeg", "", "ana@example.net"};
}

TEST(VCardWrite, Version4WithEscapesTypesPreferenceAndDataUriReadBack)
{
    EXPECT_EQ("BEGIN:VCARD\r\nVERSION:4.0\r\nFN:Dr. Ana Mar\xC3\xAD" "a\r\nN:Rivas\\, Soto;Ana;Mar\xC3\xAD" "a;Dr.;PhD\r\n"
              "NICKNAME:an\\;a\r\nEMAIL;PREF=1:ana@example.net\r\nEMAIL:a\\\\b@example.org\r\n"
              "ADR;TYPE=home:Apdo. 4;Piso 2;Calle 1\\nLado;Lima;;15001;Per\xC3\xBA\r\nTEL;TYPE=home,voice:+51 1 555\r\n"
              "TEL;TYPE=work,fax;PREF=2:+1 555 0101\r\nTEL:+1 555 0102\r\nURL;TYPE=home:http://ana.example\r\n"
              "ORG:Tesselar;Research;East\r\n"
              "TITLE:Engineer\r\nPHOTO:data:image/jpeg;base64,/9j/AAE=\r\nX-VCARD-PC-ACCOUNT:ana@example.net\r\n"
              "END:VCARD\r\n",
        WriteVCard(Sample()));
    EXPECT_EQ(Sample(), ReadVCard(WriteVCard(Sample())));
}

TEST(VCardWrite, FoldsAt75OctetsWithoutCuttingACharacter)
{
    VCardContact c;
    c.formattedName = std::string(71, 'a') + "\xE2\x82\xAC" + std::string(200, 'b');
    std::string card = WriteVCard(c);
    std::size_t start = card.find("FN:");
    EXPECT_EQ(74u, card.find("\r\n", start) - start);  // the euro sign would end at octet 77
    for (std::size_t at = 0, next; (next = card.find("\r\n", at)) != std::string::npos; at = next + 2)
        EXPECT_LE(next - at, 75u) << card.substr(at, next - at);
    EXPECT_EQ(c, ReadVCard(card));
}

TEST(VCardRead, Version21QuotedPrintableCharsetsAndBareTypes)
{
    auto c = ReadVCard("BEGIN:VCARD\r\nVERSION:2.1\r\n"
                       "N;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:Mu=C3=B1oz;Jos=\r\n=C3=A9;;Sr.;Jr.\r\n"
                       "FN;CHARSET=ISO-8859-1;QUOTED-PRINTABLE:Jos=E9 Mu=F1oz\r\n"
                       "ADR;WORK;ENCODING=QUOTED-PRINTABLE:;;Av. Sol 5=0D=0AOf. 3;Quito;;;Ecuador\r\n"
                       "TEL;WORK;FAX:555-1\r\nTEL;CELL;PREF:555-2\r\n"
                       "EMAIL;INTERNET:b@x.ec\r\nEMAIL;PREF;INTERNET:a@x.ec\r\nTITLE;CHARSET=WINDOWS-1252:\xC3\xA9\r\n"
                       "PHOTO;ENCODING=BASE64;TYPE=GIF:\r\n R0lG\r\n ODlh\r\n\r\nEND:VCARD\r\n");
    ASSERT_TRUE(c);
    EXPECT_EQ("Mu\xC3\xB1oz|Jos\xC3\xA9||Sr.|Jr.",
        c->family + "|" + c->given + "|" + c->additional + "|" + c->prefix + "|" + c->suffix);
    EXPECT_EQ("Jos\xC3\xA9 Mu\xC3\xB1oz", c->formattedName);
    EXPECT_EQ((std::vector<VCardAddress>{{{"work"}, 0, "", "", "Av. Sol 5\nOf. 3", "Quito", "", "", "Ecuador"}}),
        c->addresses);
    EXPECT_EQ((std::vector<VCardPhone>{{{"work", "fax"}, 0, "555-1"}, {{"cell"}, 1, "555-2"}}), c->phones);
    EXPECT_EQ((std::vector<std::string>{"a@x.ec", "b@x.ec"}), c->emails);
    EXPECT_EQ("\xC3\x83\xC2\xA9", c->jobTitle);  // valid UTF-8, but the charset says otherwise
    EXPECT_EQ("GIF89a", c->photo);
    EXPECT_EQ("image/gif", c->photoType);
}

TEST(VCardRead, Version3And4Styles)
{
    auto v3 = ReadVCard("begin:vcard\nversion:3.0\nitem1.EMAIL;TYPE=INTERNET:b@x\nEMAIL;TYPE=INTERNET,PREF:a@x\n"
                        "FN:Le\\, Roy\\nII\nORG:Acme\\; Co;Sales;East\nTEL;TYPE=\"work,voice\":2\nTEL:tel:3\n"
                        "URL;TYPE=WORK:http://acme.example/a\\,b\nPHOTO;ENCODING=b;TYPE=JPEG:/9j/\n  AAE=\n"
                        "AGENT:\nBEGIN:VCARD\nFN:Agent\nEND:VCARD\nTITLE:Boss\nEND:VCARD\n"
                        "BEGIN:VCARD\nNICKNAME:second card\nEND:VCARD\n");
    ASSERT_TRUE(v3);
    EXPECT_EQ((std::vector<std::string>{"a@x", "b@x"}), v3->emails);
    EXPECT_EQ("Le, Roy\nII", v3->formattedName);
    EXPECT_EQ((std::vector<std::string>{"Acme; Co", "Sales", "East"}), v3->organization);
    EXPECT_EQ((std::vector<VCardPhone>{{{"work", "voice"}, 0, "2"}, {{}, 0, "tel:3"}}), v3->phones);
    EXPECT_EQ((std::vector<VCardUrl>{{{"work"}, 0, "http://acme.example/a,b"}}), v3->urls);
    EXPECT_EQ(std::string("\xFF\xD8\xFF\x00\x01", 5), v3->photo);
    EXPECT_EQ("image/jpeg|Boss|", v3->photoType + "|" + v3->jobTitle + "|" + v3->nickname);

    auto v4 = ReadVCard("BEGIN:VCARD\r\nVERSION:4.0\r\nEMAIL;PREF=2:b@x\r\nEMAIL;PREF=1:a@x\r\nEMAIL:c@x\r\n"
                        "TEL;VALUE=uri;TYPE=\"home,voice\";PREF=250:tel:+1-555\r\nPHOTO:data:image/png;base64,iVBO\r\n"
                        "RwA=\r\nEND:VCARD\r\n");
    ASSERT_TRUE(v4);
    EXPECT_EQ((std::vector<std::string>{"a@x", "b@x", "c@x"}), v4->emails);
    EXPECT_EQ((std::vector<VCardPhone>{{{"home", "voice"}, 100, "+1-555"}}), v4->phones);
    EXPECT_EQ("image/png", v4->photoType);
    EXPECT_EQ("\x89PN", v4->photo);  // a line that does not begin with a blank is no part of it
}

// Each card is read by its own VERSION, wherever it stands among its lines;
// a folded line is no VERSION line.
TEST(VCardRead, EachCardByItsOwnVersion)
{
    const std::pair<const char*, const char*> cases[] = {
        {"BEGIN:VCARD\nVERSION:3.0\nORG:Widgets\\, Inc.\nEND:VCARD\nBEGIN:VCARD\nVERSION:2.1\nEND:VCARD\n",
            "Widgets, Inc."},
        {"BEGIN:VCARD\nVERSION:4.0\nORG:Widgets\\, Inc. and a long name\n VERSION:2.1\nEND:VCARD\n",
            "Widgets, Inc. and a long nameVERSION:2.1"},
        {"BEGIN:VCARD\nORG:Widgets\\, Inc.\nVERSION:2.1\nEND:VCARD\n", "Widgets\\, Inc."},
        {"BEGIN:VCARD\nVERSION:3.0\nORG:Widgets\\, Inc.\nAGENT:\nBEGIN:VCARD\nVERSION:2.1\nEND:VCARD\nEND:VCARD\n",
            "Widgets, Inc."},
        {"BEGIN:VCARD\nVERSION:2.1\nORG:Widgets\n Inc.\nEND:VCARD\n", "Widgets Inc."}};
    for (const auto& [text, organization] : cases)
        EXPECT_EQ(organization, ReadVCard(text)->organization.at(0)) << text;
    VCardContact folded;
    folded.formattedName = std::string(71, 'a') + "VERSION:2.1\\,";
    EXPECT_EQ(folded, ReadVCard(WriteVCard(folded)));
}

// Character sets other than UTF-8 and Windows-1252 go through the decoder by
// their name; without one who reads them, the bytes beyond ASCII become
// U+FFFD. UTF-16 with a byte-order mark is read whole.
TEST(VCardRead, CharacterSets)
{
    CharsetDecoder cyrillic = [](const std::string& charset, std::string_view bytes) -> std::optional<std::string> {
        if (charset != "WINDOWS-1251")
            return std::nullopt;
        return bytes == "\xC0\xED\xED\xE0" ? "\xD0\x90\xD0\xBD\xD0\xBD\xD0\xB0" : "\xFF";
    };
    const std::pair<std::string, std::string> cases[] = {
        {"FN;CHARSET=windows-1251:\xC0\xED\xED\xE0", "\xD0\x90\xD0\xBD\xD0\xBD\xD0\xB0"},
        {"FN;CHARSET=KOI8-R:A\xE1", "A\xEF\xBF\xBD"},
        {"FN;CHARSET=WINDOWS-1251:\xC0", "\xEF\xBF\xBD"},  // the decoder gives no UTF-8
        {"FN;CHARSET=ISO-8859-1:\xE9", "\xC3\xA9"}, {"FN;CHARSET=SHIFT_JIS:plain", "plain"}};
    for (const auto& [line, name] : cases)
        EXPECT_EQ(name, ReadVCard("BEGIN:VCARD\n" + line + "\nEND:VCARD\n", cyrillic)->formattedName) << line;

    std::string little("\xFF\xFE", 2), big("\xFE\xFF", 2);
    for (char16_t unit : std::u16string_view(u"BEGIN:VCARD\nFN:\u00E9\xD83D\xDE00\xD800\nEND:VCARD\n")) {
        little += {static_cast<char>(unit), static_cast<char>(unit >> 8)};
        big += {static_cast<char>(unit >> 8), static_cast<char>(unit)};
    }
    for (const std::string& text : {little, big})
        EXPECT_EQ("\xC3\xA9\xF0\x9F\x98\x80\xEF\xBF\xBD", ReadVCard(text)->formattedName);

    const std::pair<const char*, int> pages[] = {{"WINDOWS-1251", 1251}, {"CP1250", 1250}, {"ISO-8859-2", 28592},
        {"ISO_8859-15", 28605}, {"ISO-8859-12", 0}, {"KOI8-R", 20866}, {"KOI8-U", 21866}, {"WINDOWS-1259", 0},
        {"UTF-7", 0}};
    for (const auto& [charset, page] : pages)
        EXPECT_EQ(page, CodePageOfCharset(charset)) << charset;
}

// A data URI whose comma is escaped, 2.1 Base64 lines without their blank,
// a picture elsewhere, and a picture that cannot be read.
TEST(VCardRead, Photos)
{
    struct Case {
        std::string lines, photo, address;
        bool unreadable;
    } cases[] = {
        {"PHOTO:data:image/gif;base64\\,R0lGODlh", "GIF89a", "", false},
        {"VERSION:2.1\nPHOTO;ENCODING=BASE64;GIF:R0lG\nODlh\n\nTITLE:x", "GIF89a", "", false},
        {"PHOTO;VALUE=uri:http://pics.example/ana.jpg", "", "http://pics.example/ana.jpg", false},
        {"PHOTO:data:image/gif,R0lGODlh", "", "", true}, {"PHOTO;ENCODING=b:!!", "", "", true},
        {"PHOTO:data:image/gif;base64,R0lGODlh" + std::string(MaxVCardLine, 'A') + "\n A", "", "", true}};
    for (const Case& c : cases) {
        VCardNotes notes;
        auto contact = ReadVCard("BEGIN:VCARD\n" + c.lines + "\nEND:VCARD\n", {}, &notes);
        EXPECT_EQ(c.photo + "|" + c.address, contact->photo + "|" + contact->photoAddress) << c.lines.substr(0, 60);
        EXPECT_TRUE(notes.ended && notes.photoUnreadable == c.unreadable) << c.lines.substr(0, 60);
    }

}

TEST(VCardWrite, MediaTypeOfAPictureFromItsFirstBytes)
{
    const std::pair<std::string, const char*> cases[] = {{"\xFF\xD8\xFF\xE0", "image/jpeg"},
        {"\x89PNG\r\n", "image/png"}, {"GIF89a", "image/gif"}, {"BM6", "image/bmp"},
        {std::string("\0\0\1\0", 4), "image/vnd.microsoft.icon"}, {std::string("\0\0\2\0", 4), "application/octet-stream"},
        {"\xFF\xD8", "application/octet-stream"}, {"", "application/octet-stream"}};
    for (const auto& [bytes, type] : cases)
        EXPECT_EQ(type, PictureMediaType(bytes)) << bytes;
}

TEST(VCardRead, TextsThatAreNotACardAndOddBytes)
{
    for (const char* text : {"", "FN:Ana\r\n", "<xml/>", "BEGINVCARD\nEND:VCARD\n", "END:VCARD\nFN:x\n"})
        EXPECT_FALSE(ReadVCard(text)) << text;
    VCardNotes notes;
    auto c = ReadVCard("\xEF\xBB\xBF" "BEGIN:VCARD\nFN:Jos\xE9\rGarc\xC3\xAD" "a\nNICKNAME\nTEL;TYPE=\"x:y\nFN:no end",
        {}, &notes);
    ASSERT_TRUE(c);
    EXPECT_FALSE(notes.ended);
    EXPECT_EQ("Jos\xC3\xA9\nGarc\xC3\x83\xC2\xAD" "a", c->formattedName);
}

} // namespace
