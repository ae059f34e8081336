#include "devhost/HostObjects.h"

#include <cstring>
#include <utility>

int HOSTCALL DevServices::Has(const char* serviceName)
{
    return serviceName && std::strcmp(serviceName, "VCARD-PC") == 0;
}

DevContact::DevContact(std::string userName, std::string domainName, std::string displayName)
    : user(std::move(userName)), domain(std::move(domainName)), display(std::move(displayName))
{
}

HostContact* HOSTCALL DevContactList::Find(const char* userName, const char* domain)
{
    if (!userName || !domain)
        return nullptr;
    for (auto& contact : contacts)
        if (std::strcmp(contact->UserName(), userName) == 0 && std::strcmp(contact->Domain(), domain) == 0)
            return contact.get();
    return nullptr;
}

bool DevContactList::Add(const std::string& address, const std::string& display)
{
    std::size_t at = address.find('@');
    if (at == std::string::npos || at == 0 || at + 1 == address.size())
        return false;
    std::string user = address.substr(0, at), domain = address.substr(at + 1);
    if (Find(user.c_str(), domain.c_str()))
        return false;
    contacts.push_back(std::make_unique<DevContact>(user, domain, display.empty() ? user : display));
    return true;
}

DevUser::DevUser(std::string userName, std::string domainName, std::string displayName)
    : user(std::move(userName)), domain(std::move(domainName)), display(std::move(displayName))
{
}

DevHostApi::DevHostApi(CommandHandler commandHandler, SendHandler sendHandler)
    : onCommand(std::move(commandHandler)), onSend(std::move(sendHandler))
{
}

int HOSTCALL DevHostApi::Command(int code, ServiceInterface*, const char* param)
{
    return onCommand ? onCommand(code, param ? param : "") : 0;
}

int HOSTCALL DevHostApi::SendMessage(ServiceInterface*, const char* serviceName, const char* xml)
{
    if (onSend)
        onSend(serviceName ? serviceName : "", xml ? xml : "");
    return 0;
}
