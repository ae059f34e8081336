#include "devhost/DemoScript.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>

#include "devhost/Console.h"
#include "devhost/DevHostApp.h"
#include "devhost/FileDialogAnswer.h"
#include "devhost/Screenshot.h"
#include "devhost/WriteAudit.h"
#include "devhost/server/DirectoryGenerator.h"
#include "devhost/server/HostileAnswers.h"
#include "protocol/Card.h"
#include "resources/resource.h"
#include "support/Base64.h"
#include "support/VCard.h"

namespace {

constexpr char CardTitle[] = "Quillora - Virtual Card";
constexpr char SearchTitle[] = "Quillora - Directory Search";

std::string TitleOf(HWND window)
{
    char text[256] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

std::string TextOf(HWND window)
{
    return window ? TitleOf(window) : std::string();
}

struct DescendantSearch {
    int id;
    std::function<bool(HWND)> accept;
    HWND found;
};

BOOL CALLBACK NextDescendant(HWND child, LPARAM param)
{
    auto* search = reinterpret_cast<DescendantSearch*>(param);
    if (GetDlgCtrlID(child) == search->id && (!search->accept || search->accept(child))) {
        search->found = child;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK AddVisible(HWND window, LPARAM param)
{
    if (IsWindowVisible(window))
        reinterpret_cast<std::set<HWND>*>(param)->insert(window);
    return TRUE;
}

// The first descendant with that control id that accept() takes.
HWND Descendant(HWND parent, int id, std::function<bool(HWND)> accept = nullptr)
{
    DescendantSearch search = {id, std::move(accept), nullptr};
    EnumChildWindows(parent, NextDescendant, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::string ReadWhole(const std::filesystem::path& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
}

// A 48 by 48 picture file: a warm gradient with a pale disc.
std::string PortraitBitmap()
{
    constexpr int size = 48;
    BITMAPFILEHEADER file = {0x4D42, 0, 0, 0, sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER)};
    BITMAPINFOHEADER info = {sizeof info, size, size, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    std::string bytes(reinterpret_cast<const char*>(&file), sizeof file);
    bytes.append(reinterpret_cast<const char*>(&info), sizeof info);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            int dx = x - size / 2, dy = y - size / 2 - 4;
            bool disc = dx * dx + dy * dy < 14 * 14;
            bytes += static_cast<char>(disc ? 0xE8 : 60 + x * 2);
            bytes += static_cast<char>(disc ? 0xF0 : 90 + y * 2);
            bytes += static_cast<char>(disc ? 0xF8 : 200);
        }
    reinterpret_cast<BITMAPFILEHEADER*>(bytes.data())->bfSize = static_cast<DWORD>(bytes.size());
    return bytes;
}

// A card as an address book writes it: vCard 3.0, UTF-8, a photo.
std::string CardToImport()
{
    return "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Prieto Soto;Ana;Mar\xC3\xAD" "a;Ing.;\r\n"
           "FN:Ana Mar\xC3\xAD" "a Prieto\r\nNICKNAME:anita\r\n"
           "EMAIL;TYPE=INTERNET:ana.prieto@tesselar.example\r\nEMAIL;TYPE=INTERNET,PREF:ana@example.net\r\n"
           "TEL;TYPE=HOME,VOICE:+56 32 555 0100\r\nTEL;TYPE=CELL:+56 9 5555 0101\r\n"
           "ADR;TYPE=HOME:;;Av. Brasil 1450\\, depto. 3;Valpara\xC3\xADso;Valpara\xC3\xADso;2340000;Chile\r\n"
           "ADR;TYPE=WORK:;;Blanco 1131;Valpara\xC3\xADso;;;Chile\r\nTEL;TYPE=WORK,VOICE:+56 32 555 0200\r\n"
           "ORG:Tesselar Labs;Investigaci\xC3\xB3n\r\nTITLE:Ingeniera de software\r\n"
           "URL;TYPE=WORK:http://tesselar.example\r\nPHOTO;ENCODING=b;TYPE=BMP:"
           + Base64Encode(PortraitBitmap(), false) + "\r\nEND:VCARD\r\n";
}

}  // namespace

DemoScript::DemoScript(DevHostApp& host)
    : app(host), folder(host.Options().folder.string()),
      fullFolder(std::filesystem::absolute(host.Options().folder).string())
{
}

int DemoScript::Play()
{
    app.Log().Note("demo script begins");
    Settle();
    Shot(app.Window().Handle(), "01-host");
    Step("the launcher panel is in the panel area",
        Descendant(app.Window().PanelArea(), IDC_OWN_CARD_ENTRY) && Descendant(app.Window().PanelArea(), IDC_SEARCH_ENTRY));
    OwnCard();
    Search();
    ContactCard();
    SaveContactCardAsVCard();
    ImportVCardIntoOwnCard();
    ServerGoneAndBack();
    Spanish();
    Hostile();
    app.Log().Note("demo script ends");
    PrintLine("devhost: " + std::to_string(app.Log().MessageCount()) + " messages in " + folder + "/transcript.txt");
    PrintLine("devhost: " + std::to_string(shots.size()) + " screenshots in " + folder + ":");
    for (const std::string& shot : shots)
        PrintLine("  " + shot);
    PrintLine(std::string("devhost: ") + (failures ? "some steps FAILED" : "every step passed"));
    return failures ? 1 : 0;
}

void DemoScript::OwnCard()
{
    std::set<HWND> known = OwnWindows();
    ClickEntry(IDC_OWN_CARD_ENTRY);
    card = WaitForWindow(CardTitle, known);
    if (!Step("My Virtual Card opens the own card", card != nullptr))
        return;
    Settle();
    Step("the own card becomes the editor", WaitFor([this] { return Card(IDC_PUBLISH_IDENTIFICATION) != nullptr; }));
    Shot(card, "02-own-card-opened");

    Type(Card(IDC_FIRST), "Ana");
    Type(Card(IDC_LAST), "Prieto");
    Type(Card(IDC_NICKNAME), "anita");
    Type(Card(IDC_TITLE), "Ing.");
    // A later session finds the address published already.
    LVFINDINFOA address = {};
    address.flags = LVFI_STRING;
    address.psz = "ana@example.net";
    if (SendMessageA(Card(IDC_ADDRESSES), LVM_FINDITEMA, static_cast<WPARAM>(-1),
            reinterpret_cast<LPARAM>(&address)) == -1) {
        Type(Card(IDC_NEW_ADDRESS), "ana@example.net");
        Click(Card(IDC_ADD_ADDRESS));
    }
    HWND business = Descendant(card, IDC_COMPANY) ? GetParent(Descendant(card, IDC_COMPANY)) : nullptr;
    Type(Descendant(card, IDC_CITY, [business](HWND edit) { return GetParent(edit) != business; }), "Valparaiso");
    Type(Card(IDC_COMPANY), "Tesselar Labs");
    Step("the typed names are in the edits", TextOf(Card(IDC_FIRST)) == "Ana" && TextOf(Card(IDC_LAST)) == "Prieto");
    ChoosePhoto();
    Shot(card, "03-own-card-filled");

    Click(Card(IDOK));
    Settle();
    Step("OK closes the own card", !IsWindow(card));
    const CardRecord* published = app.Link().Find(app.User().Name(), app.User().DomainName());
    Step("the server holds the published names", published && published->Field(1, "f") == "Ana" &&
                                                     published->Field(1, "l") == "Prieto" &&
                                                     published->Field(3, "cp") == "Tesselar Labs");

    CheckPublishedPhoto();

    known = OwnWindows();
    ClickEntry(IDC_OWN_CARD_ENTRY);
    card = WaitForWindow(CardTitle, known);
    Settle();
    Step("the reopened own card shows the published first name", TextOf(Card(IDC_FIRST)) == "Ana");
    Shot(card, "04-own-card-reopened");
    Click(Card(IDCANCEL));
    Settle();
}

// Browse, with the file chooser answered: a photograph far larger than a
// card's photo, which the card fits into its frame.
void DemoScript::ChoosePhoto()
{
    std::string photos = VCARD_PHOTOS;
    std::replace(photos.begin(), photos.end(), '/', '\\');
    FileDialogAnswer answer(photos, "photo-2400x1600.jpg", false, nullptr);
    Click(Card(IDC_BROWSE));
    Step("the file chooser is answered with photo-2400x1600.jpg", answer.Answered());
    Step("the chosen photograph marks the card changed", IsWindowEnabled(Card(IDOK)) != FALSE);
}

void DemoScript::CheckPublishedPhoto()
{
    const CardRecord* published = app.Link().Find(app.User().Name(), app.User().DomainName());
    std::string photo = published ? Base64Decode(published->Field(PhotoSection, "ph")) : "";
    Step("the server holds the fitted photo (" + std::to_string(photo.size()) + " bytes of JPEG)",
        !photo.empty() && photo.size() <= 8192 && photo.compare(0, 2, "\xFF\xD8") == 0);
}

void DemoScript::Search()
{
    std::set<HWND> known = OwnWindows();
    ClickEntry(IDC_SEARCH_ENTRY);
    search = WaitForWindow(SearchTitle, known);
    if (!Step("Directory Search opens the search dialog", search != nullptr))
        return;
    // A stranger whose names and portrait the directory shows.
    CardRecord wanted;
    for (const CardRecord& candidate : GenerateCards(40, 1))
        if (candidate.Section(1).held && !candidate.Section(1).notPublished && !candidate.Field(1, "l").empty() &&
            candidate.Section(PhotoSection).held && !candidate.Section(PhotoSection).notPublished &&
            !app.User().List().Find(candidate.user.c_str(), candidate.domain.c_str()))
            wanted = candidate;
    std::string name = wanted.Field(1, "f") + " " + wanted.Field(1, "l");
    Type(GetDlgItem(search, IDC_NAME), name);
    Click(GetDlgItem(search, IDOK));
    Settle();
    HWND results = GetDlgItem(search, IDC_RESULTS);
    Step("searching \"" + name + "\" lists results",
        WaitFor([results] { return SendMessageA(results, LVM_GETITEMCOUNT, 0, 0) > 0; }));
    Shot(search, "05-search-results");

    LVITEMA item = {};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(results, LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&item));
    Settle();
    Step("a selected result enables View", IsWindowEnabled(GetDlgItem(search, IDC_VIEW)) != FALSE);
    known = OwnWindows();
    Click(GetDlgItem(search, IDC_VIEW));
    HWND result = WaitForWindow(CardTitle, known);
    Settle();
    Step("View opens the result's card", result != nullptr);
    Shot(result, "06-result-card");
    if (result)
        Click(Descendant(result, IDCANCEL));
    Settle();

    std::size_t before = app.User().List().Count();
    Click(GetDlgItem(search, IDC_ADD));
    Settle();
    Step("Add puts the result on the contact list", app.User().List().Count() == before + 1);
    Shot(app.Window().Handle(), "07-contact-added");

    HWND label = GetDlgItem(search, IDC_PRODUCT_LABEL);
    PostMessageA(label, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4));
    PostMessageA(label, WM_LBUTTONUP, 0, MAKELPARAM(4, 4));
    Settle();
    Step("the product label reaches the host (command 12)", app.Window().Status() == "Product label clicked");
}

void DemoScript::ContactCard()
{
    DevContactList& contacts = app.User().List();
    int index = static_cast<int>(contacts.Count()) - 1;
    if (!Step("there is a contact to open", index >= 0))
        return;
    std::string menuText = app.Window().ContactMenuText(index);
    Step("the contact menu offers \"" + menuText + "\"", !menuText.empty());
    HWND list = app.Window().Contacts();
    RECT row = {};
    SendMessageA(list, LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&row));
    LPARAM point = MAKELPARAM(row.left + 4, row.top + 2);
    std::set<HWND> known = OwnWindows();
    PostMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, point);
    PostMessageA(list, WM_LBUTTONUP, 0, point);
    PostMessageA(list, WM_LBUTTONDBLCLK, MK_LBUTTON, point);
    PostMessageA(list, WM_LBUTTONUP, 0, point);
    contactCard = WaitForWindow(CardTitle, known);
    Settle();
    Step("a double click on the contact opens the contact's card", contactCard != nullptr);
    Shot(contactCard, "08-contact-card");
    if (!contactCard)
        return;

