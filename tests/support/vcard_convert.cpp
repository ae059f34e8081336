// Reads the first card of standard input into a card's fields and writes
// them as the export writes them, for the checks with an independent parser;
// exit status 1 when the input holds no card.
#include <iostream>
#include <iterator>
#include <string>

#include "protocol/VCardMapping.h"

int main()
{
    std::string text{std::istreambuf_iterator<char>(std::cin), {}};
    auto contact = ReadVCard(text);
    if (!contact)
        return 1;
    CardContact card = CardOfVCard(*contact).card;
    card.account = contact->account;
    std::cout << WriteVCard(VCardOfCard(card, ""));
    return 0;
}
