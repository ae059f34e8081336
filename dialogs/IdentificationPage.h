#pragma once
// IdentificationPage: tab 0 of the card dialog. Names, the e-mail list and
// the photo; on the own card they are edited and each change is marked so
// that OK publishes only what changed.
#include <string>

#include "dialogs/CardPage.h"
#include "dialogs/Picture.h"
#include "platform/ListCtrl.h"
#include "protocol/Card.h"

class IdentificationPage : public CardPage {
public:
    static constexpr int MaxFileSize = 8192;

    explicit IdentificationPage(CardDialog& owner);

    void SetLanguage(int language) override;
    // Writable edits, address list and photo buttons on the own card.
    void SetEditable(int editable);
    // Shows the picture of a card; the bytes are not kept for publishing.
    void SetPhotoData(const std::string& base64);
    void MarkIdentificationChanged();
    // which 0: the photo itself; otherwise its publish flag.
    void MarkPhotoChanged(int which);

    IdentificationFields fields;
    std::string pictureText;  // Base64 of the file chosen with Browse; empty without or after Remove
    bool identificationChanged = false;
    bool pictureChanged = false;
    bool pictureFlagChanged = false;

    const PhotoFrame& Photo() const { return photo; }

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* exchange) override;
    LRESULT OnCommand(WPARAM wParam, LPARAM lParam) override;
    LRESULT OnNotify(WPARAM wParam, LPARAM lParam) override;

private:
    void ExchangeAddresses(CDataExchange* exchange);
    bool IsOwnCard() const;
    void UpdateAddButton();
    void UpdateAddressButtons();
    void AddAddress();
    void EditAddress();
    void RemoveAddress();
    void SendEmail();
    void Browse();
    // A message box with that text of the table.
    void Tell(int text);
    void RemovePhoto();
    // Whether the list keeps the new label.
    bool AcceptLabel(const char* text);

    std::string newAddress;
    SkinButton addButton, sendButton, editButton, removeButton, removePhotoButton, browseButton;
    CListCtrl addresses;
    PhotoFrame photo;
};