    // The right click menu: its item chosen with the keys a person would
    // press, queued before the menu's own loop reads them.
    Click(Descendant(contactCard, IDCANCEL));
    known = OwnWindows();
    POINT screen = {row.left + 4, row.top + 2};
    ClientToScreen(list, &screen);
    PostMessageA(app.Window().Handle(), WM_KEYDOWN, VK_DOWN, 0);
    PostMessageA(app.Window().Handle(), WM_KEYDOWN, VK_RETURN, 0);
    SendMessageA(app.Window().Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(list), MAKELPARAM(screen.x, screen.y));
    contactCard = WaitForWindow(CardTitle, known);
    Settle();
    Step("the contact menu's item opens the contact's card", contactCard != nullptr);
}

void DemoScript::SaveContactCardAsVCard()
{
    DevContactList& contacts = app.User().List();
    DevContact* contact = contacts.Count() ? contacts.At(contacts.Count() - 1) : nullptr;
    if (!Step("a contact's card is open to save", contact && IsWindow(contactCard)))
        return;
    std::string display = TitleOf(Descendant(contactCard, IDC_HEADING));
    display = display.substr(0, display.rfind(" ("));
    std::filesystem::remove(std::filesystem::path(fullFolder) / (display + ".vcf"));
    FileDialogAnswer answer(fullFolder, "", true, [this](HWND dialog) { ShotOfDialog(dialog, "09-save-as-vcard"); });
    ChooseCardMenuItem(contactCard, 1);
    Step("Save as vCard proposes \"" + display + ".vcf\"", answer.Answered() && answer.Proposed() == display + ".vcf");
    auto saved = ReadVCard(ReadWhole(answer.Path()));
    Step("the saved file is the contact's card, account " + std::string(contact->UserName()) + "@" + contact->Domain(),
        saved && saved->account == std::string(contact->UserName()) + "@" + contact->Domain());
}

