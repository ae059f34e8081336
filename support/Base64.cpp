#include "support/Base64.h"

#include <cstring>

namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
constexpr int kLineChars = 72;
constexpr int kLineBytes = kLineChars / 4 * 3;

// Two output characters per 12 input bits.
struct PairTable {
    char pair[4096][2] = {};
    constexpr PairTable()
    {
        for (int i = 0; i < 4096; ++i) {
            pair[i][0] = kAlphabet[i >> 6];
            pair[i][1] = kAlphabet[i & 63];
        }
    }
};
constexpr PairTable kPairs;

// Alphabet position of each character, -1 for the characters to skip.
struct DecodeTable {
    std::int32_t value[256] = {};
    constexpr DecodeTable()
    {
        for (auto& v : value)
            v = -1;
        for (int i = 0; i < 64; ++i)
            value[static_cast<unsigned char>(kAlphabet[i])] = i;
    }
};
constexpr DecodeTable kDecode;

inline char* EncodeTriple(char* out, std::uint32_t bits)
{
    std::memcpy(out, kPairs.pair[bits >> 12], 2);
    std::memcpy(out + 2, kPairs.pair[bits & 0xFFF], 2);
    return out + 4;
}

inline std::uint32_t Triple(const std::uint8_t* p)
{
    return std::uint32_t(p[0]) << 16 | std::uint32_t(p[1]) << 8 | p[2];
}

constexpr std::size_t kChunk = 8192;

} // namespace

void ByteQueue::Write(const void* data, std::size_t count)
{
    if (count == 0)
        return;
    if (front > 0 && front == bytes.size()) {
        bytes.clear();
        front = 0;
    }
    bytes.append(static_cast<const char*>(data), count);
}

std::size_t ByteQueue::Read(void* buffer, std::size_t count)
{
    std::size_t n = count < Size() ? count : Size();
    if (n > 0)
        std::memcpy(buffer, bytes.data() + front, n);
    front += n;
    if (front == bytes.size()) {
        bytes.clear();
        front = 0;
    } else if (front > bytes.size() / 2 && front > 4096) {
        bytes.erase(0, front);
        front = 0;
    }
    return n;
}

std::string ByteQueue::ReadAll()
{
    std::string all;
    if (front == 0)
        all.swap(bytes);
    else
        all.assign(bytes, front);
    bytes.clear();
    front = 0;
    return all;
}

Base64Encoder::Base64Encoder(bool breakLines) : Base64Encoder(nullptr, breakLines) {}

Base64Encoder::Base64Encoder(ByteStream* streamTarget, bool breakLines)
    : target(streamTarget), lineBreaks(breakLines)
{
    if (!target) {
        ownTarget = std::make_unique<ByteQueue>();
        target = ownTarget.get();
    }
}

void Base64Encoder::Write(const void* data, std::size_t count)
{
    const auto* in = static_cast<const std::uint8_t*>(data);
    const std::uint8_t* inEnd = in + count;
    char buffer[kChunk + kLineChars + 2];
    char* out = buffer;

    auto endGroup = [&]() {
        lineLength += 4;
        if (lineLength == kLineChars) {
            if (lineBreaks)
                *out++ = '\n';
            lineLength = 0;
        }
    };

    while (groupCount > 0 && in < inEnd) {
        group[groupCount++] = *in++;
        if (groupCount == 3) {
            out = EncodeTriple(out, Triple(group));
            groupCount = 0;
            endGroup();
        }
    }
    while (inEnd - in >= 3) {
        if (lineLength == 0 && inEnd - in >= kLineBytes) {
            // A whole line at once.
            for (int i = 0; i < kLineBytes; i += 3)
                out = EncodeTriple(out, Triple(in + i));
            in += kLineBytes;
            if (lineBreaks)
                *out++ = '\n';
        } else {
            out = EncodeTriple(out, Triple(in));
            in += 3;
            endGroup();
        }
        if (out - buffer >= static_cast<std::ptrdiff_t>(kChunk)) {
            target->Write(buffer, static_cast<std::size_t>(out - buffer));
            out = buffer;
        }
    }
    while (in < inEnd)
        group[groupCount++] = *in++;
    if (out > buffer)
        target->Write(buffer, static_cast<std::size_t>(out - buffer));
}

