#include "dialogs/CardPage.h"

#include <windowsx.h>

#include "dialogs/DialogSkin.h"
#include "resources/resource.h"
#include "support/CodePage.h"

namespace {

constexpr int WaitingText = 1;
// Where the notice over a saved copy stands: under the heading, in dialog units.
constexpr RECT NoticeStrip = {46, 17, 313, 25};

// Sets a flag for the length of a scope.
class Raised {
public:
    explicit Raised(bool& raised) : flag(raised) { flag = true; }
    ~Raised() { flag = false; }
    Raised(const Raised&) = delete;
    Raised& operator=(const Raised&) = delete;

private:
    bool& flag;
};

} // namespace

CardPage::CardPage(UINT resource, const char* const* table, int texts, int waiting, int error, int notAnswering)
    : SkinPage(resource), LangTable(table, texts), waitingId(waiting), errorIndex(error),
      notAnsweringIndex(notAnswering)
{
}

BOOL CardPage::OnInitDialog()
{
    Raised fill(filling);
    return SkinPage::OnInitDialog();
}

void CardPage::SetIdentity(const std::string& user, const std::string& domain, const std::string& displayName)
{
    SetDlgItemTextA(hwnd, IDC_HEADING, (displayName + " (" + user + "@" + domain + ")").c_str());
}

void CardPage::ShowContent()
{
    shown = true;
    notice = 0;
    for (HWND child = ::GetWindow(hwnd, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
        ::ShowWindow(child, ::GetDlgCtrlID(child) == waitingId ? SW_HIDE : SW_SHOW);
}

void CardPage::ShowNotAnswering()
{
    if (shown || failed || notAnsweringIndex == 0 || ShowsSavedCopy())
        return;
    notice = notAnsweringIndex;
    SetDlgItemTextA(hwnd, waitingId, GetText(notice));
}

void CardPage::ShowWaiting()
{
    if (notice != notAnsweringIndex)
        return;
    notice = 0;
    SetDlgItemTextA(hwnd, waitingId, GetText(WaitingText));
}

void CardPage::ShowSavedCopy()
{
    if (shown || failed || notAnsweringIndex == 0)
        return;
    notice = notAnsweringIndex + 1;
    SetDlgItemTextA(hwnd, waitingId, GetText(notice));
    RECT strip = NoticeStrip;
    MapDialogRect(hwnd, &strip);
    HWND waiting = GetDlgItem(waitingId);
    ::SetWindowLongA(waiting, GWL_STYLE, (::GetWindowLongA(waiting, GWL_STYLE) & ~SS_TYPEMASK) | SS_LEFT);
    ::SetWindowPos(waiting, nullptr, strip.left, strip.top, strip.right - strip.left, strip.bottom - strip.top,
        SWP_NOZORDER | SWP_NOACTIVATE);
    for (HWND child = ::GetWindow(hwnd, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
        ::ShowWindow(child, SW_SHOW);
}

LRESULT CardPage::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CONTEXTMENU) {
        POINT point = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        RECT heading = {};
        ::GetWindowRect(GetDlgItem(IDC_HEADING), &heading);
        if (PtInRect(&heading, point) && onHeadingMenu) {
            onHeadingMenu(point);
            return 0;
        }
    }
    return SkinPage::WindowProc(message, wParam, lParam);
}

void CardPage::ShowError()
{
    if (errorIndex == 0)
        return;
    failed = true;
    notice = 0;
    SetDlgItemTextA(hwnd, waitingId, GetText(errorIndex));
}

void CardPage::UpdateControls()
{
    Raised fill(filling);
    UpdateData(FALSE);
}

void CardPage::WriteTexts(std::initializer_list<std::pair<int, int>> texts)
{
    SetDlgItemTextA(hwnd, waitingId, GetText(failed ? errorIndex : notice ? notice : WaitingText));
    for (const auto& [id, entry] : texts)
        SetDlgItemTextA(hwnd, id, GetText(entry));
}

void CardPage::SetUpButton(SkinButton& button)
{
    SetUpDialogButton(button, GetFont());
}

std::string CardPage::ItemText(int id) const
{
    HWND item = GetDlgItem(id);
    std::string text(static_cast<size_t>(::GetWindowTextLengthA(item)) + 1, '\0');
    text.resize(static_cast<size_t>(::GetWindowTextA(item, text.data(), static_cast<int>(text.size()))));
    return text;
}

std::string CardPage::ShownText(int id) const
{
    std::string text;
    for (char c : ItemText(id))
        if (c != '\r')
            text += c;
    return Utf8FromCp1252(text);
}

bool CardPage::TypeText(int edit, const std::string& utf8)
{
    Cp1252Text converted = Cp1252FromUtf8(utf8);
    HWND control = GetDlgItem(edit);
    bool multiline = (::GetWindowLongA(control, GWL_STYLE) & ES_MULTILINE) != 0;
    std::string text;
    for (char c : converted.text)
        text += c == '\n' && multiline ? std::string("\r\n") : std::string(1, c);
    if (ItemText(edit) != text) {
        ::SendMessageA(control, EM_SETSEL, 0, -1);
        ::SendMessageA(control, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text.c_str()));
    }
    return !converted.lost;
}

std::string CardPage::LabelText(int id) const
{
    std::string text;
    for (char c : ItemText(id))
        if (c != '&')
            text += c;
    return text;
}

void CardPage::TellChange() const
{
    if (onChange)
        onChange();
}

// Enter and Escape in a page are the card dialog's OK and Cancel, whatever
// state its OK button is in.
void CardPage::OnOK()
{
    ::SendMessageA(GetParent(), WM_COMMAND, IDOK, 0);
}

void CardPage::OnCancel()
{
    ::SendMessageA(GetParent(), WM_COMMAND, IDCANCEL, 0);
}
