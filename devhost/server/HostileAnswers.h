#pragma once
// Malformed and hostile server answers for the development host's scripted
// session of bad input. Each one is aimed at the account user@domain, whose
// card dialog the session has open, unless its name says otherwise.
#include <string>
#include <vector>

struct HostileAnswer {
    std::string name;  // short unique identifier, e.g. "nesting-100000"
    std::string what;  // one line for the session's transcript
    std::string xml;   // the text to deliver as the server's answer
};

// The hostile names used by the "name-*" and "domain-*" answers.
std::vector<std::string> HostileAccountNames();

std::vector<HostileAnswer> HostileAnswers(const std::string& user, const std::string& domain);
