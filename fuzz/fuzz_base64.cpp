// The decoder takes any text; decoding the encoder's output gives the input,
// whether fed whole or in pieces.
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

    // Pieces whose sizes come from the input itself.
    ByteQueue queue;
    Base64Decoder decoder(&queue);
    std::size_t at = 0;
    for (std::size_t i = 0; at < text.size(); ++i) {
        std::size_t step = 1 + (size > 0 ? data[i % size] % 97 : 0);
        if (step > text.size() - at)
            step = text.size() - at;
        decoder.Write(text.data() + at, step);
        at += step;
    }
    decoder.Finish();
    if (queue.ReadAll() != input)
        std::abort();
    return 0;
}