void DemoScript::ImportVCardIntoOwnCard()
{
    std::filesystem::path file = std::filesystem::path(fullFolder) / "card-to-import.vcf";
    std::ofstream(file, std::ios::binary) << CardToImport();
    std::set<HWND> known = OwnWindows();
    ClickEntry(IDC_OWN_CARD_ENTRY);
    card = WaitForWindow(CardTitle, known);
    Settle();
    if (!Step("the own card opens as the editor", WaitFor([this] { return Card(IDC_PUBLISH_IDENTIFICATION); })))
        return;
    int messages = app.Log().MessageCount();
    FileDialogAnswer answer(file.parent_path().string(), file.filename().string(), false,
        [this](HWND dialog) { ShotOfDialog(dialog, "10-import-vcard"); });
    ChooseCardMenuItem(card, 2);
    Settle();
    Step("Import vCard fills the names", answer.Answered() && TextOf(Card(IDC_LAST)) == "Prieto Soto"
        && TextOf(Card(IDC_FRIENDLY)) == "Ana Mar\xED" "a Prieto" && TextOf(Card(IDC_COMPANY)) == "Tesselar Labs");
    Step("nothing is sent before OK", app.Log().MessageCount() == messages && IsWindowEnabled(Card(IDOK)));
    Shot(card, "11-own-card-imported");
    Click(Card(IDOK));
    Settle();
    const CardRecord* published = app.Link().Find(app.User().Name(), app.User().DomainName());
    Step("OK publishes the imported card, photo included", published && published->Field(1, "l") == "Prieto Soto"
        && published->Field(3, "d") == "Investigaci\xF3n" && !published->Field(4, "ph").empty());
}

