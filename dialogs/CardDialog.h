#pragma once
// CardDialog: one account's virtual card in tabs. A viewer for other
// accounts; the own card becomes an editor with a Directory tab, and OK
// hands the marked changes to the card service, which publishes them. Any
// card can be saved as a vCard file; the own card's editor imports one.
#include <cstdint>
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
    enum Text {
        TitleText = 1,
        CloseText = 2,
        CancelText = 3,
        OkText = 4,
        DirectoryText = 5,
        IdentificationText = 6,
        HomeText = 7,
        BusinessText = 8,
        SaveVCardText = 9,
        ImportVCardText = 10,
        VCardFilter = 11,
        NotVCardText = 12,
        LostCharactersText = 13,
        TenAddressesText = 14,
        NotWrittenText = 15,
        TooLargeVCardText = 16,
        LeftOutAddressesText = 17,
        LeftOutPhonesText = 18,
        LeftOutWebPagesText = 19,
        LeftOutEmailsText = 20,
        PhotoAddressText = 21,
        PhotoUnreadableText = 22,
    };
    // Commands of the system menu and of the heading's menu.
    enum Command : UINT { SaveVCardCommand = 0x0110, ImportVCardCommand = 0x0120 };
    // A larger file is read up to here; its first card must end before.
    static constexpr uint64_t MaxVCardFile = 4 << 20;

    explicit CardDialog(DialogOwner* owner);

    // Modeless and hidden, the desktop as parent; builds the three pages.
    bool Create();
    // Title: product name, " - ", the table's text 1.
    void SetTitleName(const std::string& productName);
    void SetIdentity(const std::string& user, const std::string& domain, const std::string& displayName);
    const std::string& GetUser() const { return userName; }
    const std::string& GetDomain() const { return domain; }
    const std::string& GetDisplayName() const { return displayName; }

    IdentificationPage& Identification() { return identificationPage; }
    HomePage& Home() { return homePage; }
    BusinessPage& Business() { return businessPage; }
    // Null until EnableEditing made this the own card's editor.
    DirectoryPage* Directory() { return directoryPage.get(); }
    const DirectoryPage* Directory() const { return directoryPage.get(); }

    // The own card: a Directory tab set from the hidden flags, writable
    // fields, "Cancel". Never undone; a second call builds no second tab.
    void EnableEditing(int editable);
    // The Directory page's boxes from the hidden flags; nothing without it.
    void ShowHiddenFlags();
    // The pages call it when they mark a change.
    void EnableOk();
    void FocusCurrentPage();
    // The card's menu at a point of the screen: Save as vCard, and Import
    // vCard on the own card's editor.
    void ShowCardMenu(POINT screen);
    // Asks for a file name and writes the card shown as a vCard.
    void SaveAsVCard();
    // Asks for a file and imports it.
    void ImportVCard();
    // Fills the own card's editor from the first card of a vCard file; a
    // file that is none changes nothing. Messages tell what was not kept.
    bool ImportVCardFile(const std::string& path);
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
    // The card's commands from the system menu, and dropped files.
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    // Tells the service, then deletes the dialog.
    void PostNcDestroy() override;

private:
    void AddPage(CardPage& page, int textIndex);
    void WriteTitle();
    // Adds the command to the system menu, or retitles it there.
    void SetSystemCommand(Command command, int textIndex);
    bool RunCommand(UINT command);
    void Tell(const std::string& text);

    DialogOwner* owner;
    std::string userName, domain, displayName;
    std::string titleName;
    Bitmap productImage;
    SkinButton okButton, cancelButton;
    SkinIconLabel productLabel;
    SkinTab tabs;
    IdentificationPage identificationPage{*this};
    HomePage homePage{*this};
    BusinessPage businessPage{*this};
    std::unique_ptr<DirectoryPage> directoryPage;
};
