#include "frame/LauncherPanel.h"

#include <iterator>

#include "controls/SkinDrawing.h"
#include "platform/ModalScope.h"
#include "platform/ModuleContext.h"
#include "resources/resource.h"

namespace {

enum Text { CaptionText = 1, OwnCardText = 2, SearchText = 3 };

const char* const Texts[] = {
    DefaultProductName,
    "Servicio de Directorio", "Mi Tarjeta Virtual", "Buscar en el Directorio",
    "Directory Service", "My Virtual Card", "Directory Search",
};

} // namespace

LauncherPanel::LauncherPanel(DialogOwner* panelOwner)
    : SkinDialog(IDD_LAUNCHER), LangTable(Texts, static_cast<int>(std::size(Texts) / 2)), owner(panelOwner)
{
}

bool LauncherPanel::Create(HWND parent)
{
    return CDialog::Create(parent) != FALSE;
}

void LauncherPanel::DoDataExchange(CDataExchange* exchange)
{
    DDX_Control(exchange, IDC_OWN_CARD_ENTRY, ownCardEntry);
    DDX_Control(exchange, IDC_SEARCH_ENTRY, searchEntry);
}

void LauncherPanel::InitSkin()
{
    HCURSOR hand = LoadCursorA(ModuleInstance(), MAKEINTRESOURCEA(IDR_HAND_CURSOR));
    SetUpEntry(ownCardEntry, ownCardImage, IDB_OWN_CARD, hand, OwnCardIndex);
    SetUpEntry(searchEntry, searchImage, IDB_SEARCH, hand, SearchIndex);
    SetLanguage(GetLanguage());
}

void LauncherPanel::SetUpEntry(SkinIconLabel& entry, Bitmap& image, int bitmapId, HCURSOR cursor, int index)
{
    image.Reset(LoadBitmapA(ModuleInstance(), MAKEINTRESOURCEA(bitmapId)));
    entry.SetHoverCursor(cursor);
    entry.ModifyFlags(SkinLabel::Interactive, 0, false);
    entry.SetImage(image, TransparentColour);
    entry.SetNotify(hwnd, index);
}

void LauncherPanel::ApplyAppearance()
{
    for (SkinIconLabel* entry : {&ownCardEntry, &searchEntry})
        entry->SetAppearance(font, colours[0], colours[1], colours[2], colours[3], false);
}

void LauncherPanel::SetLanguage(int value)
{
    LangTable::SetLanguage(value);
    SetCaption(GetText(CaptionText));
    ownCardEntry.SetText(GetText(OwnCardText), false, "", false);
    searchEntry.SetText(GetText(SearchText), false, "", false);
}

void LauncherPanel::OnItemClick(int index)
{
    if (!owner || ModalScope::Active())
        return;
    if (index == OwnCardIndex)
        owner->OpenOwnCard();
    else if (index == SearchIndex)
        owner->OpenSearch();
}
