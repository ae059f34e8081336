#include "dialogs/SearchDialog.h"

#include <algorithm>
#include <iterator>

#include "dialogs/AnswerTimeLimit.h"
#include "dialogs/DialogSkin.h"
#include "platform/ModuleContext.h"
#include "resources/resource.h"

namespace {

enum Text {
    TitleText = 1,
    SearchText = 2,
    CloseText = 3,
    ViewText = 4,
    UserColumnText = 5,
    DomainColumnText = 6,
    NameText = 7,
    EmailText = 8,
    CompanyText = 9,
    CountryText = 10,
    StateText = 11,
    CityText = 12,
    WaitingText = 13,
    AddText = 14,
    NameColumnText = 15,
    EmailColumnText = 16,
    CompanyColumnText = 17,
    CountryColumnText = 18,
    StateColumnText = 19,
    CityColumnText = 20,
    NotAnsweringText = 21,
};

struct Field {
    int edit, label, labelText;
};

// In the order of SearchFields.
constexpr Field FieldControls[] = {
    {IDC_NAME, IDC_NAME_LABEL, NameText},
    {IDC_EMAIL, IDC_EMAIL_LABEL, EmailText},
    {IDC_COMPANY, IDC_SEARCH_COMPANY_LABEL, CompanyText},
    {IDC_COUNTRY, IDC_SEARCH_COUNTRY_LABEL, CountryText},
    {IDC_STATE, IDC_SEARCH_STATE_LABEL, StateText},
    {IDC_CITY, IDC_SEARCH_CITY_LABEL, CityText},
};

struct Column {
    int width, headerText;
};

// User name, domain, name, e-mail, company, country, state, city.
constexpr Column Columns[] = {{120, UserColumnText}, {120, DomainColumnText}, {240, NameColumnText},
    {240, EmailColumnText}, {120, CompanyColumnText}, {120, CountryColumnText}, {120, StateColumnText},
    {120, CityColumnText}};

bool IsEmpty(const SearchFields& fields)
{
    return fields.name.empty() && fields.email.empty() && fields.company.empty() && fields.country.empty()
        && fields.state.empty() && fields.city.empty();
}

// Posted by the first AddResult of an answer; ends the answer's bulk adds.
constexpr UINT ResumeRedrawMessage = WM_APP + 1;

// A column fitted to its content grows no wider than this.
constexpr int MaxColumnWidth = 320;
// Room around a header's text: its margins and the sort arrow.
constexpr int HeaderPadding = 28;
// The longest texts of a column, by characters, that are measured to fit it.
constexpr size_t MeasuredTexts = 3;
// WM_KEYDOWN's flag for a key that was already down: an auto-repeat.
constexpr LPARAM KeyWasDown = 1 << 30;
// A list that only grows during an answer keeps its scroll position and
// redraws nothing yet: the answer is drawn once afterwards.
constexpr DWORD GrowQuietly = LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL;

// Typed letters in the code page of the list's texts.
std::string Narrow(const wchar_t* text)
{
    int size = WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 0)
        return {};
    std::string narrow(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, 0, text, -1, narrow.data(), size, nullptr, nullptr);
    narrow.pop_back();
    return narrow;
}

} // namespace

SearchDialog::SearchDialog(DialogOwner* dialogOwner)
    : CDialog(IDD_SEARCH), LangTable(LangTexts::searchDialog, LangTexts::searchDialogCount), owner(dialogOwner),
      titleName(GetText(ProductNameText))
{
}

bool SearchDialog::Create()
{
    return CDialog::Create(nullptr) != FALSE;
}

