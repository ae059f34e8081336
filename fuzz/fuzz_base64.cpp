// The decoder takes any text; decoding the encoder's output gives the input.
#include "support/Base64.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::string_view input(reinterpret_cast<const char*>(data), size);
    Base64Decode(input);

    std::string text = Base64Encode(input, size > 0 && (data[0] & 1));
    if (Base64Decode(text) != input)
        std::abort();
    return 0;
}
