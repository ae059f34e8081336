/* A host written in plain C: it knows the service and the host objects only
 * as tables of __thiscall function pointers called by slot number, so it
 * holds the DLL to the host compiler's layout whatever C++ does. */
#include <windows.h>
#include <stdint.h>
#include <stdio.h>
#include <string.h>

#define THISCALL __attribute__((thiscall))

static int failures;
#define CHECK(cond)                                                          \
    do {                                                                     \
        if (!(cond)) {                                                       \
            printf("%s:%d: check failed: %s\n", __FILE__, __LINE__, #cond);  \
            ++failures;                                                      \
        }                                                                    \
    } while (0)

/* ---- host objects: a vtable pointer first, then the object's own data. */

/* Other test programs run beside this one on the same desktop: only this
 * process's windows count. */
static HWND OwnWindow(const char* title)
{
    HWND window = NULL;
    while ((window = FindWindowExA(NULL, window, NULL, title)) != NULL) {
        DWORD process = 0;
        GetWindowThreadProcessId(window, &process);
        if (process == GetCurrentProcessId())
            return window;
    }
    return NULL;
}

typedef void* Slot;
static void THISCALL Unused(void* self) { (void)self; CHECK(!"an unused host slot was called"); }

typedef struct {
    Slot* vtable;
    int commands;
    int lastCommand;
    int sends;
    char lastSend[4096];
} Host;

static int THISCALL HostCommand(Host* self, int code, void* service, const char* param)
{
    (void)service; (void)param;
    self->commands++;
    self->lastCommand = code;
    return 1;
}

static int THISCALL HostSendMessage(Host* self, void* service, const char* name, const char* xml)
{
    (void)service;
    self->sends++;
    snprintf(self->lastSend, sizeof self->lastSend, "%s|%s", name, xml);
    return 0;
}

typedef struct { Slot* vtable; } ContactList;
static void* THISCALL ListFind(ContactList* self, const char* user, const char* domain)
{
    (void)self; (void)user; (void)domain;
    return NULL;
}

typedef struct { Slot* vtable; ContactList* contacts; } User;
static const char* THISCALL UserName(User* self) { (void)self; return "u1"; }
static const char* THISCALL UserDomain(User* self) { (void)self; return "d1"; }
static const char* THISCALL UserDisplay(User* self) { (void)self; return "User One"; }
static ContactList* THISCALL UserContacts(User* self) { return self->contacts; }
static uint32_t THISCALL UserExtra(User* self) { (void)self; return 0xCAFE; }

typedef struct { Slot* vtable; } Services;
static int THISCALL ServicesHas(Services* self, const char* name)
{
    (void)self;
    return name && strcmp(name, "VCARD-PC") == 0;
}

typedef struct { Slot* vtable; Services* services; } Contact;
static const char* THISCALL ContactName(Contact* self) { (void)self; return "c1"; }
static const char* THISCALL ContactDomain(Contact* self) { (void)self; return "d1"; }
static const char* THISCALL ContactDisplay(Contact* self) { (void)self; return "Contact One"; }
static Services* THISCALL ContactServicesOf(Contact* self) { return self->services; }

/* ---- the service's operation table, slot by slot. */

#define SLOT(service, n) ((*(Slot**)(service))[n])
/* Slot n of the service, called as a function returning R with these parameters. */
#define METHOD(R, n, ...) ((R (THISCALL *)(__VA_ARGS__))SLOT(service, n))

int main(void)
{
    Slot hostTable[16], userTable[10], listTable[4], servicesTable[4], contactTable[7];
    int i;
    for (i = 0; i < 16; ++i) hostTable[i] = (Slot)Unused;
    for (i = 0; i < 10; ++i) userTable[i] = (Slot)Unused;
    for (i = 0; i < 4; ++i) listTable[i] = servicesTable[i] = (Slot)Unused;
    for (i = 0; i < 7; ++i) contactTable[i] = (Slot)Unused;
    hostTable[14] = (Slot)HostCommand;
    hostTable[15] = (Slot)HostSendMessage;
    userTable[1] = (Slot)UserName;
    userTable[2] = (Slot)UserDomain;
    userTable[3] = (Slot)UserDisplay;
    userTable[5] = (Slot)UserContacts;
    userTable[9] = (Slot)UserExtra;
    listTable[3] = (Slot)ListFind;
    servicesTable[3] = (Slot)ServicesHas;
    contactTable[1] = (Slot)ContactName;
    contactTable[2] = (Slot)ContactDomain;
    contactTable[3] = (Slot)ContactDisplay;
    contactTable[6] = (Slot)ContactServicesOf;

    Host host = {hostTable, 0, -1, 0, ""};
    ContactList list = {listTable};
    User user = {userTable, &list};
    Services services = {servicesTable};
    Contact contact = {contactTable, &services};

    HMODULE dll = LoadLibraryA("vcardpc.dll");
    CHECK(dll != NULL);
    if (!dll)
        return 1;
    typedef void* (__cdecl *CreateFn)(void*);
    typedef int (__cdecl *StatusFn)(void);
    CreateFn create = (CreateFn)(void*)GetProcAddress(dll, MAKEINTRESOURCEA(1));
    StatusFn status = (StatusFn)(void*)GetProcAddress(dll, "GetThisDllStatus315");
    CHECK(create != NULL);
    CHECK(status != NULL);
    CHECK(GetProcAddress(dll, "CreateService") == NULL);
    if (!create || !status)
        return 1;
    CHECK(status() == 20302);

    void* service = create(&host);
    CHECK(service != NULL);
    if (!service)
        return 1;

    CHECK(METHOD(int, 1, void*)(service) == 20302);  /* GetStatus */
    CHECK(METHOD(int, 2, void*)(service) == 0);  /* QueryValue */
    CHECK(METHOD(int, 3, void*)(service) == 0);  /* Start: 0 -> 1 */
    CHECK(METHOD(int, 3, void*)(service) == 0);  /* Start again: no-op */
    CHECK(METHOD(int, 5, void*, void*)(service, &user) == 0);  /* Login: 1 -> 2 */

    METHOD(void, 7, void*, int, const char*, const char*)(service, 0, "VCARD-PC", "<msg>2</msg>");  /* Deliver */
    METHOD(void, 7, void*, int, const char*, const char*)(service, 0, "VCARD-PC", NULL);
    CHECK(METHOD(int, 8, void*, int, LPARAM)(service, 3, 0) == 0);  /* HandleEvent */
    CHECK(METHOD(int, 8, void*, int, LPARAM)(service, 15, 0) == 0);  /* null message */
    MSG msg = {0};
    msg.message = WM_KEYDOWN;
    CHECK(METHOD(int, 8, void*, int, LPARAM)(service, 15, (LPARAM)&msg) == 0);
    CHECK(METHOD(int, 9, void*, HFONT, COLORREF, COLORREF, COLORREF, COLORREF)(service, NULL, 1, 2, 3, 4) == 0);
    RECT area = {0, 0, 200, 120};
    CHECK(METHOD(int, 10, void*, void*, const RECT*, void*)(service, NULL, &area, NULL) == 0);
    CHECK(METHOD(int, 10, void*, void*, const RECT*, void*)(service, NULL, NULL, NULL) == 0);
    CHECK(METHOD(int, 11, void*, void*, const RECT*, void*)(service, NULL, &area, NULL) == 0);
    METHOD(void, 12, void*)(service);  /* Notify */
    unsigned char block[512];
    METHOD(void, 13, void*, const char*, void*)(service, "OTHER", block);  /* GetServiceInfo */
    CHECK(METHOD(int, 14, void*, const char*)(service, "VCARD-PC") == 1);  /* QueryService */
    CHECK(METHOD(int, 14, void*, const char*)(service, "vcard-pc") == 0);
    CHECK(METHOD(int, 14, void*, const char*)(service, NULL) == 0);
    CHECK(METHOD(int, 16, void*, const char*, uint32_t, void*)(service, "OTHER", 7, block) == 0);
    memset(block, 0xAA, sizeof block);
    CHECK(METHOD(int, 17, void*, const char*, void*, void*)(service, "OTHER", &contact, block) == 0);
    CHECK(METHOD(int, 18, void*, const char*, void*)(service, "OTHER", block) == 0);
    CHECK(block[0] == 0xAA);  /* screened: untouched */
    METHOD(void, 19, void*, int)(service, 5);  /* NotifyValue */
    METHOD(void, 20, void*, void*)(service, &user);  /* SetUser */
    /* DeliverDocument */
    CHECK(METHOD(int, 23, void*, const char*, const char*, const char*)(service, "VCARD-PC", "t", "<msg>1</msg>") == 0);
    CHECK(METHOD(int, 23, void*, const char*, const char*, const char*)(service, "OTHER", NULL, NULL) == 0);
    METHOD(void, 24, void*, int, const char*, const char*, int)(service, 0, "VCARD-PC", "<msg>1</msg>", 9);
    METHOD(void, 25, void*, int)(service, 0);  /* SetLanguage */
    METHOD(void, 26, void*, const char*)(service, "Other Product");  /* SetProductName */
    METHOD(void, 26, void*, const char*)(service, NULL);

    /* The service calls back into the host objects by their slots. */
    METHOD(void, 15, void*, const char*, int)(service, "VCARD-PC", 1);  /* EnableService */
    memset(block, 0xAA, sizeof block);
    CHECK(METHOD(int, 17, void*, const char*, void*, void*)(service, "VCARD-PC", &contact, block) == 1);
    CHECK(strcmp((const char*)block + 20, "Ver Tarjeta Virtual") == 0);  /* language 0 set above */
    CHECK(block[84] == (460 & 0xFF) && block[85] == (460 >> 8));
    CHECK(METHOD(int, 16, void*, const char*, uint32_t, void*)(service, "VCARD-PC", 7, block) == 1);
    CHECK(block[16] == 0xFE && block[17] == 0xCA && block[18] == 0 && block[19] == 0);

    CHECK(METHOD(int, 6, void*)(service) == 0);  /* Logout: -> 3 */
    CHECK(METHOD(int, 4, void*)(service) == 0);  /* Stop: -> 0 */
    CHECK(METHOD(int, 3, void*)(service) == 0);  /* Start after Stop */
    CHECK(METHOD(int, 4, void*)(service) == 0);

    /* Open every kind of window the service owns, then delete the service
     * and unload the library: none of them may outlive the code they run. */
    HWND hostWindow = CreateWindowExA(0, "STATIC", "host", WS_POPUP | WS_VISIBLE, 0, 0, 300, 300, NULL, NULL,
                                      NULL, NULL);
    RECT panelArea = {0, 0, 200, 180};
    METHOD(void, 25, void*, int)(service, 1);  /* English titles */
    CHECK(METHOD(int, 10, void*, void*, const RECT*, void*)(service, hostWindow, &panelArea, NULL) == 0);
    METHOD(void, 22, void*, const char*)(service, "VCARD-PC");  /* Activate: the panel */
    CHECK(host.lastCommand == 0);
    HWND panel = GetWindow(hostWindow, GW_CHILD);
    CHECK(panel != NULL);
    METHOD(void, 21, void*, const char*, void*)(service, "VCARD-PC", &contact);  /* the contact's card */
    CHECK(host.sends == 1);
    CHECK(strstr(host.lastSend, "<usr>c1</usr>") != NULL);
    HWND searchEntry = GetDlgItem(panel, 4114);
    SendMessageA(searchEntry, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4));
    SendMessageA(searchEntry, WM_LBUTTONUP, 0, MAKELPARAM(4, 4));
    MSG pending;
    while (PeekMessageA(&pending, NULL, 0, 0, PM_REMOVE))
        DispatchMessageA(&pending);
    HWND card = OwnWindow("Quillora - Virtual Card");
    HWND search = OwnWindow("Quillora - Directory Search");
    CHECK(card != NULL);
    CHECK(search != NULL);

    METHOD(void*, 0, void*, unsigned)(service, 1);
    CHECK(!IsWindow(panel));
    CHECK(!IsWindow(card));
    CHECK(!IsWindow(search));
    CHECK(FreeLibrary(dll));
    SendMessageA(hostWindow, WM_PAINT, 0, 0);
    while (PeekMessageA(&pending, NULL, 0, 0, PM_REMOVE))
        DispatchMessageA(&pending);
    DestroyWindow(hostWindow);

    if (failures == 0)
        printf("c_host: all checks passed\n");
    return failures == 0 ? 0 : 1;
}
