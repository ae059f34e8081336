#include "devhost/HostWindow.h"

#include <cstring>
#include <vector>

#include "devhost/HostObjects.h"
#include "devhost/ServerLink.h"

namespace {

constexpr char WindowClass[] = "VcardDevHost";
constexpr char AreaClass[] = "VcardDevHostPanelArea";
constexpr int AreaWidth = 200, AreaHeight = 200;
constexpr COLORREF Ink = RGB(20, 40, 90), Paper = RGB(240, 244, 250), Frame = RGB(70, 110, 170),
                   Hover = RGB(160, 20, 20);

HMENU BuildMenu()
{
    HMENU bar = CreateMenu();
    HMENU service = CreatePopupMenu();
    AppendMenuA(service, MF_STRING, HostWindow::MenuActivate, "&Activate");
    AppendMenuA(service, MF_STRING, HostWindow::MenuHidePanel, "&Hide panel");
    AppendMenuA(service, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(service, MF_STRING, HostWindow::MenuServerAnswers, "Server &answers");
    AppendMenuA(service, MF_STRING, HostWindow::MenuServerSlow, "Server is &slow (20 s)");
    AppendMenuA(service, MF_STRING, HostWindow::MenuServerGone, "Server is &gone");
    CheckMenuRadioItem(service, HostWindow::MenuServerAnswers, HostWindow::MenuServerGone,
        HostWindow::MenuServerAnswers, MF_BYCOMMAND);
    AppendMenuA(service, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(service, MF_STRING, HostWindow::MenuExit, "E&xit");
    HMENU language = CreatePopupMenu();
    AppendMenuA(language, MF_STRING, HostWindow::MenuEnglish, "&English");
    AppendMenuA(language, MF_STRING, HostWindow::MenuSpanish, "&Spanish");
    HMENU product = CreatePopupMenu();
    AppendMenuA(product, MF_STRING, HostWindow::MenuProductQuillora, "&Quillora");
    AppendMenuA(product, MF_STRING, HostWindow::MenuProductOther, "Quillora &Plus");
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(service), "&Service");
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(language), "&Language");
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(product), "&Product");
    return bar;
}

}  // namespace

HostWindow::HostWindow(DevUser& signedIn, ServerLink& server) : user(signedIn), link(server) {}

HostWindow::~HostWindow()
{
    if (IsWindow(window))
        DestroyWindow(window);
    if (font)
        DeleteObject(font);
    if (skin)
        DeleteObject(skin);
}

bool HostWindow::Create(const std::string& title)
{
    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSA main = {};
    main.lpfnWndProc = Procedure;
    main.hInstance = instance;
    main.hCursor = LoadCursor(nullptr, IDC_ARROW);
    main.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    main.lpszClassName = WindowClass;
    WNDCLASSA area = main;
    area.lpfnWndProc = AreaProcedure;
    area.hbrBackground = nullptr;
    area.lpszClassName = AreaClass;
    RegisterClassA(&main);
    RegisterClassA(&area);

    font = CreateFontA(-11, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, DEFAULT_QUALITY, 0, "Tahoma");
    window = CreateWindowExA(0, WindowClass, title.c_str(), WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 20, 20, 560,
        310, nullptr, BuildMenu(), instance, this);
    if (!window)
        return false;
    MakeSkin(AreaWidth, AreaHeight);
    panelArea = CreateWindowExA(0, AreaClass, "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 10, 10, AreaWidth,
        AreaHeight, window, reinterpret_cast<HMENU>(PanelAreaId), instance, this);
    HWND label = CreateWindowExA(0, "STATIC", "Contacts", WS_CHILD | WS_VISIBLE, 222, 10, 300, 16, window, nullptr,
        instance, nullptr);
    contacts = CreateWindowExA(WS_EX_CLIENTEDGE, "LISTBOX", "",
        WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT, 222, 28, 310, 182, window,
        reinterpret_cast<HMENU>(ContactsId), instance, nullptr);
    status = CreateWindowExA(WS_EX_CLIENTEDGE, "STATIC", "", WS_CHILD | WS_VISIBLE | SS_LEFTNOWORDWRAP, 10, 222,
        522, 20, window, reinterpret_cast<HMENU>(StatusId), instance, nullptr);
    for (HWND child : {label, contacts, status})
        SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    SetStatus("Signed in as " + user.Name() + "@" + user.DomainName());
    RefreshContacts();
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);
    return panelArea && contacts && status;
}

void HostWindow::GiveAppearance()
{
    if (!service)
        return;
    service->SetAppearance(font, Ink, Paper, Frame, Hover);
    RECT area = {0, 0, AreaWidth, AreaHeight};
    service->SetPanelArea(panelArea, &area, skin);
}

void HostWindow::SetStatus(const std::string& text)
{
    SetWindowTextA(status, text.c_str());
}

std::string HostWindow::Status() const
{
    char text[512] = {};
    GetWindowTextA(status, text, sizeof text);
    return text;
}

