#pragma once
// Host objects for tests: they record what the service asks of the host.
#include <string>
#include <utility>
#include <vector>

#include "frame/HostApi.h"

struct SentMessage {
    std::string name, xml;
};

class TestHost : public HostApi {
public:
    int HOSTCALL Command(int code, ServiceInterface*, const char* param) override
    {
        commands.emplace_back(code, param ? param : "");
        return commandAnswer;
    }
    int HOSTCALL SendMessage(ServiceInterface*, const char* name, const char* xml) override
    {
        sent.push_back({name ? name : "", xml ? xml : ""});
        return 0;
    }

    int commandAnswer = 1;
    std::vector<std::pair<int, std::string>> commands;
    std::vector<SentMessage> sent;
};

class TestServices : public ContactServices {
public:
    int HOSTCALL Has(const char* name) override { return name && offered == name; }
    std::string offered = "VCARD-PC";
};

class TestContact : public HostContact {
public:
    TestContact(std::string user, std::string domain, std::string display)
        : userName(std::move(user)), domainName(std::move(domain)), displayName(std::move(display)) {}
    const char* HOSTCALL UserName() override { return userName.c_str(); }
    const char* HOSTCALL Domain() override { return domainName.c_str(); }
    const char* HOSTCALL DisplayName() override { return displayName.c_str(); }
    ContactServices* HOSTCALL Services() override { return &services; }

    std::string userName, domainName, displayName;
    TestServices services;
};

class TestContactList : public HostContactList {
public:
    HostContact* HOSTCALL Find(const char* user, const char* domain) override
    {
        for (TestContact* contact : contacts)
            if (user && domain && contact->userName == user && contact->domainName == domain)
                return contact;
        return nullptr;
    }
    std::vector<TestContact*> contacts;
};

class TestUser : public HostUser {
public:
    TestUser(std::string user = "u1", std::string domain = "d1", std::string display = "User One")
        : userName(std::move(user)), domainName(std::move(domain)), displayName(std::move(display)) {}
    const char* HOSTCALL UserName() override { return userName.c_str(); }
    const char* HOSTCALL Domain() override { return domainName.c_str(); }
    const char* HOSTCALL DisplayName() override { return displayName.c_str(); }
    HostContactList* HOSTCALL Contacts() override { return &contacts; }
    uint32_t HOSTCALL ExtraValue() override { return extraValue; }

    std::string userName, domainName, displayName;
    uint32_t extraValue = 0x11223344;
    TestContactList contacts;
};