void SearchDialog::DoDataExchange(CDataExchange* exchange)
{
    DDX_Control(exchange, IDOK, searchButton);
    DDX_Control(exchange, IDCANCEL, closeButton);
    DDX_Control(exchange, IDC_VIEW, viewButton);
    DDX_Control(exchange, IDC_ADD, addButton);
    DDX_Control(exchange, IDC_PRODUCT_LABEL, productLabel);
    std::string* texts[] = {&fields.name, &fields.email, &fields.company, &fields.country, &fields.state, &fields.city};
    for (size_t i = 0; i < std::size(FieldControls); ++i)
        DDX_Text(exchange, FieldControls[i].edit, *texts[i]);
}

BOOL SearchDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetDialogIcons(hwnd, IDI_SEARCH_SMALL, IDI_SEARCH);
    productImage.Reset(LoadBitmapA(ModuleInstance(), MAKEINTRESOURCEA(IDB_PRODUCT_LOGO)));
    for (SkinButton* button : {&searchButton, &closeButton, &viewButton, &addButton})
        SetUpDialogButton(*button, GetFont());
    // The label shows only the image, which carries the product's name: the
    // template's text would not fit.
    SetUpProductLabel(productLabel, hwnd, productImage);
    // Bound without subclassing: the dialog needs only the list's
    // notifications, none of its own messages.
    results.Attach(GetDlgItem(IDC_RESULTS));
    for (int i = 0; i < static_cast<int>(std::size(Columns)); ++i)
        results.InsertColumn(i, "", LVCFMT_LEFT, Columns[i].width);
    results.SetExtendedStyle(LVS_EX_FULLROWSELECT | LVS_EX_LABELTIP);
    SendMessage(DM_SETDEFID, IDOK);
    SetLanguage(GetLanguage());
    return TRUE;
}

void SearchDialog::SetTitleName(const std::string& productName)
{
    titleName = productName;
    WriteTitle();
}

void SearchDialog::WriteTitle()
{
    SetWindowText(DialogTitle(titleName, GetText(TitleText)));
}

void SearchDialog::SetLanguage(int value)
{
    LangTable::SetLanguage(value);
    SetDlgItemTextA(hwnd, IDC_SEARCH_GROUP, GetText(TitleText));
    searchButton.SetWindowText(GetText(SearchText));
    closeButton.SetWindowText(GetText(CloseText));
    viewButton.SetWindowText(GetText(ViewText));
    addButton.SetWindowText(GetText(AddText));
    for (const Field& field : FieldControls)
        SetDlgItemTextA(hwnd, field.label, GetText(field.labelText));
    SetDlgItemTextA(hwnd, IDC_SEARCH_WAITING, GetText(timedOut ? NotAnsweringText : WaitingText));
    for (int i = 0; i < static_cast<int>(std::size(Columns)); ++i)
        results.SetColumnHeading(i, GetText(Columns[i].headerText));
    WriteTitle();
}

void SearchDialog::EnableSearchFields(bool enable)
{
    for (const Field& field : FieldControls) {
        ::EnableWindow(GetDlgItem(field.edit), enable);
        ::EnableWindow(GetDlgItem(field.label), enable);
    }
    results.EnableWindow(enable);
    searchButton.EnableWindow(enable);
}

void SearchDialog::OnOK()
{
    if (searching)
        return;
    UpdateData(TRUE);
    if (IsEmpty(fields))
        return;
    if (!owner)
        return;
    owner->Search(fields);
    searching = true;
    timedOut = false;
    answerTimer.Start(hwnd, AnswerTimeLimit);
    SetDlgItemTextA(hwnd, IDC_SEARCH_WAITING, GetText(WaitingText));
    // Close is what still works: the focus goes there before the fields go grey.
    SendMessage(WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(closeButton.GetSafeHwnd()), TRUE);
    EnableSearchFields(false);
    viewButton.EnableWindow(FALSE);
    addButton.EnableWindow(FALSE);
    EmptyList();
    ::ShowWindow(GetDlgItem(IDC_SEARCH_WAITING), SW_SHOW);
}

