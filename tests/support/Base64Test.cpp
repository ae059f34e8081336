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

TEST(Base64Encode, KnownTextsAndPadding)
{
    struct Case {
        const char* in;
        const char* out;
    };
    const Case cases[] = {
        {"", ""},
        {"f", "Zg==\n"},
        {"fo", "Zm8=\n"},
        {"foo", "Zm9v\n"},
        {"foob", "Zm9vYg==\n"},
        {"fooba", "Zm9vYmE=\n"},
        {"foobar", "Zm9vYmFy\n"},
        {"\xff\xfe\x00", "//4A\n"},
    };
    for (const Case& c : cases) {
        std::string in(c.in, c.in == std::string("\xff\xfe\x00") ? 3 : std::char_traits<char>::length(c.in));
        EXPECT_EQ(Base64Encode(in, true), c.out) << c.out;
    }
}

TEST(Base64Encode, LinesOf72CharactersEachEndedByOneLineFeed)
{
    std::string line = Base64Encode(Bytes(54), true);
    ASSERT_EQ(line.size(), 73u);
    EXPECT_EQ(line.find('\n'), 72u);

    std::string more = Base64Encode(Bytes(55), true);
    ASSERT_EQ(more.size(), 73u + 5u);
    EXPECT_EQ(more.substr(0, 73), line);
    EXPECT_EQ(more.substr(73 + 2), "==\n");

    std::string big = Base64Encode(Bytes(54 * 10 + 1), true);
    for (std::size_t i = 0; i < 10; ++i)
        EXPECT_EQ(big[i * 73 + 72], '\n') << i;
    EXPECT_EQ(big.size(), 10u * 73u + 5u);
    EXPECT_EQ(big.find('\r'), std::string::npos);
}

TEST(Base64Encode, WithoutLineBreaksTheTextIsOneRun)
{
    std::string text = Base64Encode(Bytes(55), false);
    EXPECT_EQ(text.size(), 76u);
    EXPECT_EQ(text.find('\n'), std::string::npos);
    EXPECT_EQ(Base64Encode("f", false), "Zg==");
}

TEST(Base64Encode, PiecewiseInputGivesTheSameText)
{
    std::string bytes = Bytes(1000, 7);
    std::string whole = Base64Encode(bytes, true);
    for (std::size_t step : {1u, 2u, 5u, 53u, 55u, 333u}) {
        Base64Encoder encoder(true);
        for (std::size_t i = 0; i < bytes.size(); i += step)
            encoder.Write(bytes.data() + i, std::min(step, bytes.size() - i));
        encoder.Finish();
        auto& queue = static_cast<ByteQueue&>(encoder.GetTarget());
        EXPECT_EQ(queue.ReadAll(), whole) << step;
    }
    Base64Encoder encoder(false);
    for (char c : std::string("fo"))
        encoder.Put(static_cast<std::uint8_t>(c));
    encoder.Finish();
    EXPECT_EQ(static_cast<ByteQueue&>(encoder.GetTarget()).ReadAll(), "Zm8=");
}

TEST(Base64Decode, SkipsEverythingOutsideTheAlphabet)
{
    struct Case {
        std::string in;
        std::string out;
    };
    const Case cases[] = {
        {"Zm9vYmFy", "foobar"},
        {"Zm9v\r\nYm Fy\n", "foobar"},
        {"=Z=m=9=v=", "foo"},
        {"Z\x80m\xff" "8!", "fo"},
        {"\r\n =\t*", ""},
        {"", ""},
        {"Zg", "f"},
        {"Zm8", "fo"},
        {"Z", std::string(1, char(25 << 2))},
        {"Zm9vY", "foo" + std::string(1, char(24 << 2))},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Base64Decode(c.in), c.out) << c.in;
}

TEST(Base64Decode, PiecewiseInputGivesTheSameBytes)
{
    std::string bytes = Bytes(777, 3);
    std::string text = Base64Encode(bytes, true);
    for (std::size_t step : {1u, 3u, 4u, 73u, 100u}) {
        ByteQueue queue;
        Base64Decoder decoder(&queue);
        for (std::size_t i = 0; i < text.size(); i += step)
            decoder.Write(text.data() + i, std::min(step, text.size() - i));
        decoder.Finish();
        EXPECT_EQ(queue.ReadAll(), bytes) << step;
    }
}

TEST(Base64RoundTrip, EveryLengthAndEveryByteValue)
{
    std::string all;
    for (int b = 0; b < 256; ++b)
        all += static_cast<char>(b);
    EXPECT_EQ(Base64Decode(Base64Encode(all, true)), all);
    for (std::size_t n = 0; n < 200; ++n) {
        std::string bytes = Bytes(n, static_cast<unsigned>(n));
        EXPECT_EQ(Base64Decode(Base64Encode(bytes, true)), bytes) << n;
        EXPECT_EQ(Base64Decode(Base64Encode(bytes, false)), bytes) << n;
    }
    std::string big = Bytes(1 << 20, 11);
    EXPECT_EQ(Base64Decode(Base64Encode(big, true)), big);
}

TEST(ByteQueue, ReadsFromTheFrontInPieces)
{
    ByteQueue queue;
    queue.Write("abcdef", 6);
    char buffer[8] = {};
    EXPECT_EQ(queue.Read(buffer, 4), 4u);
    EXPECT_EQ(std::string(buffer, 4), "abcd");
    EXPECT_EQ(queue.Size(), 2u);
    queue.Write("gh", 2);
    EXPECT_EQ(queue.Read(buffer, 8), 4u);
    EXPECT_EQ(std::string(buffer, 4), "efgh");
    EXPECT_EQ(queue.Size(), 0u);
    EXPECT_EQ(queue.Read(buffer, 8), 0u);

    std::string big = Bytes(100000, 5);
    queue.Write(big.data(), big.size());
    std::string back;
    while (queue.Size() > 0) {
        std::size_t n = queue.Read(buffer, sizeof buffer);
        back.append(buffer, n);
    }
    EXPECT_EQ(back, big);
}

} // namespace
