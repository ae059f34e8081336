#pragma once
// The card's fields as a vCard contact and back. A card holds one address,
// phone, fax, mobile and web page at home and at work; a file may hold more
// of each, and the import chooses: by preference, then by an explicit HOME
// or WORK, then by position. Texts are UTF-8 on both sides.
#include <string>
#include <string_view>
#include <vector>

#include "protocol/Card.h"
#include "support/VCard.h"

struct CardContact {
    IdentificationFields identification;
    AddressFields home, business;  // the web pages as they are shown
    std::string photo;    // the picture file's bytes; empty: none
    std::string account;  // user name, "@", domain

    bool operator==(const CardContact&) const = default;
};

// Something of the file that the card does not take, in one line.
struct LeftOut {
    enum Kind { Address, Phone, WebPage, Email, PhotoAddress };
    Kind kind;
    std::string text;

    bool operator==(const LeftOut&) const = default;
};

struct CardImport {
    CardContact card;
    std::vector<LeftOut> leftOut;
    bool moreThanTenEmails = false;
};

// FN: the friendly name, else title, first, middle and last name, else the
// display name. The account goes along; a web page of just "http://" not.
VCardContact VCardOfCard(const CardContact& card, std::string_view displayName);

// The friendly name stays empty when FN is just the names. The suffix joins
// the last name, the post-office box and the extended address the street,
// ORG's units the department. Of the e-mail addresses, those with a character
// on each side of an "@" count, each once, ten at most. The account is not
// taken.
CardImport CardOfVCard(const VCardContact& contact);
