#pragma once
// What the service's windows ask of the one that owns them, the card
// service, without knowing its class.
#include <string>

#include "protocol/RequestKind.h"

class CWnd;

class DialogOwner {
public:
    // One of RequestKind, with the asking window (null for some kinds);
    // other kinds do nothing.
    virtual void Request(int kind, CWnd* dialog) = 0;
    // Whether the signed-in user's contact list holds that account.
    virtual bool IsContact(const std::string& user, const std::string& domain) = 0;

protected:
    ~DialogOwner() = default;
};
