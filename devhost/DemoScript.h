#pragma once
// The scripted session of `make demo`: the own card filled, given a large
// photograph through Browse and published, a directory search, a result
// viewed and added, a contact's card saved as a vCard file, the own card
// filled from one, the contact's card while the server is gone and after it
// comes back, Spanish, then every hostile answer. It acts on the
// service's windows only as a
// person would (keys, clicks, menu choices) and pumps the host's loop between
// steps so that the server's answers arrive. A PNG of every window shown and
// the transcript end up in the session's folder.
#include <windows.h>

#include <functional>
#include <set>
#include <string>
#include <vector>

class DevHostApp;

class DemoScript {
public:
    explicit DemoScript(DevHostApp& app);
    // 0 when every step succeeded.
    int Play();

private:
    void OwnCard();
    void ChoosePhoto();
    void CheckPublishedPhoto();
    void Search();
    void ContactCard();
    void SaveContactCardAsVCard();
    void ImportVCardIntoOwnCard();
    void ServerGoneAndBack();
    void Spanish();
    void Hostile();

    bool Step(const std::string& name, bool ok);
    void Shot(HWND window, const std::string& name);
    // Brings the window to the top and lets it and its children paint.
    void RaiseAndPaint(HWND window);
    // Pumps until the server has answered everything and the queue is empty.
    void Settle();
    // Pumps until done() holds, for about rounds times 25 ms; false if it never does.
    bool WaitFor(const std::function<bool()>& done, int rounds = 200);
    HWND WaitForWindow(const std::string& title, const std::set<HWND>& known);
    std::set<HWND> OwnWindows() const;
    void Type(HWND edit, const std::string& text);
    void Click(HWND control);
    void ClickEntry(int id);
    HWND Card(int id) const;
    // Chooses the item of a card's heading menu with the keys a person
    // would press, answering the file dialog it opens with answer.
    void ChooseCardMenuItem(HWND cardWindow, int item);
    // The file dialog's picture, taken while it waits for its answer.
    void ShotOfDialog(HWND dialog, const std::string& name);

    DevHostApp& app;
    std::string folder;
    std::string fullFolder;  // taken at the start: file dialogs move the current folder
    int failures = 0;
    HWND card = nullptr, search = nullptr, contactCard = nullptr;
    std::vector<std::string> shots;
};
