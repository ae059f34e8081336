#include "devhost/PngFile.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <vector>

namespace {

std::uint32_t Crc32(const std::string& bytes, std::size_t from)
{
    static const auto table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t n = 0; n < 256; ++n) {
            std::uint32_t c = n;
            for (int k = 0; k < 8; ++k)
                c = c & 1 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    std::uint32_t crc = 0xFFFFFFFFu;
    for (std::size_t i = from; i < bytes.size(); ++i)
        crc = table[(crc ^ static_cast<unsigned char>(bytes[i])) & 0xFF] ^ (crc >> 8);
    return crc ^ 0xFFFFFFFFu;
}

void PutBig32(std::string& out, std::uint32_t value)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out += static_cast<char>((value >> shift) & 0xFF);
}

void PutChunk(std::string& out, const char* type, const std::string& data)
{
    PutBig32(out, static_cast<std::uint32_t>(data.size()));
    std::string body = std::string(type, 4) + data;
    out += body;
    PutBig32(out, Crc32(body, 0));
}

// Bits into bytes, first bit lowest, as deflate packs them.
class BitWriter {
public:
    void Put(std::uint32_t value, int count)
    {
        for (int i = 0; i < count; ++i) {
            current |= ((value >> i) & 1) << filled;
            if (++filled == 8)
                Flush();
        }
    }
    // A Huffman code goes in from its highest bit.
    void PutCode(std::uint32_t code, int length)
    {
        for (int i = length - 1; i >= 0; --i)
            Put((code >> i) & 1, 1);
    }
    std::string Finish()
    {
        if (filled)
            Flush();
        return std::move(bytes);
    }

private:
    void Flush()
    {
        bytes += static_cast<char>(current);
        current = 0;
        filled = 0;
    }
    std::string bytes;
    std::uint32_t current = 0;
    int filled = 0;
};

// The fixed Huffman code of a literal or length symbol (0 to 287).
void PutSymbol(BitWriter& out, int symbol)
{
    if (symbol < 144)
        out.PutCode(0x30 + symbol, 8);
    else if (symbol < 256)
        out.PutCode(0x190 + symbol - 144, 9);
    else if (symbol < 280)
        out.PutCode(symbol - 256, 7);
    else
        out.PutCode(0xC0 + symbol - 280, 8);
}

constexpr int LengthBase[] = {3, 4, 5, 6, 7, 8, 9, 10, 11, 13, 15, 17, 19, 23, 27, 31, 35, 43, 51, 59, 67, 83, 99, 115,
    131, 163, 195, 227, 258};