// The contact's card reopened while the server is gone waits, then shows
// its saved copy under the notice; the server comes back and F5 fills it.
void DemoScript::ServerGoneAndBack()
{
    int index = static_cast<int>(app.User().List().Count()) - 1;
    if (!Step("a contact's card to reopen without the server", index >= 0 && IsWindow(contactCard)))
        return;
    Click(Descendant(contactCard, IDCANCEL));
    PostMessageA(app.Window().Handle(), WM_COMMAND, HostWindow::MenuServerGone, 0);
    Settle();
    std::set<HWND> known = OwnWindows();
    int sent = app.Log().MessageCount();
    app.Window().OpenContact(index);
    contactCard = WaitForWindow(CardTitle, known);
    HWND notice = contactCard ? Descendant(contactCard, IDC_WAITING) : nullptr;
    if (!Step("the card opens and waits while the server is gone", notice && app.Log().MessageCount() == sent + 1))
        return;
    Shot(contactCard, "12-contact-card-waiting");
    Step("after the time limit it shows the saved copy under the notice", WaitFor([notice] {
        return TextOf(notice) == "The server is not answering; this is the saved copy.";
    }, 1000));
    Shot(contactCard, "13-contact-card-saved-copy");

    PostMessageA(app.Window().Handle(), WM_COMMAND, HostWindow::MenuServerAnswers, 0);
    Settle();
    PostMessageA(contactCard, WM_KEYDOWN, VK_F5, 0);
    Settle();
    Step("the server is back and F5 (Try again) fills the card", app.Log().MessageCount() == sent + 3 &&
        WaitFor([notice] { return !IsWindowVisible(notice); }));
}

