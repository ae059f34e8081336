#pragma once
// CardDialog: one account's virtual card in tabs. It owns what it shows:
// the card service hands it each section as it arrives, and it keeps the
// not-published flags and the user's changes. A viewer for other accounts;
// the own card becomes an editor with a Directory tab, and OK hands the
// sections shown and changed to its owner, which publishes them. Any card
// can be saved as a vCard file; the own card's editor imports one.
#include <array>
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
#include "platform/WindowTimer.h"
#include "protocol/VCardMapping.h"

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
        TryAgainText = 23,
        PhotoTooManyPixelsText = 24,
        PhotoTooLargeText = 25,
    };
    // Commands of the system menu and of the heading's menu.
    enum Command : UINT { SaveVCardCommand = 0x0110, ImportVCardCommand = 0x0120, TryAgainCommand = 0x0130 };
    // The timer of the wait for the server's answer.
    static constexpr UINT_PTR AnswerTimer = 1;
    // A larger file is read up to here; its first card must end before.
    static constexpr uint64_t MaxVCardFile = 4 << 20;

    explicit CardDialog(DialogOwner* owner);

    // Modeless and hidden, the desktop as parent; builds the three pages and
    // starts waiting for the answer.
    bool Create();
    // Title: product name, " - ", the table's text 1.
    void SetTitleName(const std::string& productName);
    void SetIdentity(const std::string& user, const std::string& domain, const std::string& displayName);
    const std::string& GetUser() const { return userName; }
    const std::string& GetDomain() const { return domain; }
    const std::string& GetDisplayName() const { return displayName; }

    // A section received or loaded from the cache, with its not-published
    // flag: the page shows it and the Directory page its box. A section the
    // user changed keeps his values.
    void ShowSection(const IdentificationFields& fields, int hidden);
    void ShowSection(CardSection section, const AddressFields& fields, int hidden);  // home or business
    void ShowSection(const PhotoFields& photo, int hidden);
    // The section's page shows its error text; the photo section shows nothing.
    void ShowSectionError(int section);
    // Whether the section's answer is still to come: waiting or timed out.
    bool IsAwaiting(int section) const;
    // After the time limit, for a section still awaited: its saved copy under
    // the notice that the server is not answering, only shown (neither
    // editable nor handed over), or the notice alone. An answer replaces them.
    void ShowSavedSection(const IdentificationFields& fields);
    void ShowSavedSection(CardSection section, const AddressFields& fields);  // home or business
    void ShowSavedSection(const PhotoFields& photo);
    void ShowSectionNotAnswering(int section);
    // Asks the owner to send the card's request again and waits anew, while
    // a section is awaited.
    void TryAgain();
    // The sections changed (only a section shown is ever marked), with their
    // fields as the controls hold them, and the Directory page's flags;
    // nothing before EnableEditing.
    CardChanges TakeChanges();
    // The owner has gone: the dialog asks nothing more of it.
    void DetachOwner() { owner = nullptr; }

    IdentificationPage& Identification() { return identificationPage; }
    HomePage& Home() { return homePage; }
    BusinessPage& Business() { return businessPage; }
    // Null until EnableEditing made this the own card's editor.
    DirectoryPage* Directory() { return directoryPage.get(); }
    const DirectoryPage* Directory() const { return directoryPage.get(); }

    // The own card: a Directory tab set from the hidden flags, writable
    // fields, "Cancel". Never undone; a second call builds no second tab.
    void EnableEditing(int editable);
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

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* exchange) override;
    // Hands the changes over for publishing, closes.
    void OnOK() override;
    LRESULT OnShowWindow(BOOL show, UINT status) override;
    LRESULT OnPrivateMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    // The card's commands from the system menu, and dropped files.
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    // The time limit passed: the owner shows what it has.
    LRESULT OnTimer(UINT_PTR id) override;
    LRESULT OnDestroy() override;
    // Tells the service, then deletes the dialog.
    void PostNcDestroy() override;

private:
    void WaitForAnswer();
    void SectionAnswered(int section);
    bool IsAwaitingAny() const;
    // Try again is enabled while a section is awaited.
    void UpdateTryAgain();
    void AddPage(CardPage& page, int textIndex);
    // The page of sections 1 to 3; null for the photo and other numbers.
    CardPage* PageOf(int section);
    // The Directory page's boxes from the flags known; nothing without it.
    void ShowHiddenFlags();
    void SectionShown(int section, int hidden);
    // A change the user made on a page, or his choice on the Directory page.
    void ChangeMade();
    void SectionChosen(int section);
    void WriteTitle();
    // Adds the command to the system menu, or retitles it there.
    void SetSystemCommand(Command command, int textIndex);
    void WriteOwnTexts();
    bool RunCommand(UINT command);
    void Tell(const std::string& text);
    // The fields of the sections shown, in UTF-8 (a section waiting or in
    // error stays empty), the photo shown, and the account.
    CardContact ShownCard() const;
    // Types the card into the pages that show their section, as the user
    // would, and offers its photo; adds the fields that lost characters to
    // lost, and gives why the photo was refused.
    IdentificationPage::Refusal TypeCard(const CardContact& card, std::vector<std::string>& lost);

    DialogOwner* owner;
    std::string userName, domain, displayName;
    std::string titleName;
    Bitmap productImage;
    SkinButton okButton, cancelButton;
    SkinIconLabel productLabel;
    SkinTab tabs;
    IdentificationPage identificationPage;
    HomePage homePage;
    BusinessPage businessPage;
    std::unique_ptr<DirectoryPage> directoryPage;
    // Not-published flags as last shown, 1 = not published; unknown until then.
    std::array<int, 4> hidden{DirectoryPage::UnknownFlag, DirectoryPage::UnknownFlag, DirectoryPage::UnknownFlag,
        DirectoryPage::UnknownFlag};
    // By section number less one: an answer, data or error, has come.
    std::array<bool, 4> answered{};
    WindowTimer answerTimer{AnswerTimer};
};
