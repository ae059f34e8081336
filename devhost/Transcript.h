#pragma once
// Every message between the service and the card server, and the session's
// notes, appended to one text file as they happen.
#include <cstdio>
#include <string>

class Transcript {
public:
    Transcript() = default;
    ~Transcript();
    Transcript(const Transcript&) = delete;
    Transcript& operator=(const Transcript&) = delete;

    bool Open(const std::string& path);
    void Sent(const std::string& name, const std::string& xml);
    void Received(const std::string& name, const std::string& xml);
    void Note(const std::string& line);
    int MessageCount() const { return messages; }

private:
    void Write(const std::string& heading, const std::string& body);

    std::FILE* file = nullptr;
    int messages = 0;
};
