// Times the card dialog's road under Wine: from the delivery of a full
// four-section answer (8 KB photo) to the filled dialog, and opening and
// closing a card dialog. Medians of 100. The delivery is split by timing its
// parts alone: the read of the answer, the cache's store of its sections,
// the photo's decoding and a repaint of the filled dialog; the rest is the
// filling of the pages. Opening and closing is set beside its floor: the
// dialog's template and its three pages' templates made, shown and destroyed
// by the dialog manager alone, with a dialog procedure that does nothing.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "bench/wine/Clock.h"
#include "dialogs/CardDialog.h"
#include "frame/CardService.h"
#include "frame/HostSettings.h"
#include "picture/Picture.h"
#include "platform/ModuleContext.h"
#include "resources/resource.h"
#include "support/Base64.h"
#include "support/Xml.h"
#include "tests/hosts/TestHost.h"

namespace {

void Pump()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

// A 24-bit picture file of about 8 KB.
std::string PictureText()
{
    const int width = 52, height = 52, row = (width * 3 + 3) & ~3;
    std::string file(54 + row * height, '\0');
    auto put = [&](size_t at, uint32_t value, int bytes) {
        for (int i = 0; i < bytes; ++i)
            file[at + i] = static_cast<char>(value >> (8 * i));
    };
    file[0] = 'B';
    file[1] = 'M';
    put(2, static_cast<uint32_t>(file.size()), 4);
    put(10, 54, 4);
    put(14, 40, 4);
    put(18, width, 4);
    put(22, height, 4);
    put(26, 1, 2);
    put(28, 24, 2);
    for (size_t i = 54; i < file.size(); ++i)
        file[i] = static_cast<char>(i * 7);
    return Base64Encode(file, true);
}

std::string FullAnswer(const std::string& picture)
{
    std::string identification = "<typ>1<err>201</err><f>Ana</f><l>Ruiz</l><m>M</m><p>Dr</p><fn>Annie</fn><nk>an</nk>";
    for (int slot = 0; slot < 10; ++slot)
        identification += "<e" + std::to_string(slot) + ">person" + std::to_string(slot) + "@mail.example.org</e" +
                          std::to_string(slot) + ">";
    identification += "<c>0</c><ver>3</ver></typ>";
    std::string address = "<a>Main Street 1</a><ci>Lyon</ci><s>Rhone</s><z>69001</z><t>France</t><p>555 0101</p>"
                          "<x>555 0102</x><m>555 0103</m><w>www.example.org</w><c>0</c><ver>3</ver></typ>";
    return "<msg>1<ps>1<usr>c1</usr><dom>d1</dom>" + identification + "<typ>2<err>201</err>" + address +
           "<typ>3<err>201</err><cp>Acme</cp><j>Dev</j><d>R&amp;D</d>" + address + "<typ>4<err>201</err><ph>" +
           picture + "</ph><c>0</c><ver>3</ver></typ></ps></msg>";
}

INT_PTR CALLBACK PlainDialogProc(HWND, UINT message, WPARAM, LPARAM)
{
    return message == WM_INITDIALOG;
}

// Where opening and closing spends its time: making the windows (and, for
// the card, asking the server), the pump that paints them, and destroying.
struct OpenClose {
    double make, paint, destroy;
};

// The card dialog's templates with no code of ours: the dialog, its three
// pages inside it with the first one shown, the dialog shown on top, then
// destroyed; in the module's activation context, as the service runs.
OpenClose OpenCloseTemplates()
{
    ModuleContext context;
    HINSTANCE module = ModuleInstance();
    OpenClose times{};
    double start = Milliseconds();
    HWND dialog = CreateDialogParamA(module, MAKEINTRESOURCEA(IDD_CARD), nullptr, PlainDialogProc, 0);
    for (int page : {IDD_IDENTIFICATION, IDD_HOME, IDD_BUSINESS}) {
        HWND child = CreateDialogParamA(module, MAKEINTRESOURCEA(page), dialog, PlainDialogProc, 0);
        if (page == IDD_IDENTIFICATION)
            ShowWindow(child, SW_SHOW);
    }
    ShowWindow(dialog, SW_SHOW);
    SetWindowPos(dialog, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    SetForegroundWindow(dialog);
    times.make = Milliseconds() - start;
    start = Milliseconds();
    Pump();
    times.paint = Milliseconds() - start;
    start = Milliseconds();
    DestroyWindow(dialog);
    Pump();
    times.destroy = Milliseconds() - start;
    return times;
}

// The same for a contact's card dialog, opened as the host's menu opens it.
OpenClose OpenCloseCard(ServiceInterface& service, HostContact& contact)
{
    OpenClose times{};
    double start = Milliseconds();
    service.ContactCommand("VCARD-PC", &contact);
    times.make = Milliseconds() - start;
    start = Milliseconds();
    Pump();
    times.paint = Milliseconds() - start;
    start = Milliseconds();
    CardDialog* dialog = static_cast<CardService&>(service).FindCardDialog("c1", "d1");
    DestroyWindow(dialog->GetSafeHwnd());
    Pump();
    times.destroy = Milliseconds() - start;
    return times;
}

std::vector<double> Part(const std::vector<OpenClose>& rounds, double OpenClose::*part)
{
    std::vector<double> values;
    for (const OpenClose& round : rounds)
        values.push_back(round.*part);
    return values;
}

std::vector<double> Totals(const std::vector<OpenClose>& rounds)
{
    std::vector<double> values;
    for (const OpenClose& round : rounds)
        values.push_back(round.make + round.paint + round.destroy);
    return values;
}

} // namespace

int main()
{
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    std::string appPath = std::string(temp) + "vcard-card-bench";
    CreateDirectoryA(appPath.c_str(), nullptr);
    HKEY key;
    RegCreateKeyExA(HKEY_LOCAL_MACHINE, HostSettingsKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
    RegSetValueExA(key, "AppPath", 0, REG_SZ, reinterpret_cast<const BYTE*>(appPath.c_str()),
                   static_cast<DWORD>(appPath.size() + 1));
    RegCloseKey(key);

    TestHost host;
    TestUser user("u1", "d1", "User One");
    TestContact contact("c1", "d1", "Contact One");
    ServiceInterface* service = CreateService(&host);
    auto* card = static_cast<CardService*>(service);
    service->Start();
    service->Login(&user);

    std::string picture = PictureText();
    std::string answer = FullAnswer(picture);
    std::vector<double> fill, parse, store, decode, paint;
    std::vector<OpenClose> openClose, templates;
    int filled = 0;
    for (int round = 0; round < 100; ++round) {
        openClose.push_back(OpenCloseCard(*service, contact));
        templates.push_back(OpenCloseTemplates());

        service->ContactCommand("VCARD-PC", &contact);
        CardDialog* dialog = card->FindCardDialog("c1", "d1");
        Pump();
        double start = Milliseconds();
        service->DeliverMessage(0, "VCARD-PC", answer.c_str());
        Pump();
        fill.push_back(Milliseconds() - start);
        char first[64] = "";
        GetDlgItemTextA(dialog->Identification().GetSafeHwnd(), IDC_FIRST, first, sizeof first);
        filled += std::string(first) == "Ana";

        start = Milliseconds();
        RedrawWindow(dialog->GetSafeHwnd(), nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        paint.push_back(Milliseconds() - start);
        start = Milliseconds();
        XmlDocument doc;
        doc.Parse(answer);
        parse.push_back(Milliseconds() - start);
        const XmlNode& person = doc.FindChild("ps");
        start = Milliseconds();
        CardCache& cache = card->Cache();
        const XmlNode* typ = &person.FindChild("typ");
        cache.StoreBasic("c1", "d1", *typ);
        cache.StoreHome("c1", "d1", *(typ = &person.FindNextChild("typ", *typ)));
        cache.StoreBusiness("c1", "d1", *(typ = &person.FindNextChild("typ", *typ)));
        cache.StorePhoto("c1", "d1", person.FindNextChild("typ", *typ), false);
        store.push_back(Milliseconds() - start);
        start = Milliseconds();
        std::string bytes = Base64Decode(picture);
        CPicture loaded;
        loaded.Load(reinterpret_cast<const unsigned char*>(bytes.data()), static_cast<int>(bytes.size()));
        decode.push_back(Milliseconds() - start);
        DestroyWindow(dialog->GetSafeHwnd());
        Pump();
    }

    std::printf("%-58s %10s\n", "card dialog (median of 100)", "ms");
    std::printf("%-58s %10.2f   (goal 60)\n", "DeliverMessage of a full answer (8 KB photo) to filled", Median(fill));
    double parts = Median(parse) + Median(store) + Median(decode) + Median(paint);
    std::printf("%-58s %10.2f\n", "  parse the answer", Median(parse));
    std::printf("%-58s %10.2f\n", "  cache store of the four sections", Median(store));
    std::printf("%-58s %10.2f\n", "  picture decode (Base64 and picture loader)", Median(decode));
    std::printf("%-58s %10.2f\n", "  paint the filled dialog (a full repaint)", Median(paint));
    std::printf("%-58s %10.2f\n", "  the rest: filling the pages", Median(fill) - parts);
    double total = Median(Totals(openClose)), floor = Median(Totals(templates));
    std::printf("%-58s %10.2f\n", "open and close a card dialog", total);
    std::printf("%-58s %10.2f\n", "  floor: its four templates alone, made and destroyed", floor);
    std::printf("%-58s %10.2f   (goal 1.3)\n", "  open and close / floor", total / floor);
    std::printf("%-58s %10s %10s\n", "  the parts of open and close", "card", "floor");
    for (auto [name, part] : {std::pair{"make (the card: and ask the server)", &OpenClose::make},
             std::pair{"first paint", &OpenClose::paint}, std::pair{"destroy", &OpenClose::destroy}})
        std::printf("    %-54s %10.2f %10.2f\n", name, Median(Part(openClose, part)), Median(Part(templates, part)));
    std::printf("check: answer %zu bytes, %d of 100 dialogs filled\n", answer.size(), filled);

    service->DeletingDestructor(1);
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, HostSettingsKey);
    return 0;
}