void SearchDialog::SearchFinished()
{
    answerTimer.Stop();
    searching = false;
    timedOut = false;
    ::ShowWindow(GetDlgItem(IDC_SEARCH_WAITING), SW_HIDE);
    EnableSearchFields(true);
    EmptyList();
    sortColumn = -1;
    results.SetSortArrow(-1, true);
    addAsked = false;
}

void SearchDialog::AddResult(const std::string& user, const std::string& domain, const std::string& name,
    const std::string& email, const std::string& company, const std::string& city, const std::string& state,
    const std::string& country)
{
    if (!redrawSuspended) {
        results.SendMessage(WM_SETREDRAW, FALSE);
        redrawSuspended = true;
        PostMessage(ResumeRedrawMessage);
    }
    rows.push_back({user, domain, name, email, company, country, state, city});
    shown.push_front(rows.size() - 1);
    results.SetItemCount(static_cast<int>(shown.size()), GrowQuietly);
}

void SearchDialog::EmptyList()
{
    results.DeleteAllItems();
    rows.clear();
    shown.clear();
    selectionSeen = {-1, 0};
}

void SearchDialog::SortBy(int column)
{
    std::vector<size_t> before(shown.begin(), shown.end());
    sortAscending = column != sortColumn || !sortAscending;
    sortColumn = column;
    std::sort(shown.begin(), shown.end(), [this](size_t a, size_t b) { return Precedes(a, b); });
    results.SetSortArrow(sortColumn, sortAscending);
    KeepSelection(before);
    results.Invalidate();
}

// Texts in the user's order of the alphabet, accents included; equal texts
// keep their order as listed, the newest first.
bool SearchDialog::Precedes(size_t first, size_t second) const
{
    const auto column = static_cast<size_t>(sortColumn);
    int order = CompareStringA(LOCALE_USER_DEFAULT, 0, rows[first][column].c_str(), -1, rows[second][column].c_str(),
        -1) - CSTR_EQUAL;
    if (order == 0)
        return first > second;
    return sortAscending ? order < 0 : order > 0;
}

// The list keeps its selection by place: the selected places, the focus and
// the anchor of a shift click move to where their rows went.
void SearchDialog::KeepSelection(const std::vector<size_t>& rowsBefore)
{
    std::vector<int> placeOf(rows.size());
    for (size_t place = 0; place < shown.size(); ++place)
        placeOf[shown[place]] = static_cast<int>(place);
    auto moved = [&](int place) { return place < 0 ? -1 : placeOf[rowsBefore[static_cast<size_t>(place)]]; };
    std::vector<int> selected;
    for (int place = results.GetFirstSelected(); place >= 0; place = results.GetNextItem(place, LVNI_SELECTED))
        selected.push_back(moved(place));
    int focused = moved(results.GetNextItem(-1, LVNI_FOCUSED));
    int mark = moved(results.GetSelectionMark());
    // The same accounts stay selected: an Add already asked for stays done.
    bool asked = addAsked;
    results.SetItemState(-1, 0, LVIS_SELECTED);
    for (int place : selected)
        results.SetItemState(place, LVIS_SELECTED, LVIS_SELECTED);
    if (focused >= 0)
        results.SetItemState(focused, LVIS_FOCUSED, LVIS_FOCUSED);
    results.SetSelectionMark(mark);
    selectionSeen = SelectionNow();
    addAsked = asked;
    UpdateButtons();
}

int SearchDialog::FindUser(const std::string& typed, int start) const
{
    int places = static_cast<int>(shown.size());
    if (start < 0 || start >= places)
        start = 0;
    auto length = static_cast<int>(typed.size());
    for (int i = 0; i < places; ++i) {
        int place = (start + i) % places;
        const std::string& user = ShownRow(place)[0];
        if (static_cast<int>(user.size()) >= length
            && CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, user.c_str(), length, typed.c_str(), length)
                == CSTR_EQUAL)
            return place;
    }
    return -1;
}

