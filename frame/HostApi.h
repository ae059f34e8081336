#pragma once
// The host's objects as the service sees them. The host is built with the
// platform's own compiler: one vtable slot per virtual function, called
// __thiscall. Placeholder slots keep the called ones at their numbers; the
// service never calls them.
#include <windows.h>
#include <cstdint>

#define HOSTCALL __attribute__((thiscall))

class ServiceInterface;
class ContactServices;
class HostContact;
class HostContactList;

#define HOST_RESERVED(n) virtual void HOSTCALL Reserved##n() {}

// The codes of HostApi::Command.
enum HostCommand : int {
    MayBuildPanel = 0,         // non-zero answer: the service may build its panel
    ProductLabelClicked = 12,  // the product-name label of a dialog was clicked
    AddToContacts = 19,        // param: "user@domain"
};

class HostApi {
public:
    HOST_RESERVED(0) HOST_RESERVED(1) HOST_RESERVED(2) HOST_RESERVED(3)
    HOST_RESERVED(4) HOST_RESERVED(5) HOST_RESERVED(6) HOST_RESERVED(7)
    HOST_RESERVED(8) HOST_RESERVED(9) HOST_RESERVED(10) HOST_RESERVED(11)
    HOST_RESERVED(12) HOST_RESERVED(13)
    // Slot 14. code: a HostCommand.
    virtual int HOSTCALL Command(int code, ServiceInterface* service, const char* param) = 0;
    // Slot 15. Sends one XML message of the named service to the server.
    virtual int HOSTCALL SendMessage(ServiceInterface* service, const char* serviceName,
                                     const char* xml) = 0;
protected:
    ~HostApi() = default;
};

class HostUser {
public:
    HOST_RESERVED(0)
    virtual const char* HOSTCALL UserName() = 0;       // slot 1
    virtual const char* HOSTCALL Domain() = 0;         // slot 2
    virtual const char* HOSTCALL DisplayName() = 0;    // slot 3
    HOST_RESERVED(4)
    virtual HostContactList* HOSTCALL Contacts() = 0;  // slot 5
    HOST_RESERVED(6) HOST_RESERVED(7) HOST_RESERVED(8)
    virtual uint32_t HOSTCALL ExtraValue() = 0;        // slot 9: copied unread
protected:
    ~HostUser() = default;
};

class HostContactList {
public:
    HOST_RESERVED(0) HOST_RESERVED(1) HOST_RESERVED(2)
    // Slot 3: the contact with this user name and domain, or null.
    virtual HostContact* HOSTCALL Find(const char* userName, const char* domain) = 0;
protected:
    ~HostContactList() = default;
};

class HostContact {
public:
    HOST_RESERVED(0)
    virtual const char* HOSTCALL UserName() = 0;       // slot 1
    virtual const char* HOSTCALL Domain() = 0;         // slot 2
    virtual const char* HOSTCALL DisplayName() = 0;    // slot 3
    HOST_RESERVED(4) HOST_RESERVED(5)
    virtual ContactServices* HOSTCALL Services() = 0;  // slot 6
protected:
    ~HostContact() = default;
};

class ContactServices {
public:
    HOST_RESERVED(0) HOST_RESERVED(1) HOST_RESERVED(2)
    // Slot 3: non-zero when the contact offers the named service.
    virtual int HOSTCALL Has(const char* serviceName) = 0;
protected:
    ~ContactServices() = default;
};

#undef HOST_RESERVED
