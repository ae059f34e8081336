#pragma once
// The host's objects as the development host implements them: the signed-in
// user, the contact list and the host's callbacks.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "frame/HostApi.h"

class DevServices : public ContactServices {
public:
    int HOSTCALL Has(const char* serviceName) override;
};

class DevContact : public HostContact {
public:
    DevContact(std::string user, std::string domain, std::string display);
    const char* HOSTCALL UserName() override { return user.c_str(); }
    const char* HOSTCALL Domain() override { return domain.c_str(); }
    const char* HOSTCALL DisplayName() override { return display.c_str(); }
    ContactServices* HOSTCALL Services() override { return &services; }

    std::string Address() const { return user + "@" + domain; }

private:
    std::string user, domain, display;
    DevServices services;
};

class DevContactList : public HostContactList {
public:
    HostContact* HOSTCALL Find(const char* userName, const char* domain) override;

    // False when the account is listed already or the address has no '@'.
    bool Add(const std::string& address, const std::string& display);
    std::size_t Count() const { return contacts.size(); }
    DevContact* At(std::size_t index) const { return index < contacts.size() ? contacts[index].get() : nullptr; }

private:
    std::vector<std::unique_ptr<DevContact>> contacts;
};

class DevUser : public HostUser {
public:
    DevUser(std::string user, std::string domain, std::string display);
    const char* HOSTCALL UserName() override { return user.c_str(); }
    const char* HOSTCALL Domain() override { return domain.c_str(); }
    const char* HOSTCALL DisplayName() override { return display.c_str(); }
    HostContactList* HOSTCALL Contacts() override { return &contacts; }
    uint32_t HOSTCALL ExtraValue() override { return 0x1234; }

    DevContactList& List() { return contacts; }
    const std::string& Name() const { return user; }
    const std::string& DomainName() const { return domain; }

private:
    std::string user, domain, display;
    DevContactList contacts;
};

// Forwards the service's calls to the host window and the server link.
class DevHostApi : public HostApi {
public:
    using CommandHandler = std::function<int(int code, const std::string& param)>;
    using SendHandler = std::function<void(const std::string& name, const std::string& xml)>;

    DevHostApi(CommandHandler onCommand, SendHandler onSend);
    int HOSTCALL Command(int code, ServiceInterface* service, const char* param) override;
    int HOSTCALL SendMessage(ServiceInterface* service, const char* serviceName, const char* xml) override;

private:
    CommandHandler onCommand;
    SendHandler onSend;
};
