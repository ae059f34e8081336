#include <gtest/gtest.h>

#include <string>

#include "dialogs/LangTable.h"

namespace {

TEST(LangTable, StartsInEnglishSwitchesAndKeepsTheProductName)
{
    LangTable table(LangTexts::searchDialog, LangTexts::searchDialogCount);
    EXPECT_EQ(LangTable::English, table.GetLanguage());
    EXPECT_STREQ("Searching...\nOne moment please...", table.GetText(13));
    EXPECT_STREQ("Quillora", table.GetText(0));
    table.SetLanguage(LangTable::Spanish);
    EXPECT_STREQ("Buscando...\nUn momento por favor...", table.GetText(13));
    EXPECT_STREQ("Quillora", table.GetText(0));
    for (int other : {2, -1})
        table.SetLanguage(other);
    EXPECT_EQ(LangTable::Spanish, table.GetLanguage());
    EXPECT_STREQ("", table.GetText(21));
}

TEST(LangTable, TextsAreStoredInWindows1252AndPairedAcrossLanguages)
{
    struct Case {
        const char* const* entries;
        int count;
        int index;
        const char* spanish;
        const char* english;
    } cases[] = {
        {LangTexts::cardDialog, LangTexts::cardDialogCount, 6, "Identificaci\xF3n", "Identification"},
        {LangTexts::cardService, LangTexts::cardServiceCount, 2, "Servicio de Directorio", "Directory Service"},
        {LangTexts::launcherPanel, LangTexts::launcherPanelCount, 3, "Buscar en el Directorio", "Directory Search"},
        {LangTexts::businessPage, LangTexts::businessPageCount, 5, "&Tel\xE9" "fono", "Pho&ne"},
        {LangTexts::businessPage, LangTexts::businessPageCount, 15,
            "Error: la informaci\xF3n solicitada no esta disponible !", "Error: no available information for request"},
        {LangTexts::homePage, LangTexts::homePageCount, 11, "&Ir", "&Go"},
        {LangTexts::homePage, LangTexts::homePageCount, 12,
            "Error: la informaci\xF3n solicitada no esta disponible !", "Error: no available information for request"},
        {LangTexts::identificationPage, LangTexts::identificationPageCount, 15,
            "Im\xE1genes (*.jpg; *.png; *.gif; *.bmp; *.ico)|*.jpg;*.jpeg;*.jpe;*.png;*.gif;*.bmp;*.dib;*.ico|"
            "Todos los archivos (*.*)|*.*||",
            "Pictures (*.jpg; *.png; *.gif; *.bmp; *.ico)|*.jpg;*.jpeg;*.jpe;*.png;*.gif;*.bmp;*.dib;*.ico|"
            "All files (*.*)|*.*||"},
        {LangTexts::identificationPage, LangTexts::identificationPageCount, 18, "Remo&ver", "Remo&ve"},
        {LangTexts::directoryPage, LangTexts::directoryPageCount, 2,
            "Si la informaci\xF3n no esta publicada, \xFAnicamente sus contactos podr\xE1n ver su tarjeta virtual.",
            "If the information is not published, only your contacts can see your virtual card."},
        {LangTexts::directoryPage, LangTexts::directoryPageCount, 7, "&Mi fotograf\xED" "a", "&My photo"},
    };
    for (const Case& c : cases) {
        LangTable table(c.entries, c.count);
        table.SetLanguage(LangTable::Spanish);
        EXPECT_EQ(std::string(c.spanish), table.GetText(c.index)) << c.index;
        table.SetLanguage(LangTable::English);
        EXPECT_EQ(std::string(c.english), table.GetText(c.index)) << c.index;
    }
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
    table.SetLanguage(LangTable::Spanish);
    EXPECT_EQ("Quillora - Tarjeta Virtual", titled.title);
    table.SetLanguage(LangTable::English);
    EXPECT_EQ("Quillora - Virtual Card", titled.title);
}

} // namespace
