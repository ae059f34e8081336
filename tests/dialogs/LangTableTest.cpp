#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "dialogs/LangTable.h"

namespace {

TEST(LangTable, ProductNameInBothLanguages)
{
    LangTable table(LangTexts::cardDialog, LangTexts::cardDialogCount);
    EXPECT_STREQ("Quillora", table.GetText(0));
    table.SetLanguage(LangTable::Spanish);
    EXPECT_STREQ("Quillora", table.GetText(0));
}

TEST(LangTable, StartsInEnglishAndSwitches)
{
    LangTable table(LangTexts::searchDialog, LangTexts::searchDialogCount);
    EXPECT_EQ(LangTable::English, table.GetLanguage());
    EXPECT_STREQ("Searching...\nOne moment please...", table.GetText(13));
    table.SetLanguage(LangTable::Spanish);
    EXPECT_STREQ("Buscando...\nUn momento por favor...", table.GetText(13));
    EXPECT_STREQ("Ciudad", table.GetText(20));
    table.SetLanguage(LangTable::English);
    EXPECT_STREQ("City", table.GetText(20));
}

TEST(LangTable, OnlyTwoLanguagesAreStored)
{
    LangTable table(LangTexts::launcherPanel, LangTexts::launcherPanelCount);
    table.SetLanguage(LangTable::Spanish);
    for (int other : {2, -1, 1000}) {
        table.SetLanguage(other);
        EXPECT_EQ(LangTable::Spanish, table.GetLanguage());
    }
    EXPECT_STREQ("Mi Tarjeta Virtual", table.GetText(2));
}

TEST(LangTable, IndexOutsideTheTableIsEmpty)
{
    LangTable table(LangTexts::cardService, LangTexts::cardServiceCount);
    EXPECT_STREQ("", table.GetText(3));
    EXPECT_STREQ("", table.GetText(-1));
    EXPECT_STREQ("Directory Service", table.GetText(2));
}

TEST(LangTable, TextsAreStoredInWindows1252)
{
    struct Case {
        const char* const* entries;
        int count;
        int index;
        const char* bytes;
    } cases[] = {
        {LangTexts::cardDialog, LangTexts::cardDialogCount, 6, "Identificaci\xF3n"},
        {LangTexts::businessPage, LangTexts::businessPageCount, 5, "&Tel\xE9" "fono"},
        {LangTexts::searchDialog, LangTexts::searchDialogCount, 10, "&Pais/Regi\xF3n"},
        {LangTexts::identificationPage, LangTexts::identificationPageCount, 2, "&T\xEDtulo"},
        {LangTexts::directoryPage, LangTexts::directoryPageCount, 2,
            "Si la informaci\xF3n no esta publicada, \xFAnicamente sus contactos podr\xE1n ver su tarjeta virtual."},
        {LangTexts::directoryPage, LangTexts::directoryPageCount, 7, "&Mi fotograf\xED" "a"},
    };
    for (const Case& c : cases) {
        LangTable table(c.entries, c.count);
        table.SetLanguage(LangTable::Spanish);
        EXPECT_EQ(std::string(c.bytes), table.GetText(c.index)) << c.index;
    }
}

TEST(LangTable, EnglishTextIsTheSpanishTextsPartner)
{
    struct Case {
        const char* const* entries;
        int count;
        int index;
        const char* spanish;
        const char* english;
    } cases[] = {
        {LangTexts::cardService, LangTexts::cardServiceCount, 1, "Ver Tarjeta Virtual", "View Virtual Card"},
        {LangTexts::cardDialog, LangTexts::cardDialogCount, 4, "Aceptar", "Ok"},
        {LangTexts::identificationPage, LangTexts::identificationPageCount, 18, "Remo&ver", "Remo&ve"},
        {LangTexts::identificationPage, LangTexts::identificationPageCount, 15,
            "Archivos Jpeg (*.jpg; *.jpeg)|*.jpg; *.jpeg; *.jpe;|Bitmaps (*.bmp)|*.bmp|Todos los archivos (*.*)|*.*||",
            "Jpeg files (*.jpg; *.jpeg)|*.jpg; *.jpeg; *.jpe;|Bitmap files (*.bmp)|*.bmp|All files (*.*)|*.*||"},
        {LangTexts::businessPage, LangTexts::businessPageCount, 15,
            "Error: la informaci\xF3n solicitada no esta disponible !", "Error: no available information for request"},
        {LangTexts::homePage, LangTexts::homePageCount, 12,
            "Error: la informaci\xF3n solicitada no esta disponible !", "Error: no available information for request"},
        {LangTexts::directoryPage, LangTexts::directoryPageCount, 6, "&Publicar en el directorio mi",
            "&Publish in the directory my"},
    };
    for (const Case& c : cases) {
        LangTable table(c.entries, c.count);
        table.SetLanguage(LangTable::Spanish);
        EXPECT_STREQ(c.spanish, table.GetText(c.index)) << c.index;
        table.SetLanguage(LangTable::English);
        EXPECT_STREQ(c.english, table.GetText(c.index)) << c.index;
    }
}

TEST(LangTable, HomeSharesTheBusinessAddressTexts)
{
    LangTable home(LangTexts::homePage, LangTexts::homePageCount);
    LangTable business(LangTexts::businessPage, LangTexts::businessPageCount);
    for (int language : {LangTable::Spanish, LangTable::English}) {
        home.SetLanguage(language);
        business.SetLanguage(language);
        for (int index = 1; index <= 11; ++index)
            EXPECT_STREQ(business.GetText(index), home.GetText(index)) << index;
    }
    EXPECT_STREQ("&Go", home.GetText(11));
}

// A window's table rewrites its texts when the language changes.
class Titled : public LangTable {
public:
    Titled() : LangTable(LangTexts::cardDialog, LangTexts::cardDialogCount) {}
    void SetLanguage(int value) override
    {
        LangTable::SetLanguage(value);
        title = std::string(GetText(0)) + " - " + GetText(1);
    }
    std::string title;
};

TEST(LangTable, WindowsOverrideSetLanguage)
{
    Titled titled;
    LangTable& table = titled;
    table.SetLanguage(LangTable::English);
    EXPECT_EQ("Quillora - Virtual Card", titled.title);
    table.SetLanguage(LangTable::Spanish);
    EXPECT_EQ("Quillora - Tarjeta Virtual", titled.title);
}

} // namespace
