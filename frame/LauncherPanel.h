#pragma once
// LauncherPanel: the service's entry inside the host's window, a skinned
// child dialog with two entries that ask the card service to open the own
// card or the directory search. Deletes itself after its window.
#include "controls/SkinDialog.h"
#include "controls/SkinIconLabel.h"
#include "dialogs/DialogOwner.h"
#include "dialogs/LangTable.h"
#include "platform/Gdi.h"

class LauncherPanel : public SkinDialog, public LangTable {
public:
    static constexpr int OwnCardIndex = 1;
    static constexpr int SearchIndex = 2;

    explicit LauncherPanel(DialogOwner* owner);

    // Hidden, as a child of the host's panel window.
    bool Create(HWND parent);
    // Caption and the two entries.
    void SetLanguage(int language) override;
    // The owner has gone: the panel asks nothing more of it.
    void DetachOwner() { owner = nullptr; }

protected:
    void DoDataExchange(CDataExchange* exchange) override;
    void InitSkin() override;
    void ApplyAppearance() override;
    void OnLayout() override {}
    void OnItemClick(int index) override;

private:
    void SetUpEntry(SkinIconLabel& entry, Bitmap& image, int bitmapId, HCURSOR cursor, int index);

    DialogOwner* owner;
    Bitmap ownCardImage, searchImage;
    SkinIconLabel ownCardEntry, searchEntry;
};