// Each column the user has not sized fits its longest texts and its header.
void SearchDialog::FitColumns()
{
    for (size_t column = 0; column < std::size(Columns); ++column) {
        if (userSized[column])
            continue;
        std::vector<const std::string*> texts;
        for (const auto& row : rows)
            texts.push_back(&row[column]);
        size_t measured = std::min(texts.size(), MeasuredTexts);
        std::partial_sort(texts.begin(), texts.begin() + static_cast<std::ptrdiff_t>(measured), texts.end(),
            [](const std::string* a, const std::string* b) { return a->size() > b->size(); });
        int width = results.GetStringWidth(GetText(Columns[column].headerText)) + HeaderPadding;
        for (size_t i = 0; i < measured; ++i)
            width = std::max(width, results.GetStringWidth(texts[i]->c_str()) + HeaderPadding);
        results.SetColumnWidth(static_cast<int>(column), std::min(width, MaxColumnWidth));
    }
}

void SearchDialog::ResumeRedraw()
{
    FitColumns();
    redrawSuspended = false;
    results.SendMessage(WM_SETREDRAW, TRUE);
    results.Invalidate();
}

void SearchDialog::UpdateButtons()
{
    int row = results.GetFirstSelected();
    viewButton.EnableWindow(row >= 0);
    addButton.EnableWindow(row >= 0 && !addAsked && owner && !owner->IsContact(ShownRow(row)[0], ShownRow(row)[1]));
}

std::pair<int, int> SearchDialog::SelectionNow() const
{
    int first = results.GetFirstSelected();
    return {first < 0 ? -1 : static_cast<int>(shown[static_cast<size_t>(first)]), results.GetSelectedCount()};
}

// The list reports a click on the selected row as a change too: only another
// first row or another number of rows is one.
void SearchDialog::SelectionChanged()
{
    std::pair<int, int> now = SelectionNow();
    if (now != selectionSeen) {
        selectionSeen = now;
        addAsked = false;
    }
    UpdateButtons();
}

bool SearchDialog::TakeSelection()
{
    int row = results.GetFirstSelected();
    if (row < 0)
        return false;
    selectedUser = ShownRow(row)[0];
    selectedDomain = ShownRow(row)[1];
    return true;
}

void SearchDialog::ViewSelection()
{
    if (TakeSelection() && owner)
        owner->ViewSearchResult(selectedUser, selectedDomain);
}

LRESULT SearchDialog::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (HIWORD(wParam) == BN_CLICKED && LOWORD(wParam) == IDC_VIEW) {
        ViewSelection();
        return 0;
    }
    if (HIWORD(wParam) == BN_CLICKED && LOWORD(wParam) == IDC_ADD) {
        if (TakeSelection() && owner) {
            addAsked = true;
            addButton.EnableWindow(FALSE);
            owner->AddSearchResult(selectedUser, selectedDomain);
        }
        return 0;
    }
    return CDialog::OnCommand(wParam, lParam);
}

