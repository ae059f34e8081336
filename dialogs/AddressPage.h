#pragma once
// AddressPage: the Home and Business pages of the card dialog, an address
// with phone numbers and a web page that Go opens on any card.
#include <span>
#include <string>

#include "dialogs/CardPage.h"
#include "protocol/Card.h"

class AddressPage : public CardPage {
public:
    struct Field {
        int id;
        std::string AddressFields::*member;
    };

    void SetLanguage(int language) override;
    // Writable edits on the own card; Go works on any card.
    void SetEditable(int editable);
    void MarkChanged();

    AddressFields fields;
    bool changed = false;

protected:
    // extraLabels: label ids that take the entries after Go's, in order.
    AddressPage(UINT resource, CardDialog& owner, const char* const* table, int texts, int errorIndex,
        std::span<const Field> edits, std::span<const int> extraLabels);

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* exchange) override;
    LRESULT OnCommand(WPARAM wParam, LPARAM lParam) override;

private:
    void OpenWebPage();
    bool IsFieldEdit(int id) const;

    std::span<const Field> edits;
    std::span<const int> extraLabels;
    SkinButton goButton;
};

class HomePage : public AddressPage {
public:
    explicit HomePage(CardDialog& owner);
};

class BusinessPage : public AddressPage {
public:
    explicit BusinessPage(CardDialog& owner);
};
