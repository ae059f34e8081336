#pragma once
// Carries the service's sends to the reference card server and its answers
// back. A send is queued and a private message posted to the host window;
// only when the loop dispatches it is the server asked and the answer
// delivered, never inside the send.
#include <deque>
#include <filesystem>
#include <string>

#include "devhost/server/CardServer.h"
#include "frame/ServiceInterface.h"

class DevUser;
class Transcript;

class ServerLink {
public:
    static constexpr UINT AnswerMessage = WM_APP + 40;

    ServerLink(const std::filesystem::path& dataFolder, DevUser& user, Transcript& transcript);

    void Attach(HWND window, ServiceInterface* service);
    void Send(const std::string& name, const std::string& xml);
    // On AnswerMessage: answers the oldest queued send.
    void AnswerNext();
    // Hands text to the service as if the server had sent it.
    void Deliver(const std::string& name, const std::string& xml);

    std::size_t Pending() const { return queue.size(); }
    std::size_t Accounts() const { return server.AccountCount(); }
    const CardRecord* Find(const std::string& userName, const std::string& domain) const
    {
        return server.Find(userName, domain);
    }

private:
    struct Sent {
        std::string name, xml;
    };

    CardServer server;
    DevUser& user;
    Transcript& transcript;
    HWND window = nullptr;
    ServiceInterface* service = nullptr;
    std::deque<Sent> queue;
};