LRESULT SearchDialog::OnNotify(WPARAM wParam, LPARAM lParam)
{
    const auto* header = reinterpret_cast<const NMHDR*>(lParam);
    if (header->hwndFrom == ListView_GetHeader(results.GetSafeHwnd())) {
        // The user's own width stays for this dialog.
        if (header->code == HDN_ENDTRACKA || header->code == HDN_ENDTRACKW || header->code == HDN_DIVIDERDBLCLICKA
            || header->code == HDN_DIVIDERDBLCLICKW) {
            int column = reinterpret_cast<const NMHEADERA*>(lParam)->iItem;
            if (column >= 0 && column < static_cast<int>(userSized.size()))
                userSized[static_cast<size_t>(column)] = true;
        }
        return CDialog::OnNotify(wParam, lParam);
    }
    if (header->idFrom != IDC_RESULTS)
        return CDialog::OnNotify(wParam, lParam);
    switch (header->code) {
    case LVN_GETDISPINFOA: {
        LVITEMA& item = reinterpret_cast<NMLVDISPINFOA*>(lParam)->item;
        if ((item.mask & LVIF_TEXT) && item.cchTextMax > 0 && item.iItem >= 0
            && item.iItem < static_cast<int>(shown.size()) && item.iSubItem >= 0
            && item.iSubItem < static_cast<int>(std::size(Columns))) {
            const std::string& text = ShownRow(item.iItem)[static_cast<size_t>(item.iSubItem)];
            item.pszText[text.copy(item.pszText, static_cast<size_t>(item.cchTextMax) - 1)] = '\0';
        }
        return 0;
    }
    // Type-ahead. Wine's list asks in UTF-16 even an ANSI dialog; Windows
    // asks it in ANSI.
    case LVN_ODFINDITEMW: {
        const auto* find = reinterpret_cast<const NMLVFINDITEMW*>(lParam);
        return FindUser(find->lvfi.psz ? Narrow(find->lvfi.psz) : "", find->iStart);
    }
    case LVN_ODFINDITEMA: {
        const auto* find = reinterpret_cast<const NMLVFINDITEMA*>(lParam);
        return FindUser(find->lvfi.psz ? find->lvfi.psz : "", find->iStart);
    }
    case NM_CLICK:
    case NM_RCLICK:
        SelectionChanged();
        return 0;
    case LVN_KEYDOWN:
        UpdateButtons();
        return 0;
    // Keys move the selection after LVN_KEYDOWN: follow the change itself.
    // The list clears every row (item -1) before it selects anew, even for a
    // click on the selected row: the row or the click that follows tells.
    case LVN_ITEMCHANGED: {
        const auto* change = reinterpret_cast<const NMLISTVIEW*>(lParam);
        if ((change->uChanged & LVIF_STATE) && change->iItem >= 0)
            SelectionChanged();
        return 0;
    }
    case LVN_ODSTATECHANGED:
        SelectionChanged();
        return 0;
    case LVN_COLUMNCLICK:
        SortBy(reinterpret_cast<const NMLISTVIEW*>(lParam)->iSubItem);
        return 0;
    case NM_DBLCLK:
        ViewSelection();
        return 0;
    default:
        return CDialog::OnNotify(wParam, lParam);
    }
}

LRESULT SearchDialog::OnPrivateMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == ResumeRedrawMessage) {
        ResumeRedraw();
        return 0;
    }
    if (message != WM_SKIN_CLICK)
        return CDialog::OnPrivateMessage(message, wParam, lParam);
    if (wParam == ProductLabelIndex && owner)
        owner->ProductLabel();
    return 0;
}

// Enter in the result list views the selected row, as a double click does;
// a held Enter that started a search does not go on into Close, where the
// search put the focus.
BOOL SearchDialog::PreTranslateMessage(MSG* msg)
{
    if (msg->message == WM_KEYDOWN && msg->wParam == VK_RETURN) {
        if ((msg->lParam & KeyWasDown) && msg->hwnd == closeButton.GetSafeHwnd())
            return TRUE;
        if (msg->hwnd == results.GetSafeHwnd() && results.GetFirstSelected() >= 0) {
            ViewSelection();
            return TRUE;
        }
    }
    return CDialog::PreTranslateMessage(msg);
}

LRESULT SearchDialog::OnTimer(UINT_PTR id)
{
    if (id != AnswerTimer)
        return CDialog::OnTimer(id);
    answerTimer.Stop();
    searching = false;
    timedOut = true;
    SetDlgItemTextA(hwnd, IDC_SEARCH_WAITING, GetText(NotAnsweringText));
    EnableSearchFields(true);
    return 0;
}

LRESULT SearchDialog::OnDestroy()
{
    answerTimer.Stop();
    results.Detach();
    return CDialog::OnDestroy();
}

void SearchDialog::PostNcDestroy()
{
    if (owner)
        owner->SearchClosed(*this);
    delete this;
}
