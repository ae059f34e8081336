#include "tests/dialogs/CardDialogFixture.h"

#include <shlobj.h>

#include "support/Base64.h"
#include "support/CodePage.h"
#include "support/VCard.h"

namespace {

using namespace fakes;

class CardVCardTest : public CardDialogTest {
protected:
    // A right click on the heading of a page.
    void RightClickHeading(CWnd& page)
    {
        RECT heading = {};
        GetWindowRect(Item(page, IDC_HEADING), &heading);
        SendMessageA(page.GetSafeHwnd(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(page.GetSafeHwnd()),
            MAKELPARAM(heading.left + 5, heading.top + 3));
    }
    void Drop(const std::string& path)
    {
        HGLOBAL drop = GlobalAlloc(GHND, sizeof(DROPFILES) + path.size() + 2);
        auto* files = static_cast<DROPFILES*>(GlobalLock(drop));
        files->pFiles = sizeof(DROPFILES);
        path.copy(reinterpret_cast<char*>(files + 1), path.size());
        GlobalUnlock(drop);
        SendMessageA(dialog->GetSafeHwnd(), WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0);
    }
    std::string Saved()
    {
        chosenFile = TempPath("saved card.vcf");
        DeleteFileA(chosenFile.c_str());
        SendMessageA(dialog->GetSafeHwnd(), WM_SYSCOMMAND, CardDialog::SaveVCardCommand, 0);
        return ReadFile(chosenFile);
    }
};

TEST_F(CardVCardTest, SaveAsVCardWritesWhatAViewerShowsAndLeavesOutSectionsNotShown)
{
    auto& identification = dialog->Identification();
    identification.fields = {"Jos\xE9", "Mu\xF1oz", "", "Dr.", "", "pp", {"a@x.org", "b@x.org"}};
    identification.UpdateControls();
    identification.ShowContent();
    identification.SetPhotoData(Base64Encode(BitmapFile(), true));
    dialog->Home().fields.street = "Calle 1\r\nPiso 2";
    dialog->Home().fields.phone = "555, 1";
    dialog->Home().fields.web = "http://";
    dialog->Home().UpdateControls();
    dialog->Home().ShowContent();
    dialog->Business().fields.company = "Acme";
    dialog->Business().UpdateControls();  // still waiting

    RECT city = {};
    GetWindowRect(Item(dialog->Home(), IDC_CITY), &city);
    SendMessageA(dialog->Home().GetSafeHwnd(), WM_CONTEXTMENU, 0, MAKELPARAM(city.left + 2, city.top + 2));
    EXPECT_EQ("", menuItems);  // only the heading has the menu
    RightClickHeading(dialog->Business());
    EXPECT_EQ("Save as vCard...|Try again", menuItems);
    std::string file = Saved();
    EXPECT_EQ("Contact One.vcf vcf", proposedName);
    EXPECT_TRUE(IsUtf8(file));
    for (const char* line : {"\r\nFN:Dr. Jos\xC3\xA9 Mu\xC3\xB1oz\r\nN:Mu\xC3\xB1oz;Jos\xC3\xA9;;Dr.;\r\nNICKNAME:pp\r\n"
                             "EMAIL;PREF=1:a@x.org\r\nEMAIL:b@x.org\r\nADR;TYPE=home:;;Calle 1\\nPiso 2;;;;\r\n"
                             "TEL;TYPE=home,voice:555\\, 1\r\nPHOTO:data:image/bmp;base64,",
             "\r\nX-VCARD-PC-ACCOUNT:c1@d1\r\nEND:VCARD\r\n"})
        EXPECT_NE(std::string::npos, file.find(line)) << file;
    EXPECT_EQ(BitmapFile(), ReadVCard(file)->photo);
    EXPECT_EQ(std::string::npos, file.find("Acme"));  // still waiting

    identification.fields.friendly = "Pepe";
    identification.UpdateControls();
    EXPECT_EQ("Pepe", ReadVCard(Saved())->formattedName);
    identification.ShowError();
    auto waiting = ReadVCard(Saved());
    EXPECT_EQ("Contact One|||", waiting->formattedName + "|" + waiting->given + "|" + waiting->nickname + "|"
        + (waiting->emails.empty() ? "" : "emails"));
    EXPECT_TRUE(boxes.empty());
}

TEST_F(CardVCardTest, ImportTypesIntoTheOwnCardAndMarksOnlyTheSectionsItChanges)
{
    HMENU system = GetSystemMenu(dialog->GetSafeHwnd(), FALSE);
    EXPECT_EQ(static_cast<UINT>(-1), GetMenuState(system, CardDialog::ImportVCardCommand, MF_BYCOMMAND));
    MakeEditor();
    dialog->SetLanguage(0);
    char text[64] = {};
    GetMenuStringA(system, CardDialog::ImportVCardCommand, text, sizeof text, MF_BYCOMMAND);
    EXPECT_STREQ("Importar vCard...", text);
    dialog->SetLanguage(1);
    auto& identification = dialog->Identification();
    identification.fields.first = "Old";
    identification.fields.emails = {"old@x"};
    identification.UpdateControls();
    dialog->Home().fields.city = "Lima";
    dialog->Home().fields.web = "http://";
    dialog->Home().UpdateControls();

    std::string card = "BEGIN:VCARD\r\nVERSION:2.1\r\nN;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:Ko=C5=82o;Jos=\r\n"
                       "=C3=A9;;;\r\nFN:Jos\xC3\xA9 Ko\xC5\x82o\r\n";
    for (int i = 1; i <= 11; ++i)
        card += "EMAIL;INTERNET:" + std::to_string(i) + "@x\r\n";
    card += "ADR;HOME:;;;Lima;;;\r\nADR;WORK;ENCODING=QUOTED-PRINTABLE:;;Av. Sol 5=0D=0AOf. 3;Quito;;;\r\n"
            "ORG:Acme;Sales\r\nPHOTO;ENCODING=BASE64;TYPE=BMP:\r\n " + Base64Encode(BitmapFile(), false)
            + "\r\n\r\nEND:VCARD\r\n";
    chosenFile = TempPath("import.vcf");
    std::ofstream(chosenFile, std::ios::binary) << card;
    menuChoice = CardDialog::ImportVCardCommand;
    RightClickHeading(dialog->Home());
    EXPECT_EQ("Save as vCard...|Import vCard...|Try again", menuItems);

    EXPECT_EQ("Jos\xE9|Ko?o|", Text(Item(identification, IDC_FIRST)) + "|" + Text(Item(identification, IDC_LAST))
        + "|" + Text(Item(identification, IDC_FRIENDLY)));
    EXPECT_EQ(10, ListView_GetItemCount(Item(identification, IDC_ADDRESSES)));
    EXPECT_EQ("Av. Sol 5\r\nOf. 3|Quito|Acme|Sales", Text(Item(dialog->Business(), IDC_STREET)) + "|"
        + Text(Item(dialog->Business(), IDC_CITY)) + "|" + Text(Item(dialog->Business(), IDC_COMPANY)) + "|"
        + Text(Item(dialog->Business(), IDC_DEPARTMENT)));
    EXPECT_EQ(BitmapFile(), identification.ShownPhoto());
    EXPECT_EQ("ibp", Changed());
    EXPECT_TRUE(Enabled(DialogItem(IDOK)));
    EXPECT_TRUE(owner.published.empty());
    EXPECT_EQ((std::vector<std::string>{
                  "Quillora: These fields lost characters that cannot be shown (they are now \"?\"):\nLastname\n\n"
                  "The file holds more than ten e-mail addresses; the first ten were taken."}),
        boxes);

    boxes.clear();
    std::string other = TempPath("not a card.vcf");
    std::ofstream(other, std::ios::binary) << "FN:Someone\r\n";
    Drop(other);
    EXPECT_EQ((std::vector<std::string>{
                  "Quillora: The file is not a vCard that can be read; the card has not changed."}),
        boxes);
    EXPECT_EQ("Ko?o", Text(Item(identification, IDC_LAST)));
}

// One message names what the card could not take; character sets are read
// through the system's converters.
TEST_F(CardVCardTest, ImportTellsInOneMessageWhatItLeftOut)
{
    MakeEditor();
    chosenFile = TempPath("phone.vcf");
    std::ofstream(chosenFile, std::ios::binary)
        << "BEGIN:VCARD\r\nVERSION:2.1\r\nN;CHARSET=WINDOWS-1250:Ko\xB3o;Jos\xE9\r\n"
           "ADR;HOME;PREF:;;Sol 1\r\nADR;HOME:;;Luna 2;Lima\r\nTEL;PAGER:1\r\nTEL;VOICE:2\r\n"
           "PHOTO;VALUE=URL:http://pics.example/a.jpg\r\nEND:VCARD\r\n";
    menuChoice = CardDialog::ImportVCardCommand;
    RightClickHeading(dialog->Home());
    EXPECT_EQ("Jos\xE9|Sol 1|2", Text(Item(dialog->Identification(), IDC_FIRST)) + "|"
        + Text(Item(dialog->Home(), IDC_STREET)) + "|" + Text(Item(dialog->Home(), IDC_PHONE)));
    EXPECT_EQ((std::vector<std::string>{
                  "Quillora: These fields lost characters that cannot be shown (they are now \"?\"):\nLastname\n\n"
                  "These addresses were left out:\nLuna 2, Lima (home)\n\nThese phone numbers were left out:\n"
                  "1 (pager)\n\nThe photo is on the web and was not fetched:\nhttp://pics.example/a.jpg"}),
        boxes);

    // A photo that is no picture is named in the same message, not in a box of its own.
    boxes.clear();
    std::ofstream(chosenFile, std::ios::binary)
        << "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Ko\xC5\x82o;Ana\r\nPHOTO;ENCODING=b:"
        << Base64Encode("no picture at all", false) << "\r\nEND:VCARD\r\n";
    RightClickHeading(dialog->Home());
    EXPECT_EQ((std::vector<std::string>{
                  "Quillora: These fields lost characters that cannot be shown (they are now \"?\"):\nLastname\n\n"
                  "The photo in the file could not be read."}),
        boxes);
    EXPECT_EQ("Ana", Text(Item(dialog->Identification(), IDC_FIRST)));
}

// Beyond 4 MB a file is read when its first card ends before; else it is too
// large, not "no vCard".
TEST_F(CardVCardTest, ImportOfALargeFileReadsItsFirstCard)
{
    MakeEditor();
    std::string filler = "NOTE:" + std::string(5 << 20, 'x') + "\r\n";
    chosenFile = TempPath("book.vcf");
    menuChoice = CardDialog::ImportVCardCommand;
    std::ofstream(chosenFile, std::ios::binary) << "BEGIN:VCARD\r\nN:Rivas\r\nEND:VCARD\r\nBEGIN:VCARD\r\n" << filler;
    RightClickHeading(dialog->Home());
    std::ofstream(chosenFile, std::ios::binary) << "BEGIN:VCARD\r\nN:Other\r\n" << filler << "END:VCARD\r\n";
    RightClickHeading(dialog->Home());
    EXPECT_EQ("Rivas", Text(Item(dialog->Identification(), IDC_LAST)));
    EXPECT_EQ((std::vector<std::string>{"Quillora: The file is too large: its first card does not end within its "
                                        "first 4 MB; the card has not changed."}),
        boxes);
}

} // namespace