void HostWindow::RefreshContacts()
{
    SendMessageA(contacts, LB_RESETCONTENT, 0, 0);
    DevContactList& list = user.List();
    for (std::size_t i = 0; i < list.Count(); ++i) {
        DevContact* contact = list.At(i);
        std::string line = std::string(contact->DisplayName()) + "  <" + contact->Address() + ">";
        SendMessageA(contacts, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
    }
}

std::string HostWindow::ContactMenuText(int index)
{
    DevContact* contact = index >= 0 ? user.List().At(static_cast<std::size_t>(index)) : nullptr;
    if (!service || !contact)
        return {};
    char block[88] = {};
    if (!service->GetContactMenuItem("VCARD-PC", contact, block))
        return {};
    return std::string(block + 20, strnlen(block + 20, 64));
}

void HostWindow::OpenContact(int index)
{
    DevContact* contact = index >= 0 ? user.List().At(static_cast<std::size_t>(index)) : nullptr;
    if (service && contact)
        service->ContactCommand("VCARD-PC", contact);
}

void HostWindow::MakeSkin(int width, int height)
{
    HDC screen = GetDC(nullptr);
    skin = CreateCompatibleBitmap(screen, width, height);
    HDC dc = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(dc, skin);
    for (int y = 0; y < height; ++y) {
        int t = y * 255 / height;
        for (int x = 0; x < width; x += 2) {
            int weave = ((x + y) / 6) % 2 ? 6 : 0;
            RECT cell = {x, y, x + 2, y + 1};
            SetBkColor(dc, RGB(196 - t / 6 + weave, 214 - t / 8 + weave, 236 - t / 12));
            ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &cell, nullptr, 0, nullptr);
        }
    }
    SelectObject(dc, old);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
}

LRESULT CALLBACK HostWindow::Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<HostWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (self && self->window == hwnd)
        return self->Handle(message, wParam, lParam);
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

LRESULT CALLBACK HostWindow::AreaProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<HostWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (self && (message == WM_PAINT || message == WM_PRINTCLIENT)) {
        PAINTSTRUCT paint = {};
        HDC dc = message == WM_PAINT ? BeginPaint(hwnd, &paint) : reinterpret_cast<HDC>(wParam);
        HDC source = CreateCompatibleDC(dc);
        HGDIOBJ old = SelectObject(source, self->skin);
        BitBlt(dc, 0, 0, AreaWidth, AreaHeight, source, 0, 0, SRCCOPY);
        SelectObject(source, old);
        DeleteDC(source);
        if (message == WM_PAINT)
            EndPaint(hwnd, &paint);
        return 0;
    }
    if (message == WM_ERASEBKGND)
        return 1;
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

LRESULT HostWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case ServerLink::AnswerMessage:
        link.AnswerNext();
        return 0;
    case WM_TIMER:
        if (wParam == ServerLink::SlowTimer)
            link.AnswerDue();
        return 0;
    case WM_COMMAND:
        if (LOWORD(wParam) == ContactsId && HIWORD(wParam) == LBN_DBLCLK)
            OpenContact(static_cast<int>(SendMessageA(contacts, LB_GETCURSEL, 0, 0)));
        else if (lParam == 0)
            OnMenu(LOWORD(wParam));
        return 0;
    case WM_CONTEXTMENU:
        if (reinterpret_cast<HWND>(wParam) == contacts)
            OnContextMenu({static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))});
        return 0;
    case WM_CLOSE:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

void HostWindow::OnMenu(int id)
{
    if (!service)
        return;
    switch (id) {
    case MenuEnglish: service->SetLanguage(1); SetStatus("Language: English"); break;
    case MenuSpanish: service->SetLanguage(0); SetStatus("Idioma: espanol"); break;
    case MenuProductQuillora: service->SetProductName("Quillora"); SetStatus("Product name: Quillora"); break;
    case MenuProductOther: service->SetProductName("Quillora Plus"); SetStatus("Product name: Quillora Plus"); break;
    case MenuActivate: service->Activate("VCARD-PC"); break;
    case MenuHidePanel: service->HandleEvent(3, 0); break;
    case MenuExit: PostQuitMessage(0); break;
    case MenuServerAnswers: ChooseServerMode(id, ServerLink::Mode::Answers, "Server: answers"); break;
    case MenuServerSlow: ChooseServerMode(id, ServerLink::Mode::Slow, "Server: slow"); break;
    case MenuServerGone: ChooseServerMode(id, ServerLink::Mode::Gone, "Server: gone"); break;
    default: break;
    }
}

void HostWindow::ChooseServerMode(int id, ServerLink::Mode mode, const std::string& statusText)
{
    link.SetMode(mode);
    CheckMenuRadioItem(GetMenu(window), MenuServerAnswers, MenuServerGone, static_cast<UINT>(id), MF_BYCOMMAND);
    SetStatus(statusText);
}

void HostWindow::OnContextMenu(POINT screen)
{
    POINT client = screen;
    ScreenToClient(contacts, &client);
    LRESULT hit = SendMessageA(contacts, LB_ITEMFROMPOINT, 0, MAKELPARAM(client.x, client.y));
    if (HIWORD(hit))
        return;
    int index = LOWORD(hit);
    SendMessageA(contacts, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
    std::string text = ContactMenuText(index);
    if (text.empty())
        return;
    HMENU menu = CreatePopupMenu();
    AppendMenuA(menu, MF_STRING, 1, text.c_str());
    int chosen = TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON, screen.x, screen.y, 0, window, nullptr);
    DestroyMenu(menu);
    if (chosen == 1)
        OpenContact(index);
}
