#include "devhost/ServerLink.h"

#include "devhost/HostObjects.h"
#include "devhost/Transcript.h"

ServerLink::ServerLink(const std::filesystem::path& dataFolder, DevUser& signedIn, Transcript& log)
    : server(dataFolder), user(signedIn), transcript(log)
{
}

void ServerLink::Attach(HWND target, ServiceInterface* card)
{
    window = target;
    service = card;
}

void ServerLink::Send(const std::string& name, const std::string& xml)
{
    transcript.Sent(name, xml);
    queue.push_back({name, xml});
    PostMessageA(window, AnswerMessage, 0, 0);
}

void ServerLink::AnswerNext()
{
    if (queue.empty())
        return;
    Sent sent = std::move(queue.front());
    queue.pop_front();
    if (sent.name != "VCARD-PC")
        return;
    DevContactList& contacts = user.List();
    std::string answer = server.Handle(user.Name(), user.DomainName(), sent.xml,
        [&contacts](const std::string& who, const std::string& where) {
            return contacts.Find(who.c_str(), where.c_str()) != nullptr;
        });
    if (!answer.empty())
        Deliver(sent.name, answer);
}

void ServerLink::Deliver(const std::string& name, const std::string& xml)
{
    transcript.Received(name, xml);
    if (service)
        service->DeliverMessage(0, name.c_str(), xml.c_str());
}
