#pragma once
// The card dialog's fields as the vCard mapping takes them, and an import
// typed into the own card's controls, so that each page marks its section
// changed as the user's typing would.
#include <string>
#include <vector>

#include "protocol/VCardMapping.h"

class CardDialog;

// The fields of the sections shown, in UTF-8; a section waiting or in error
// stays empty. The photo shown, and the account.
CardContact ShownCard(CardDialog& dialog);

// Types the card into the pages that show their section: every text field
// and the address list take its values, the photo only when it has one.
// Gives the labels of the fields whose characters became "?".
std::vector<std::string> TypeCard(CardDialog& dialog, const CardContact& card);

// The display name and ".vcf", the characters a file name cannot hold as "_".
std::string VCardFileName(const std::string& displayName);
