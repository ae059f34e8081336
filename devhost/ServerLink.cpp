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
    if (mode == Mode::Gone)
        return;
    if (mode == Mode::Slow) {
        queue.push_back({name, xml, GetTickCount64() + SlowDelay});
        if (!slowTimer.IsRunning())
            slowTimer.Start(window, 500);
        return;
    }
    queue.push_back({name, xml});
    PostMessageA(window, AnswerMessage, 0, 0);
}

void ServerLink::AnswerDue()
{
    while (!queue.empty() && queue.front().due <= GetTickCount64())
        AnswerNext();
    if (queue.empty())
        slowTimer.Stop();
}

void ServerLink::SetMode(Mode chosen)
{
    static const char* const names[] = {"answers", "slow", "gone"};
    mode = chosen;
    transcript.Note(std::string("server mode: ") + names[static_cast<int>(chosen)]);
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
