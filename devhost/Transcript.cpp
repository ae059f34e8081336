#include "devhost/Transcript.h"

Transcript::~Transcript()
{
    if (file)
        std::fclose(file);
}

bool Transcript::Open(const std::string& path)
{
    file = std::fopen(path.c_str(), "ab");
    return file != nullptr;
}

void Transcript::Sent(const std::string& name, const std::string& xml)
{
    ++messages;
    Write("-> server [" + name + "] " + std::to_string(xml.size()) + " bytes", xml);
}

void Transcript::Received(const std::string& name, const std::string& xml)
{
    ++messages;
    // The hostile answers reach a megabyte; the transcript keeps their start.
    constexpr std::size_t shown = 4096;
    std::string body = xml.size() > shown ? xml.substr(0, shown) + "\n[... cut]\n" : xml;
    Write("<- server [" + name + "] " + std::to_string(xml.size()) + " bytes", body);
}

void Transcript::Note(const std::string& line)
{
    Write("== " + line, "");
}

void Transcript::Write(const std::string& heading, const std::string& body)
{
    if (!file)
        return;
    std::fprintf(file, "%s\n%s", heading.c_str(), body.c_str());
    if (!body.empty() && body.back() != '\n')
        std::fputc('\n', file);
    std::fflush(file);
}
