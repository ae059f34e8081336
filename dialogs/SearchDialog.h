#pragma once
// SearchDialog: searches the public directory by six fields, lists the
// accounts found and asks the card service to show a found card or to add
// the account to the contact list. Modeless; deletes itself after its window.
#include <array>
#include <deque>
#include <string>
#include <utility>
#include <vector>

#include "controls/SkinButton.h"
#include "controls/SkinIconLabel.h"
#include "dialogs/DialogOwner.h"
#include "dialogs/LangTable.h"
#include "platform/Dialog.h"
#include "platform/Gdi.h"
#include "platform/ListCtrl.h"
#include "platform/WindowTimer.h"
#include "protocol/Messages.h"

class SearchDialog : public CDialog, public LangTable {
public:
    // The timer of the wait for the server's answer.
    static constexpr UINT_PTR AnswerTimer = 1;

    explicit SearchDialog(DialogOwner* owner);

    // Modeless and hidden, the desktop as parent.
    bool Create();
    // Title: product name, " - ", the table's text 1.
    void SetTitleName(const std::string& productName);
    void SetLanguage(int language) override;
    BOOL PreTranslateMessage(MSG* msg) override;

    // The six texts as last taken from the edits.
    const SearchFields& Fields() const { return fields; }
    // The owner has gone: the dialog asks nothing more of it.
    void DetachOwner() { owner = nullptr; }

    // Leaves the searching state, or the notice of a search that timed out,
    // and empties the list; View and Add stay as they are.
    void SearchFinished();
    // A new row at the top of the list. The list stops redrawing until the
    // host's loop runs again, so that a whole answer is drawn once.
    void AddResult(const std::string& user, const std::string& domain, const std::string& name,
        const std::string& email, const std::string& company, const std::string& city, const std::string& state,
        const std::string& country);

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* exchange) override;
    // Search (button 1 or Enter).
    void OnOK() override;
    LRESULT OnCommand(WPARAM wParam, LPARAM lParam) override;
    LRESULT OnNotify(WPARAM wParam, LPARAM lParam) override;
    LRESULT OnPrivateMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    // The time limit passed: the search ends with a notice; a late answer
    // is still listed.
    LRESULT OnTimer(UINT_PTR id) override;
    LRESULT OnDestroy() override;
    // Tells the service, then deletes the dialog.
    void PostNcDestroy() override;

private:
    // Edits, their labels, the list and Search.
    void EnableSearchFields(bool enable);
    // View follows the selection; Add only for an account that is no contact
    // yet and not asked for since the selection last changed.
    void UpdateButtons();
    // A click on a column's header: A to Z, again Z to A; the selected rows
    // stay selected.
    void SortBy(int column);
    bool Precedes(size_t first, size_t second) const;
    // The selection follows its rows to their new places; rowsBefore is
    // shown as it was.
    void KeepSelection(const std::vector<size_t>& rowsBefore);
    // The row at the list's place index.
    const std::array<std::string, 8>& ShownRow(int index) const { return rows[shown[static_cast<size_t>(index)]]; }
    // The place of the first row from start on, round to the top, whose user
    // name begins with typed in any case; -1 when none.
    int FindUser(const std::string& typed, int start) const;
    // The first selected row (-1: none) and the number of selected rows.
    std::pair<int, int> SelectionNow() const;
    // A new selection makes Add possible again.
    void SelectionChanged();
    void EmptyList();
    // Takes the first selected row into selectedUser and selectedDomain; false when none.
    bool TakeSelection();
    // Asks the owner to show the selected row's card.
    void ViewSelection();
    void FitColumns();
    void ResumeRedraw();
    void WriteTitle();

    DialogOwner* owner;
    SearchFields fields;
    std::string selectedUser, selectedDomain;
    std::string titleName;
    bool searching = false;
    bool timedOut = false;
    WindowTimer answerTimer{AnswerTimer};
    // The answer's rows as they came. The list keeps none of them: it asks
    // for the texts it draws.
    std::vector<std::array<std::string, 8>> rows;
    // Indexes into rows in the list's order: the newest first until a sort.
    std::deque<size_t> shown;
    int sortColumn = -1;  // -1: the answer's own order
    bool sortAscending = true;
    bool addAsked = false;
    std::pair<int, int> selectionSeen{-1, 0};
    bool redrawSuspended = false;
    // Columns whose width the user has set.
    std::array<bool, 8> userSized{};
    Bitmap productImage;
    SkinButton searchButton, closeButton, viewButton, addButton;
    SkinIconLabel productLabel;
    CListCtrl results;
};
