#pragma once
// The operation table the host calls, slot 0 first. Slot 0 is the host
// compiler's deleting destructor: one slot, one flags argument, bit 0 frees
// the object. It is declared as an ordinary virtual function because a C++
// virtual destructor would take two slots here.
#include "frame/HostApi.h"

struct Appearance {
    HFONT font = nullptr;
    COLORREF colors[4] = {};
};

class ServiceInterface {
public:
    virtual void* HOSTCALL DeletingDestructor(unsigned int flags) = 0;           // 0
    virtual int HOSTCALL GetStatus() = 0;                                        // 1
    virtual int HOSTCALL QueryValue() = 0;                                       // 2
    virtual int HOSTCALL Start() = 0;                                            // 3
    virtual int HOSTCALL Stop() = 0;                                             // 4
    virtual int HOSTCALL Login(HostUser* user) = 0;                              // 5
    virtual int HOSTCALL Logout() = 0;                                           // 6
    virtual void HOSTCALL DeliverMessage(int unused, const char* name, const char* xml) = 0;  // 7
    virtual int HOSTCALL HandleEvent(int code, LPARAM param) = 0;                // 8
    virtual int HOSTCALL SetAppearance(HFONT font, COLORREF c1, COLORREF c2,
                                       COLORREF c3, COLORREF c4) = 0;            // 9
    virtual int HOSTCALL SetPanelArea(HWND parent, const RECT* rect, HBITMAP background) = 0;  // 10
    virtual int HOSTCALL SetSecondArea(uint32_t parent, const RECT* rect,
                                       uint32_t background) = 0;                 // 11
    virtual void HOSTCALL Notify() = 0;                                          // 12
    virtual void HOSTCALL GetServiceInfo(const char* name, void* buffer) = 0;    // 13
    virtual int HOSTCALL QueryService(const char* name) = 0;                     // 14
    virtual void HOSTCALL EnableService(const char* name, int flag) = 0;         // 15
    virtual int HOSTCALL GetExtraInfo(const char* name, uint32_t value, void* buffer) = 0;  // 16
    virtual int HOSTCALL GetContactMenuItem(const char* name, HostContact* contact,
                                            void* buffer) = 0;                   // 17
    virtual int HOSTCALL GetDirectoryItem(const char* name, void* buffer) = 0;   // 18
    virtual void HOSTCALL NotifyValue(int value) = 0;                            // 19
    virtual void HOSTCALL SetUser(HostUser* user) = 0;                           // 20
    virtual void HOSTCALL ContactCommand(const char* name, HostContact* contact) = 0;  // 21
    virtual void HOSTCALL Activate(const char* name) = 0;                        // 22
    virtual int HOSTCALL DeliverDocument(const char* name, const char* text,
                                         const char* xml) = 0;                   // 23
    virtual void HOSTCALL DeliverDocumentEx(int unused, const char* name, const char* xml,
                                            int value) = 0;                      // 24
    virtual void HOSTCALL SetLanguage(int language) = 0;                         // 25
    virtual void HOSTCALL SetProductName(const char* productName) = 0;           // 26
protected:
    ~ServiceInterface() = default;
};

// The two exports. Ordinal 1 carries no name.
extern "C" ServiceInterface* __cdecl CreateService(HostApi* host);
extern "C" int __cdecl GetThisDllStatus315();
