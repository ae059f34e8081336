#pragma once
// CardDialog: one account's virtual card in tabs. A viewer for other
// accounts; the own card becomes an editor with a Directory tab, and OK
// hands the marked changes to the card service, which publishes them.
#include <memory>
#include <string>

#include "controls/SkinButton.h"
#include "controls/SkinIconLabel.h"
#include "controls/SkinTab.h"
#include "dialogs/AddressPage.h"
#include "dialogs/DialogOwner.h"
#include "dialogs/DirectoryPage.h"
#include "dialogs/IdentificationPage.h"
#include "dialogs/LangTable.h"
#include "platform/Dialog.h"
#include "platform/Gdi.h"

class CardDialog : public CDialog, public LangTable {
public:
    explicit CardDialog(DialogOwner* owner);

    // Modeless and hidden, the desktop as parent; builds the three pages.
    bool Create();
    // Title: product name, " - ", the table's text 1.
    void SetTitle(const std::string& productName);
    void SetIdentity(const std::string& user, const std::string& domain, const std::string& displayName);
    const std::string& GetUser() const { return user; }
    const std::string& GetDomain() const { return domain; }
    const std::string& GetDisplayName() const { return displayName; }

    IdentificationPage& Identification() { return identification; }
    HomePage& Home() { return home; }
    BusinessPage& Business() { return business; }
    // Null until EnableEditing made this the own card's editor.
    DirectoryPage* Directory() { return directory.get(); }
    const DirectoryPage* Directory() const { return directory.get(); }

    // The own card: a Directory tab set from the hidden flags, writable
    // fields, "Cancel". Never undone; a second call builds no second tab.
    void EnableEditing(int editable);
    // The Directory page's boxes from the hidden flags; nothing without it.
    void ShowHiddenFlags();
    // The pages call it when they mark a change.
    void EnableOk();
    void FocusCurrentPage();
    void SetLanguage(int language) override;
    BOOL PreTranslateMessage(MSG* msg) override;

    // Not-published flags as last received, 1 = not published.
    int identificationHidden = 0, homeHidden = 0, businessHidden = 0, photoHidden = 0;

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* exchange) override;
    // Takes the controls into the holders, asks for a publish, closes.
    void OnOK() override;
    LRESULT OnShowWindow(BOOL show, UINT status) override;
    LRESULT OnPrivateMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    // Tells the service, then deletes the dialog.
    void PostNcDestroy() override;

private:
    void AddPage(CardPage& page, int textIndex);
    void WriteTitle();

    DialogOwner* owner;
    std::string user, domain, displayName;
    std::string titleName;
    Bitmap productImage;
    SkinButton okButton, cancelButton;
    SkinIconLabel productLabel;
    SkinTab tabs;
    IdentificationPage identification{*this};
    HomePage home{*this};
    BusinessPage business{*this};
    std::unique_ptr<DirectoryPage> directory;
};
