#pragma once
// IdentificationPage: tab 0 of the card dialog. Names, the e-mail list and
// the photo; on the own card they are edited and each change is marked so
// that OK publishes only what changed.
#include <string>
#include <vector>

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
    // Shows a picture file's bytes and marks the photo changed; a picture
    // over 8 KB or bytes that show no picture are refused with a message.
    bool TakePicture(const std::string& bytes);
    // Replaces the address list (ten rows at most) and marks the section
    // changed, as the user's own adding and removing would; the same list
    // changes nothing.
    void SetAddresses(const std::vector<std::string>& emails);
    // which 0: the photo itself; otherwise its publish flag.
    void MarkPhotoChanged(int which);

    IdentificationFields fields;
    bool identificationChanged = false;
    bool photoChanged = false;
    bool photoFlagChanged = false;

    const PhotoFrame& Photo() const { return photo; }
    // The Base64 text of the file chosen with Browse; empty without one or
    // after Remove. A received photo is shown but never kept here.
    const std::string& GetPhotoData() const { return photoData; }
    // The bytes of the picture shown, received or chosen; empty without one.
    const std::string& ShownPhoto() const { return shownPhoto; }

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
    std::string photoData;
    std::string shownPhoto;
    SkinButton addButton, sendButton, editButton, removeButton, removePhotoButton, browseButton;
    CListCtrl addresses;
    PhotoFrame photo;
};
