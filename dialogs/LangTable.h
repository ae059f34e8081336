#pragma once
// LangTable: a window's texts in Spanish (language 0) and English (1). Entry 0
// is the product name; entries 1..N are Spanish and N+1..2N English, entry k
// and N+k being one text. The arrays are static data; a table never owns them.

class LangTable {
public:
    enum Language { Spanish = 0, English = 1 };
    static constexpr int ProductNameText = 0;

    LangTable(const char* const* table, int texts) : count(texts), entries(table) {}
    virtual ~LangTable() = default;

    // Entry 0 whatever the language, else the text k of the current
    // language; empty for an index outside 0..N.
    virtual const char* GetText(int index) const;
    // Stores 0 or 1; any other value is ignored.
    virtual void SetLanguage(int language);

    int GetLanguage() const { return language; }
    int GetCount() const { return count; }

private:
    int language = English;
    int count;
    const char* const* entries;
};

// Entry 0 of every table until the host names its product.
inline constexpr const char* DefaultProductName = "Quillora";

// The tables of the dialogs, each 1 + 2N entries.
namespace LangTexts {
extern const char* const searchDialog[];
inline constexpr int searchDialogCount = 21;
extern const char* const cardDialog[];
inline constexpr int cardDialogCount = 25;
extern const char* const identificationPage[];
inline constexpr int identificationPageCount = 23;
extern const char* const businessPage[];
inline constexpr int businessPageCount = 17;
extern const char* const homePage[];
inline constexpr int homePageCount = 14;
extern const char* const directoryPage[];
inline constexpr int directoryPageCount = 7;
} // namespace LangTexts