void DemoScript::ChooseCardMenuItem(HWND cardWindow, int item)
{
    HWND heading = Descendant(cardWindow, IDC_HEADING, [](HWND h) { return IsWindowVisible(h) != FALSE; });
    if (!Step("a card heading to right-click", heading != nullptr))
        return;
    RECT rect = {};
    GetWindowRect(heading, &rect);
    for (int i = 0; i < item; ++i)
        PostMessageA(cardWindow, WM_KEYDOWN, VK_DOWN, 0);
    PostMessageA(cardWindow, WM_KEYDOWN, VK_RETURN, 0);
    SendMessageA(GetParent(heading), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(heading),
        MAKELPARAM(rect.left + 6, rect.top + 3));
    Settle();
}

void DemoScript::RaiseAndPaint(HWND window)
{
    RaiseForScreenshot(window);
    for (int round = 0; round < 8; ++round) {
        app.Loop().PumpPending();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 30, QS_ALLINPUT);
    }
}

void DemoScript::ShotOfDialog(HWND dialog, const std::string& name)
{
    RaiseAndPaint(dialog);
    // The dialog has the current folder while it is up.
    std::string path = fullFolder + "\\" + name + ".png";
    if (Step("screenshot " + name + ".png", SaveScreenshot(dialog, path)))
        shots.push_back(folder + "/" + name + ".png");
}

void DemoScript::Spanish()
{
    PostMessageA(app.Window().Handle(), WM_COMMAND, HostWindow::MenuSpanish, 0);
    Settle();
    Step("Spanish retitles the search dialog", search && TitleOf(search) != SearchTitle);
    Step("Spanish retitles the open card", contactCard && TitleOf(contactCard) != CardTitle);
    Shot(app.Window().Handle(), "14-host-spanish");
    Shot(search, "15-search-spanish");
    Shot(contactCard, "16-contact-card-spanish");

    PostMessageA(app.Window().Handle(), WM_COMMAND, HostWindow::MenuProductOther, 0);
    Settle();
    Step("the product name retitles the search dialog", search && TitleOf(search).rfind("Quillora Plus - ", 0) == 0);
    PostMessageA(app.Window().Handle(), WM_COMMAND, HostWindow::MenuProductQuillora, 0);
    Settle();
}

