// Reads the first card of standard input and writes it back as the writer
// writes it, for the checks with an independent parser; exit status 1 when
// the input holds no card.
#include <iostream>
#include <iterator>
#include <string>

#include "support/VCard.h"

int main()
{
    std::string text{std::istreambuf_iterator<char>(std::cin), {}};
    auto contact = ReadVCard(text);
    if (!contact)
        return 1;
    std::cout << WriteVCard(*contact);
    return 0;
}