constexpr int LengthExtra[] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2, 2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
constexpr int DistanceBase[] = {1, 2, 3, 4, 5, 7, 9, 13, 17, 25, 33, 49, 65, 97, 129, 193, 257, 385, 513, 769, 1025,
    1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
constexpr int DistanceExtra[] = {0, 0, 0, 0, 1, 1, 2, 2, 3, 3, 4, 4, 5, 5, 6, 6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12,
    13, 13};

void PutMatch(BitWriter& out, int length, int distance)
{
    int l = 28;
    while (LengthBase[l] > length)
        --l;
    PutSymbol(out, 257 + l);
    out.Put(static_cast<std::uint32_t>(length - LengthBase[l]), LengthExtra[l]);
    int d = 29;
    while (DistanceBase[d] > distance)
        --d;
    out.PutCode(static_cast<std::uint32_t>(d), 5);
    out.Put(static_cast<std::uint32_t>(distance - DistanceBase[d]), DistanceExtra[d]);
}

// One deflate block with the fixed Huffman codes: the longest earlier match
// of at least three bytes within 32 KiB, found through chains of positions
// with the same next three bytes, else a literal.
std::string Deflate(const std::string& raw)
{
    constexpr int Window = 32768, MinMatch = 3, MaxMatch = 258, MaxChain = 128;
    constexpr std::size_t HashSize = 1 << 15;
    std::vector<int> head(HashSize, -1), previous(raw.size(), -1);
    auto byte = [&](std::size_t i) { return static_cast<unsigned char>(raw[i]); };
    auto hash = [&](std::size_t i) { return ((byte(i) << 10) ^ (byte(i + 1) << 5) ^ byte(i + 2)) & (HashSize - 1); };
    auto insert = [&](std::size_t i) {
        if (i + MinMatch <= raw.size()) {
            std::size_t h = hash(i);
            previous[i] = head[h];
            head[h] = static_cast<int>(i);
        }
    };
    BitWriter out;
    out.Put(1, 1);  // the last block
    out.Put(1, 2);  // fixed codes
    for (std::size_t at = 0; at < raw.size();) {
        int bestLength = 0, bestDistance = 0;
        if (at + MinMatch <= raw.size()) {
            int limit = static_cast<int>(std::min<std::size_t>(MaxMatch, raw.size() - at));
            int chain = MaxChain;
            for (int candidate = head[hash(at)]; candidate >= 0 && chain-- > 0; candidate = previous[static_cast<std::size_t>(candidate)]) {
                int distance = static_cast<int>(at) - candidate;
                if (distance > Window)
                    break;
                int length = 0;
                while (length < limit && raw[static_cast<std::size_t>(candidate + length)] == raw[at + static_cast<std::size_t>(length)])
                    ++length;
                if (length > bestLength) {
                    bestLength = length;
                    bestDistance = distance;
                    if (length == limit)
                        break;
                }
            }
        }
        if (bestLength >= MinMatch) {
            PutMatch(out, bestLength, bestDistance);
            for (int i = 0; i < bestLength; ++i)
                insert(at + static_cast<std::size_t>(i));
            at += static_cast<std::size_t>(bestLength);
        } else {
            PutSymbol(out, byte(at));
            insert(at);
            ++at;
        }
    }
    PutSymbol(out, 256);
    return out.Finish();
}

std::string Zlib(const std::string& raw)
{
    std::uint32_t a = 1, b = 0;
    for (unsigned char byte : raw) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    std::string out = "\x78\x01" + Deflate(raw);
    PutBig32(out, (b << 16) | a);
    return out;
}

// Each row behind the filter that leaves the smallest bytes (None, Sub or Up),
// so that the flat areas of a window become runs of zeros.
std::string FilteredRows(int width, int height, const std::vector<unsigned char>& rgb)
{
    std::size_t stride = static_cast<std::size_t>(width) * 3;
    std::string raw;
    raw.reserve((stride + 1) * static_cast<std::size_t>(height));
    std::string candidates[3];
    for (int y = 0; y < height; ++y) {
        const unsigned char* row = rgb.data() + stride * static_cast<std::size_t>(y);
        const unsigned char* above = y > 0 ? row - stride : nullptr;
        int best = 0;
        long bestCost = -1;
        for (int filter = 0; filter < 3; ++filter) {
            std::string& filtered = candidates[filter];
            filtered.assign(1, static_cast<char>(filter));
            long cost = 0;
            for (std::size_t x = 0; x < stride; ++x) {
                unsigned char before = filter == 1 ? (x >= 3 ? row[x - 3] : 0) : filter == 2 && above ? above[x] : 0;
                auto value = static_cast<unsigned char>(row[x] - before);
                filtered += static_cast<char>(value);
                cost += value < 128 ? value : 256 - value;
            }
            if (bestCost < 0 || cost < bestCost) {
                bestCost = cost;
                best = filter;
            }
        }
        raw += candidates[best];
    }
    return raw;
}

}  // namespace

std::string EncodePng(int width, int height, const std::vector<unsigned char>& rgb)
{
    if (width <= 0 || height <= 0 || rgb.size() != static_cast<std::size_t>(width) * height * 3)
        return {};
    std::string out = "\x89PNG\r\n\x1a\n";
    std::string header;
    PutBig32(header, static_cast<std::uint32_t>(width));
    PutBig32(header, static_cast<std::uint32_t>(height));
    header += std::string("\x08\x02\x00\x00\x00", 5);
    PutChunk(out, "IHDR", header);
    PutChunk(out, "IDAT", Zlib(FilteredRows(width, height, rgb)));
    PutChunk(out, "IEND", "");
    return out;
}

bool WritePng(const std::string& path, int width, int height, const std::vector<unsigned char>& rgb)
{
    std::string bytes = EncodePng(width, height, rgb);
    if (bytes.empty())
        return false;
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return false;
    bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && written;
}
