#pragma once
// The host's main window: the service's panel area on a skin bitmap, the
// contact list (double click or the service's menu item opens a card), a
// status line, and the Language, Product and Service menus.
#include <windows.h>

#include <string>

#include "devhost/ServerLink.h"
#include "frame/ServiceInterface.h"

class DevUser;

class HostWindow {
public:
    enum MenuId {
        MenuEnglish = 101, MenuSpanish, MenuProductQuillora, MenuProductOther, MenuActivate, MenuHidePanel, MenuExit,
        MenuServerAnswers, MenuServerSlow, MenuServerGone
    };
    static constexpr int PanelAreaId = 200, ContactsId = 201, StatusId = 202;

    HostWindow(DevUser& user, ServerLink& link);
    ~HostWindow();
    HostWindow(const HostWindow&) = delete;
    HostWindow& operator=(const HostWindow&) = delete;

    bool Create(const std::string& title);
    void SetService(ServiceInterface* card) { service = card; }
    // Hands the font, the colours and the panel area to the service.
    void GiveAppearance();

    HWND Handle() const { return window; }
    HWND PanelArea() const { return panelArea; }
    HWND Contacts() const { return contacts; }
    void SetStatus(const std::string& text);
    std::string Status() const;
    void RefreshContacts();
    // The service's item for the contact at index, "" when it offers none.
    std::string ContactMenuText(int index);
    void OpenContact(int index);

private:
    static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK AreaProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
    void OnMenu(int id);
    void OnContextMenu(POINT screen);
    void ChooseServerMode(int id, ServerLink::Mode mode, const std::string& statusText);
    void MakeSkin(int width, int height);

    DevUser& user;
    ServerLink& link;
    ServiceInterface* service = nullptr;
    HWND window = nullptr, panelArea = nullptr, contacts = nullptr, status = nullptr;
    HFONT font = nullptr;
    HBITMAP skin = nullptr;
};
