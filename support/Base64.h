#pragma once

// Base64 (standard alphabet, '=' padding) as streaming filters that write
// into a byte stream. The encoder can break lines at 72 characters; the
// decoder skips every character outside the alphabet, '=' included.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

// Where a filter writes its output, and from where the result is collected.
class ByteStream {
public:
    virtual ~ByteStream() = default;
    virtual void Write(const void* data, std::size_t count) = 0;
    virtual void Finish() {}
    // Bytes held.
    virtual std::size_t Size() const = 0;
    // Takes up to count bytes from the front; returns how many were taken.
    virtual std::size_t Read(void* buffer, std::size_t count) = 0;
};

// In-memory byte stream: appends at the end, reads from the front, no bound.
class ByteQueue final : public ByteStream {
public:
    void Write(const void* data, std::size_t count) override;
    std::size_t Size() const override { return bytes.size() - front; }
    std::size_t Read(void* buffer, std::size_t count) override;
    // Takes everything held.
    std::string ReadAll();
    // Room for count more bytes without growing.
    void Reserve(std::size_t count) { bytes.reserve(Size() + count); }

private:
    std::string bytes;
    std::size_t front = 0;
};

class Base64Encoder {
public:
    // Without a target the encoder writes into a ByteQueue of its own.
    explicit Base64Encoder(bool lineBreaks);
    Base64Encoder(ByteStream* target, bool lineBreaks);

    void Write(const void* data, std::size_t count);
    void Put(std::uint8_t value) { Write(&value, 1); }
    // Encodes what is left with padding, ends the last line, finishes the target.
    void Finish();

    ByteStream& GetTarget() { return *target; }

private:
    std::unique_ptr<ByteStream> ownTarget;
    ByteStream* target;
    bool lineBreaks;
    std::uint8_t group[3] = {};
    int groupCount = 0;
    int lineLength = 0;
};

class Base64Decoder {
public:
    // Without a target the decoder writes into a ByteQueue of its own.
    Base64Decoder();
    explicit Base64Decoder(ByteStream* target);

    void Write(const void* data, std::size_t count);
    void Put(char c) { Write(&c, 1); }
    // Decodes a left-over group of one to three characters, finishes the target.
    void Finish();

    ByteStream& GetTarget() { return *target; }

private:
    std::unique_ptr<ByteStream> ownTarget;
    ByteStream* target;
    std::uint8_t group[4] = {};
    int groupCount = 0;
};

// Whole-buffer helpers over the filters.
std::string Base64Encode(std::string_view bytes, bool lineBreaks);
std::string Base64Decode(std::string_view text);
