// Any bytes: the read ends without crash, leak or hang. A card that is read
// is written, what is written reads back to the same card, and that card
// writes the same text again.
#include "support/VCard.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    auto card = ReadVCard(std::string_view(reinterpret_cast<const char*>(data), size));
    if (!card)
        return 0;
    std::string written = WriteVCard(*card);
    auto back = ReadVCard(written);
    if (!back || *back != *card || WriteVCard(*back) != written)
        std::abort();
    return 0;
}
