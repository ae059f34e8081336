#pragma once
// AddressPage: the Home and Business pages of the card dialog, an address
// with phone numbers and a web page that Go opens on any card.
#include <span>
#include <string>
#include <vector>

#include "dialogs/CardPage.h"
#include "protocol/Card.h"

class AddressPage : public CardPage {
public:
    // An edit, its label and the field it shows.
    struct Field {
        int id;
        int label;
        std::string AddressFields::*member;
    };
    // A label and the entry of the table it shows.
    struct Label {
        int id, text;
    };

    void SetLanguage(int language) override;
    // Writable edits on the own card, once the section arrived; Go works on any card.
    void SetEditable(int editable);
    // Shows a section as received; a section the user changed keeps his values.
    void Show(const AddressFields& received);
    // Shows a saved copy under its notice, while the section is awaited.
    void ShowSaved(const AddressFields& saved);
    // Marks the section changed, once it is shown; a section waiting or
    // failed is never marked.
    void MarkChanged();
    // The fields as the edits show them, in UTF-8.
    AddressFields ShownFields() const;
    // Types UTF-8 values into the edits as the user would; gives the labels
    // of the fields whose characters became "?".
    std::vector<std::string> TypeFields(const AddressFields& values);

    AddressFields fields;
    bool changed = false;

protected:
    // extraLabels: the labels of this page's own fields.
    AddressPage(UINT resource, const char* const* table, int texts, int errorIndex, int notAnsweringIndex,
        std::span<const Field> edits, std::span<const Label> extraLabels);

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* exchange) override;
    LRESULT OnCommand(WPARAM wParam, LPARAM lParam) override;

private:
    void OpenWebPage();
    bool IsFieldEdit(int id) const;

    std::span<const Field> edits;
    std::span<const Label> extraLabels;
    SkinButton goButton;
    bool editable = false;
};

class HomePage : public AddressPage {
public:
    HomePage();
};

class BusinessPage : public AddressPage {
public:
    BusinessPage();
};
