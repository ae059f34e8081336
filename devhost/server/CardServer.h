#pragma once
// The reference card server of the development host. It keeps every
// account's card in a data folder (one file per account, loaded once at
// construction and rewritten on each publish) and answers the client's card
// messages: code 1 card request, code 2 publish, code 3 directory search.
//
// A section marked not published is shown only to its owner and to accounts
// that the host lists as contacts: the host knows only the requester's
// contact list, so "the owner is the requester's contact" stands for the
// relation both ways. For anyone else such a section is answered exactly as
// a section without data (kStatusNoData), so its existence is not revealed.
//
// A search matches an account when every filled-in field is a substring of
// one of its visible texts, ASCII letters compared without case and other
// bytes exactly: "n" the identification names (first, last, "first last",
// middle, friendly, nickname), "em" any e-mail slot, "cp" the business
// company, "t", "s" and "ci" the home or business country, state and city.
// A result shows "n" first and last name, "em" the first e-mail address,
// "cp" the company, and the city, state and country of home when that is
// visible and filled in, else of business; accounts come in user name then
// domain order.
//
// Single-threaded, like the host's message loop that drives it.
#include <cstddef>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <utility>

#include "devhost/server/CardRecord.h"

class XmlDocument;

// Whether the account (user name, domain) is in the requester's contact list.
using ContactTest = std::function<bool(const std::string& user, const std::string& domain)>;

class CardServer {
public:
    // Status of a section that has no data or that the requester may not see.
    static constexpr int kStatusNoData = 404;
    // Accounts listed at most in one search answer.
    static constexpr std::size_t kMaxSearchResults = 10000;

    // Loads every card file below folder; files that do not parse, or whose
    // names do not match their path, are left out.
    explicit CardServer(std::filesystem::path folder, std::size_t maxSearchResults = kMaxSearchResults);

    // Handles one message from the signed-in account fromUser@fromDomain and
    // returns the answer's XML text, or "" when there is none: publish, an
    // unknown code, text that is not a whole "msg" document, a requester
    // whose names are unsafe as file names. An empty isContact means no
    // contacts.
    std::string Handle(const std::string& fromUser, const std::string& fromDomain, const std::string& xml,
                       const ContactTest& isContact);

    std::size_t AccountCount() const { return accounts.size(); }
    // nullptr when the server holds nothing for the account.
    const CardRecord* Find(const std::string& user, const std::string& domain) const;
    // True when the last write of that account's file succeeded.
    bool LastWriteSucceeded() const { return lastWriteOk; }

private:
    struct Account {
        CardRecord card;
        // Field values of sections 1 to 3 with ASCII letters in lower case.
        std::array<std::vector<std::string>, 3> folded;
        std::string foldedFullName;  // first and last name
    };
    class Viewer;
    // Which of sections 1 to 3 the requester may see.
    struct Shown {
        bool identification, home, business;
    };
    // The search fields, ASCII letters in lower case.
    struct Query {
        std::string name, email, company;
        std::array<std::string, 3> place;  // city, state, country
    };

    void Refold(Account& account);
    std::string AnswerCardRequest(const XmlDocument& request, Viewer& viewer) const;
    void Publish(const std::string& user, const std::string& domain, const XmlDocument& message);
    std::string AnswerSearch(const XmlDocument& request, Viewer& viewer) const;
    static bool Matches(const Account& account, const Shown& shown, const Query& query);
    static void AddResult(XmlDocument& answer, const CardRecord& card, const Shown& shown);

    std::filesystem::path folder;
    std::size_t maxResults;
    std::map<std::pair<std::string, std::string>, Account> accounts;  // key: user, domain
    bool lastWriteOk = true;
};
