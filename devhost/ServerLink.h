#pragma once
// Carries the service's sends to the reference card server and its answers
// back. A send is queued and a private message posted to the host window;
// only when the loop dispatches it is the server asked and the answer
// delivered, never inside the send. The server may also be slow, answering
// a send SlowDelay later, or gone, answering none.
#include <deque>
#include <filesystem>
#include <string>

#include "devhost/server/CardServer.h"
#include "frame/ServiceInterface.h"
#include "platform/WindowTimer.h"

class DevUser;
class Transcript;

class ServerLink {
public:
    static constexpr UINT AnswerMessage = WM_APP + 40;
    enum class Mode { Answers, Slow, Gone };
    static constexpr ULONGLONG SlowDelay = 20000;
    // While slow sends wait, it looks for those whose time has come.
    static constexpr UINT_PTR SlowTimer = 40;

    ServerLink(const std::filesystem::path& dataFolder, DevUser& user, Transcript& transcript);

    void Attach(HWND window, ServiceInterface* service);
    void Send(const std::string& name, const std::string& xml);
    // On AnswerMessage: answers the oldest queued send.
    void AnswerNext();
    // On SlowTimer: answers the slow sends whose time has come.
    void AnswerDue();
    // Sends already queued keep their time.
    void SetMode(Mode mode);
    Mode GetMode() const { return mode; }
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
        ULONGLONG due = 0;  // the tick count from which it is answered
    };

    CardServer server;
    DevUser& user;
    Transcript& transcript;
    HWND window = nullptr;
    ServiceInterface* service = nullptr;
    std::deque<Sent> queue;
    Mode mode = Mode::Answers;
    WindowTimer slowTimer{SlowTimer};
};