void Base64Encoder::Finish()
{
    char out[6];
    std::size_t n = 0;
    if (groupCount > 0) {
        std::uint8_t padded[3] = {group[0], groupCount > 1 ? group[1] : std::uint8_t(0), 0};
        EncodeTriple(out, Triple(padded));
        out[3] = '=';
        if (groupCount == 1)
            out[2] = '=';
        n = 4;
        groupCount = 0;
        lineLength += 4;
        if (lineLength == kLineChars) {
            if (lineBreaks)
                out[n++] = '\n';
            lineLength = 0;
        }
    }
    if (lineLength != 0) {
        if (lineBreaks)
            out[n++] = '\n';
        lineLength = 0;
    }
    if (n > 0)
        target->Write(out, n);
    target->Finish();
}

Base64Decoder::Base64Decoder() : Base64Decoder(nullptr) {}

Base64Decoder::Base64Decoder(ByteStream* streamTarget) : target(streamTarget)
{
    if (!target) {
        ownTarget = std::make_unique<ByteQueue>();
        target = ownTarget.get();
    }
}

void Base64Decoder::Write(const void* data, std::size_t count)
{
    const auto* in = static_cast<const unsigned char*>(data);
    const unsigned char* inEnd = in + count;
    char buffer[kChunk + 4];
    char* out = buffer;
    const std::int32_t* table = kDecode.value;

    while (in < inEnd) {
        if (groupCount == 0) {
            // Four alphabet characters in a row, the usual case.
            while (inEnd - in >= 4) {
                std::int32_t a = table[in[0]], b = table[in[1]], c = table[in[2]], d = table[in[3]];
                if ((a | b | c | d) < 0)
                    break;
                std::uint32_t bits = std::uint32_t(a) << 18 | std::uint32_t(b) << 12 | std::uint32_t(c) << 6 |
                                     std::uint32_t(d);
                out[0] = static_cast<char>(bits >> 16);
                out[1] = static_cast<char>(bits >> 8);
                out[2] = static_cast<char>(bits);
                out += 3;
                in += 4;
                if (out - buffer >= static_cast<std::ptrdiff_t>(kChunk)) {
                    target->Write(buffer, static_cast<std::size_t>(out - buffer));
                    out = buffer;
                }
            }
            if (in == inEnd)
                break;
        }
        std::int32_t v = table[*in++];
        if (v < 0)
            continue;
        group[groupCount++] = static_cast<std::uint8_t>(v);
        if (groupCount == 4) {
            out[0] = static_cast<char>(group[0] << 2 | group[1] >> 4);
            out[1] = static_cast<char>(group[1] << 4 | group[2] >> 2);
            out[2] = static_cast<char>(group[2] << 6 | group[3]);
            out += 3;
            groupCount = 0;
            if (out - buffer >= static_cast<std::ptrdiff_t>(kChunk)) {
                target->Write(buffer, static_cast<std::size_t>(out - buffer));
                out = buffer;
            }
        }
    }
    if (out > buffer)
        target->Write(buffer, static_cast<std::size_t>(out - buffer));
}

void Base64Decoder::Finish()
{
    if (groupCount > 0) {
        std::uint8_t g1 = groupCount > 1 ? group[1] : 0;
        std::uint8_t g2 = groupCount > 2 ? group[2] : 0;
        char out[2] = {static_cast<char>(group[0] << 2 | g1 >> 4), static_cast<char>(g1 << 4 | g2 >> 2)};
        target->Write(out, groupCount == 3 ? 2 : 1);
        groupCount = 0;
    }
    target->Finish();
}

std::string Base64Encode(std::string_view bytes, bool lineBreaks)
{
    ByteQueue queue;
    std::size_t groups = (bytes.size() + 2) / 3;
    queue.Reserve(groups * 4 + (lineBreaks ? (groups + 17) / 18 : 0));
    Base64Encoder encoder(&queue, lineBreaks);
    encoder.Write(bytes.data(), bytes.size());
    encoder.Finish();
    return queue.ReadAll();
}

std::string Base64Decode(std::string_view text)
{
    ByteQueue queue;
    queue.Reserve(text.size() / 4 * 3 + 3);
    Base64Decoder decoder(&queue);
    decoder.Write(text.data(), text.size());
    decoder.Finish();
    return queue.ReadAll();
}
