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

} // namespace