void DemoScript::Hostile()
{
    DevContact* target = app.User().List().At(app.User().List().Count() ? app.User().List().Count() - 1 : 0);
    if (!Step("a card is open for the hostile answers", target && IsWindow(contactCard)))
        return;
    std::filesystem::path root = std::filesystem::absolute(app.Options().folder);
    WriteAudit audit;
    audit.WatchKey(HKEY_LOCAL_MACHINE, "HKLM", "Software");
    audit.WatchKey(HKEY_CURRENT_USER, "HKCU", "Software");
    audit.Ignore("HKLM\\Software\\Classes");
    audit.Ignore("HKCU\\Software\\Classes");
    audit.Allow("HKLM\\Software\\Tesselar\\Quillora\\Users\\");
    audit.WatchFolder(root, true);
    audit.WatchFolder("C:\\", false);
    audit.WatchFolder("C:\\windows", false);
    audit.Allow((std::filesystem::absolute(app.AppPath()) / "vc").string());
    audit.Ignore((root / "transcript.txt").string());
    audit.Before();
    app.Log().Note(std::to_string(audit.Watched()) + " registry and file entries watched");

    for (const HostileAnswer& answer : HostileAnswers(target->UserName(), target->Domain())) {
        app.Log().Note("hostile answer " + answer.name + ": " + answer.what);
        app.Link().Deliver("VCARD-PC", answer.xml);
        Settle();
        Step("survives " + answer.name, IsWindow(app.Window().Handle()) && !app.Loop().QuitSeen());
    }
    std::vector<std::string> violations = audit.Violations();
    for (const std::string& violation : violations)
        PrintLine("devhost: written outside the service's places: " + violation);
    Step("nothing written outside Users\\... and AppPath\\vc", violations.empty());
    Shot(contactCard, "17-contact-card-after-hostile");
    std::set<HWND> windows = OwnWindows();
    int index = 18;
    for (HWND window : windows)
        if (window != app.Window().Handle() && window != contactCard && window != search)
            Shot(window, std::to_string(index++) + "-after-hostile");
}

bool DemoScript::Step(const std::string& name, bool ok)
{
    if (!ok)
        ++failures;
    PrintLine("step " + name + std::string(name.size() < 60 ? 60 - name.size() : 0, ' ') + (ok ? " ok" : " FAILED"));
    app.Log().Note("step " + name + (ok ? ": ok" : ": FAILED"));
    return ok;
}

void DemoScript::Shot(HWND window, const std::string& name)
{
    if (!window)
        return;
    Settle();
    RaiseAndPaint(window);
    std::string path = folder + "/" + name + ".png";
    if (Step("screenshot " + name + ".png", SaveScreenshot(window, path)))
        shots.push_back(path);
    Settle();
}

void DemoScript::Settle()
{
    WaitFor([this] { return app.Link().Pending() == 0 && !GetQueueStatus(QS_ALLINPUT); });
    app.Loop().PumpPending();
}

bool DemoScript::WaitFor(const std::function<bool()>& done, int rounds)
{
    for (int round = 0; round < rounds; ++round) {
        app.Loop().PumpPending();
        if (done())
            return true;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 25, QS_ALLINPUT);
    }
    return false;
}

HWND DemoScript::WaitForWindow(const std::string& title, const std::set<HWND>& known)
{
    HWND found = nullptr;
    WaitFor([&] {
        for (HWND window : OwnWindows())
            if (!known.count(window) && TitleOf(window) == title)
                found = window;
        return found != nullptr;
    });
    return found;
}

std::set<HWND> DemoScript::OwnWindows() const
{
    std::set<HWND> windows;
    EnumThreadWindows(GetCurrentThreadId(), AddVisible, reinterpret_cast<LPARAM>(&windows));
    return windows;
}

void DemoScript::Type(HWND edit, const std::string& text)
{
    if (!edit) {
        Step("an edit to type \"" + text + "\" into", false);
        return;
    }
    SendMessageA(edit, EM_SETSEL, 0, -1);
    for (unsigned char c : text)
        PostMessageA(edit, WM_CHAR, c, 1);
    Settle();
}

void DemoScript::Click(HWND control)
{
    if (control)
        SendMessageA(control, BM_CLICK, 0, 0);
    Settle();
}

void DemoScript::ClickEntry(int id)
{
    HWND entry = Descendant(app.Window().PanelArea(), id);
    PostMessageA(entry, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
    PostMessageA(entry, WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
    Settle();
}

HWND DemoScript::Card(int id) const
{
    return card ? Descendant(card, id) : nullptr;
}
