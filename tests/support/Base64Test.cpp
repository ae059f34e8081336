#include "support/Base64.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace {

std::string Bytes(std::size_t count, unsigned seed = 1)
{
    std::mt19937 random(seed);
    std::string bytes(count, '\0');
    for (char& b : bytes)
        b = static_cast<char>(random());
    return bytes;
}

TEST(Base64, PaddingAndLinesOf72Characters)
{
    const std::pair<std::string, std::string> cases[] = {
        {"", ""}, {"f", "Zg==\n"}, {"fo", "Zm8=\n"}, {"foo", "Zm9v\n"}, {"foob", "Zm9vYg==\n"},
        {std::string("\xff\xfe\x00", 3), "//4A\n"},
    };
    for (const auto& [in, out] : cases)
        EXPECT_EQ(Base64Encode(in, true), out);

    // 54 bytes fill a line; the next byte starts another.
    std::string bytes = Bytes(55);
    std::string line = Base64Encode(bytes.substr(0, 54), false);
    ASSERT_EQ(line.size(), 72u);
    EXPECT_EQ(Base64Encode(bytes.substr(0, 54), true), line + "\n");
    EXPECT_EQ(Base64Encode(bytes, true), line + "\n" + Base64Encode(bytes.substr(54), false) + "\n");
}

TEST(Base64, DecodingSkipsEverythingOutsideTheAlphabet)
{
    const std::pair<std::string, std::string> cases[] = {
        {"Zm9v\r\nYm Fy\n", "foobar"}, {"=Z=m=9=v=", "foo"}, {"Z\x80m\xff" "8!", "fo"},
        {"\r\n =\t*", ""},             {"Zg", "f"},          {"Z", std::string(1, char(25 << 2))},
    };
    for (const auto& [in, out] : cases)
        EXPECT_EQ(Base64Decode(in), out) << in;
}

TEST(Base64, RoundTripOfEveryLengthWholeAndInPieces)
{
    for (std::size_t n = 0; n < 200; ++n) {
        std::string bytes = Bytes(n, static_cast<unsigned>(n));
        EXPECT_EQ(Base64Decode(Base64Encode(bytes, true)), bytes) << n;
        EXPECT_EQ(Base64Decode(Base64Encode(bytes, false)), bytes) << n;
    }
    // Pieces that cut groups and lines; the output larger than one chunk.
    std::string big = Bytes(1 << 17, 11);
    std::string text = Base64Encode(big, true);
    for (std::size_t step : {1u, 2u, 55u, 70000u}) {
        Base64Encoder encoder(true);
        for (std::size_t i = 0; i < big.size(); i += step)
            encoder.Write(big.data() + i, std::min(step, big.size() - i));
        encoder.Finish();
        EXPECT_TRUE(static_cast<ByteQueue&>(encoder.GetTarget()).ReadAll() == text) << step;
        Base64Decoder decoder;
        for (std::size_t i = 0; i < text.size(); i += step)
            decoder.Write(text.data() + i, std::min(step, text.size() - i));
        decoder.Finish();
        EXPECT_TRUE(static_cast<ByteQueue&>(decoder.GetTarget()).ReadAll() == big) << step;
    }
}

} // namespace
