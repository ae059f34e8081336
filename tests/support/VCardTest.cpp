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
    VCardContact c;
    c.formattedName = "Dr. Ana Mar\xC3\xAD" "a";
    c.family = "Rivas, Soto";
    c.given = "Ana";
    c.additional = "Mar\xC3\xAD" "a";
    c.prefix = "Dr.";
    c.nickname = "an;a";
    c.emails = {"ana@example.net", "a\\b@example.org"};
    c.home = {"Calle 1\nPiso 2", "Lima", "", "15001", "Per\xC3\xBA", "+51 1 555", "", "+51 9 555", "http://ana.example"};
    c.work.voice = "+1 555 0100";
    c.work.fax = "+1 555 0101";
    c.organization = "Tesselar";
    c.unit = "Research";
    c.jobTitle = "Engineer";
    c.photo = std::string("\xFF\xD8\xFF\x00\x01", 5);
    c.photoType = "image/jpeg";
    c.account = "ana@example.net";
    return c;
}

TEST(VCardWrite, Version4WithEscapesTypesPreferenceAndDataUriReadBack)
{
    EXPECT_EQ("BEGIN:VCARD\r\nVERSION:4.0\r\nFN:Dr. Ana Mar\xC3\xAD" "a\r\nN:Rivas\\, Soto;Ana;Mar\xC3\xAD" "a;Dr.;\r\n"
              "NICKNAME:an\\;a\r\nEMAIL;PREF=1:ana@example.net\r\nEMAIL:a\\\\b@example.org\r\n"
              "ADR;TYPE=home:;;Calle 1\\nPiso 2;Lima;;15001;Per\xC3\xBA\r\nTEL;TYPE=home,voice:+51 1 555\r\n"
              "TEL;TYPE=home,cell:+51 9 555\r\nURL;TYPE=home:http://ana.example\r\n"
              "TEL;TYPE=work,voice:+1 555 0100\r\nTEL;TYPE=work,fax:+1 555 0101\r\nORG:Tesselar;Research\r\n"
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
                       "N;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:Mu=C3=B1oz;Jos=\r\n=C3=A9;;Sr.\r\n"
                       "FN;CHARSET=ISO-8859-1;QUOTED-PRINTABLE:Jos=E9 Mu=F1oz\r\n"
                       "ADR;WORK;ENCODING=QUOTED-PRINTABLE:;;Av. Sol 5=0D=0AOf. 3;Quito;;;Ecuador\r\n"
                       "TEL;WORK;FAX:555-1\r\nTEL;CELL:555-2\r\nTEL;HOME;VOICE:555-3\r\nTEL;HOME:555-4\r\n"
                       "EMAIL;INTERNET:b@x.ec\r\nEMAIL;PREF;INTERNET:a@x.ec\r\nTITLE;CHARSET=WINDOWS-1252:\xC3\xA9\r\n"
                       "PHOTO;ENCODING=BASE64;TYPE=GIF:\r\n R0lG\r\n ODlh\r\n\r\nEND:VCARD\r\n");
    ASSERT_TRUE(c);
    EXPECT_EQ("Mu\xC3\xB1oz|Jos\xC3\xA9||Sr.", c->family + "|" + c->given + "|" + c->additional + "|" + c->prefix);
    EXPECT_EQ("Jos\xC3\xA9 Mu\xC3\xB1oz", c->formattedName);
    EXPECT_EQ("Av. Sol 5\nOf. 3|Quito|Ecuador", c->work.street + "|" + c->work.city + "|" + c->work.country);
    EXPECT_EQ("555-1|555-2|555-3", c->work.fax + "|" + c->home.cell + "|" + c->home.voice);
    EXPECT_EQ((std::vector<std::string>{"a@x.ec", "b@x.ec"}), c->emails);
    EXPECT_EQ("\xC3\x83\xC2\xA9", c->jobTitle);  // valid UTF-8, but the charset says otherwise
    EXPECT_EQ("GIF89a", c->photo);
    EXPECT_EQ("image/gif", c->photoType);
}

TEST(VCardRead, Version3And4Styles)
{
    auto v3 = ReadVCard("begin:vcard\nversion:3.0\nitem1.EMAIL;TYPE=INTERNET:b@x\nEMAIL;TYPE=INTERNET,PREF:a@x\n"
                        "FN:Le\\, Roy\\nII\nORG:Acme\\; Co;Sales;East\nTEL;TYPE=WORK,CELL:1\n"
                        "TEL;TYPE=\"work,voice\":2\nTEL:tel:3\nURL;TYPE=WORK:http://acme.example/a\\,b\n"
                        "PHOTO;ENCODING=b;TYPE=JPEG:/9j/\n  AAE=\n"
                        "AGENT:\nBEGIN:VCARD\nFN:Agent\nEND:VCARD\nTITLE:Boss\nEND:VCARD\n"
                        "BEGIN:VCARD\nNICKNAME:second card\nEND:VCARD\n");
    ASSERT_TRUE(v3);
    EXPECT_EQ((std::vector<std::string>{"a@x", "b@x"}), v3->emails);
    EXPECT_EQ("Le, Roy\nII", v3->formattedName);
    EXPECT_EQ("Acme; Co|Sales", v3->organization + "|" + v3->unit);
    EXPECT_EQ("1|2|http://acme.example/a,b|tel:3",
        v3->work.cell + "|" + v3->work.voice + "|" + v3->work.url + "|" + v3->home.voice);
    EXPECT_EQ(std::string("\xFF\xD8\xFF\x00\x01", 5), v3->photo);
    EXPECT_EQ("image/jpeg|Boss|", v3->photoType + "|" + v3->jobTitle + "|" + v3->nickname);

    auto v4 = ReadVCard("BEGIN:VCARD\r\nVERSION:4.0\r\nEMAIL;PREF=2:b@x\r\nEMAIL;PREF=1:a@x\r\nEMAIL:c@x\r\n"
                        "TEL;VALUE=uri;TYPE=\"home,voice\":tel:+1-555\r\nPHOTO:data:image/png;base64,iVBO\r\n"
                        "RwA=\r\nEND:VCARD\r\n");
    ASSERT_TRUE(v4);
    EXPECT_EQ((std::vector<std::string>{"a@x", "b@x", "c@x"}), v4->emails);
    EXPECT_EQ("+1-555", v4->home.voice);
    EXPECT_EQ("image/png", v4->photoType);
    EXPECT_EQ("\x89PN", v4->photo);  // a line that does not begin with a blank is no part of it
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
    auto c = ReadVCard("\xEF\xBB\xBF" "BEGIN:VCARD\nFN:Jos\xE9\rGarc\xC3\xAD" "a\nNICKNAME\nTEL;TYPE=\"x:y\nFN:no end");
    ASSERT_TRUE(c);
    EXPECT_EQ("Jos\xC3\xA9\nGarc\xC3\x83\xC2\xAD" "a", c->formattedName);
}

} // namespace
