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

TEST(Base64Encode, PaddingOfShortInputs)
{
    const std::pair<std::string, std::string> cases[] = {
        {"", ""},           {"f", "Zg==\n"},         {"fo", "Zm8=\n"},
        {"foo", "Zm9v\n"},  {"foob", "Zm9vYg==\n"},  {"foobar", "Zm9vYmFy\n"},
        {std::string("\xff\xfe\x00", 3), "//4A\n"},
    };
    for (const auto& [in, out] : cases)
        EXPECT_EQ(Base64Encode(in, true), out);
    EXPECT_EQ(Base64Encode("f", false), "Zg==");
}

TEST(Base64Encode, LinesOf72CharactersEachEndedByOneLineFeed)
{
    std::string line = Base64Encode(Bytes(54), true);
    ASSERT_EQ(line.size(), 73u);
    EXPECT_EQ(line.find('\n'), 72u);
    std::string more = Base64Encode(Bytes(55), true);
    ASSERT_EQ(more.size(), 73u + 5u);
    EXPECT_EQ(more.substr(0, 73), line);
    EXPECT_EQ(more.substr(75), "==\n");
    std::string flat = Base64Encode(Bytes(55), false);
    EXPECT_EQ(flat, line.substr(0, 72) + more.substr(73, 4));
}

TEST(Base64Encode, PiecewiseInputGivesTheSameText)
{
    std::string bytes = Bytes(1000, 7);
    std::string whole = Base64Encode(bytes, true);
    for (std::size_t step : {1u, 2u, 53u, 55u, 333u}) {
        Base64Encoder encoder(true);
        for (std::size_t i = 0; i < bytes.size(); i += step)
            encoder.Write(bytes.data() + i, std::min(step, bytes.size() - i));
        encoder.Finish();
        EXPECT_EQ(static_cast<ByteQueue&>(encoder.GetTarget()).ReadAll(), whole) << step;
    }
}

TEST(Base64Decode, SkipsEverythingOutsideTheAlphabet)
{
    const std::pair<std::string, std::string> cases[] = {
        {"Zm9vYmFy", "foobar"},
        {"Zm9v\r\nYm Fy\n", "foobar"},
        {"=Z=m=9=v=", "foo"},
        {"Z\x80m\xff" "8!", "fo"},
        {"\r\n =\t*", ""},
        {"Zg", "f"},
        {"Z", std::string(1, char(25 << 2))},
    };
    for (const auto& [in, out] : cases)
        EXPECT_EQ(Base64Decode(in), out) << in;
}

TEST(Base64RoundTrip, EveryLengthWholeAndInPieces)
{
    for (std::size_t n = 0; n < 200; ++n) {
        std::string bytes = Bytes(n, static_cast<unsigned>(n));
        EXPECT_EQ(Base64Decode(Base64Encode(bytes, true)), bytes) << n;
        EXPECT_EQ(Base64Decode(Base64Encode(bytes, false)), bytes) << n;
    }
    std::string big = Bytes(1 << 20, 11);
    std::string text = Base64Encode(big, true);
    for (std::size_t step : {3u, 73u, 100000u}) {
        Base64Decoder decoder;
        for (std::size_t i = 0; i < text.size(); i += step)
            decoder.Write(text.data() + i, std::min(step, text.size() - i));
        decoder.Finish();
        EXPECT_EQ(static_cast<ByteQueue&>(decoder.GetTarget()).ReadAll(), big) << step;
    }
}

TEST(ByteQueue, ReadsFromTheFrontInPieces)
{
    ByteQueue queue;
    queue.Write("abcdef", 6);
    char buffer[8] = {};
    EXPECT_EQ(queue.Read(buffer, 4), 4u);
    EXPECT_EQ(std::string(buffer, 4), "abcd");
    queue.Write("gh", 2);
    EXPECT_EQ(queue.Size(), 4u);
    EXPECT_EQ(queue.Read(buffer, 8), 4u);
    EXPECT_EQ(std::string(buffer, 4), "efgh");
    EXPECT_EQ(queue.Read(buffer, 8), 0u);
}

} // namespace
