#pragma once
// The card dialog as a vCard contact and back: export reads what the dialog
// shows; import types into the own card's controls, so that each page marks
// its section changed as the user's typing would.
#include <string>
#include <vector>

#include "support/VCard.h"

class CardDialog;

// The sections shown, in UTF-8; a section waiting or in error is left out.
// FN: the friendly name, else the names, else the display name.
VCardContact ContactOfCard(CardDialog& dialog);

// What an import could not keep.
struct ImportLosses {
    std::vector<std::string> fields;  // the labels of fields whose characters became "?"
    bool addressesDropped = false;    // more than ten e-mail addresses
};

// Fills the pages that show their section: text fields and the address list
// take the contact's values (empty where it has none), the photo is taken
// when the contact has one; the account is not imported.
ImportLosses PutContactIntoCard(CardDialog& dialog, const VCardContact& contact);

// The display name and ".vcf", the characters a file name cannot hold as "_".
std::string VCardFileName(const std::string& displayName);
