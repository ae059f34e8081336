#pragma once
// IdentificationPage: tab 0 of the card dialog. Names, the e-mail list and
// the photo; on the own card they are edited and each change is marked so
// that OK publishes only what changed.
#include <cstdint>
#include <string>
#include <vector>

#include "dialogs/CardPage.h"
#include "dialogs/PhotoFrame.h"
#include "picture/PhotoFit.h"
#include "platform/ListCtrl.h"
#include "protocol/Card.h"

class IdentificationPage : public CardPage {
public:
    // A card's photo is at most this long; larger pictures are made to fit.
    static constexpr int MaxFileSize = 8192;
    // Files chosen with Browse are read up to this size.
    static constexpr uint64_t MaxChosenFileSize = 20 * 1024 * 1024;

    // Why a picture was not taken.
    enum class Refusal { None, NotEditable, NotAPicture, TooManyPixels, TooLarge };

    IdentificationPage();

    void SetLanguage(int language) override;
    // Writable edits and address list on the own card once the section is
    // shown, and the photo buttons once the photo section is shown.
    void SetEditable(int editable);
    // Shows the section as received; a section the user changed keeps his values.
    void Show(const IdentificationFields& received);
    // Shows the photo section as received, unless the user changed the picture.
    void ShowPhoto(const std::string& base64);
    // A saved copy under its notice, while the section is awaited; the
    // saved picture until the photo section arrives.
    void ShowSaved(const IdentificationFields& saved);
    void ShowSavedPhoto(const std::string& base64);
    bool HasPhotoSection() const { return photoShown; }
    // Shows the picture of a card; the bytes are not kept for publishing.
    void SetPhotoData(const std::string& base64);
    // Shows the picture and keeps it for publishing, as it is when it has
    // at most MaxFileSize bytes, declares a size within the frame and shows,
    // else made to fit; marks the photo changed. Otherwise changes nothing
    // and gives why.
    Refusal OfferPicture(const std::string& bytes);
    // OfferPicture, and a message box that says why a picture was refused.
    bool TakePicture(const std::string& bytes);
    // Marks the section changed, once it is shown.
    void MarkIdentificationChanged();
    // Replaces the address list (ten rows at most) and marks the section
    // changed, as the user's own adding and removing would; the same list
    // changes nothing.
    void SetAddresses(const std::vector<std::string>& emails);
    // The names and the e-mail list as the controls show them, in UTF-8.
    IdentificationFields ShownFields() const;
    // Types UTF-8 names and addresses in as the user would; gives the labels
    // of the fields whose characters became "?".
    std::vector<std::string> TypeFields(const IdentificationFields& values);
    // which 0: the photo itself; otherwise its publish flag. Once the photo
    // section is shown.
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
    // The rows of the address list, and the list made of those addresses
    // (MaxEmailSlots at most), drawn once.
    std::vector<std::string> ListedAddresses() const;
    void ListAddresses(const std::vector<std::string>& emails);
    bool IsOwnCard() const { return editable; }
    void UpdatePhotoButtons();
    void UpdateAddButton();
    void UpdateAddressButtons();
    void AddAddress();
    void EditAddress();
    void RemoveAddress();
    void SendEmail();
    void Browse();
    // The picture made to fit the photo frame, under the wait cursor.
    FittedPhoto FitToFrame(const std::string& bytes);
    // A message box with that text of the table.
    void Tell(int text);
    void RemovePhoto();
    // Whether the list keeps the new label.
    bool AcceptLabel(const char* text);

    bool editable = false;
    bool photoShown = false;
    std::string newAddress;
    std::string photoData;
    std::string shownPhoto;
    SkinButton addButton, sendButton, editButton, removeButton, removePhotoButton, browseButton;
    CListCtrl addresses;
    PhotoFrame photo;
};
