// The vCard reader on 4 MiB files: the size the import reads.
#include "support/VCard.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

constexpr std::size_t FileSize = 4 << 20;

// A card whose one property runs over lines of 74 octets, each ending in
// "=" where quoted-printable goes on, else folded with a blank.
std::string Card(const std::string& head, bool quotedPrintable)
{
    std::string text = "BEGIN:VCARD\r\nVERSION:2.1\r\n" + head;
    while (text.size() < FileSize)
        text += quotedPrintable ? std::string(73, 'a') + "=\r\n" : std::string(74, 'A') + "\r\n ";
    return text + "A\r\nEND:VCARD\r\n";
}

// Many small cards: the first is read, the rest never are.
std::string AddressBook()
{
    std::string card = "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Ana Rivas\r\nTEL;TYPE=CELL:+51 9 555\r\nEND:VCARD\r\n";
    std::string text;
    while (text.size() < FileSize)
        text += card;
    return text;
}

void Read(benchmark::State& state, const std::string& text)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(ReadVCard(text));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
}

} // namespace

BENCHMARK_CAPTURE(Read, quotedPrintable4M, Card("NOTE;ENCODING=QUOTED-PRINTABLE:", true))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Read, photo4M, Card("PHOTO;ENCODING=BASE64;JPEG:", false))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Read, addressBook4M, AddressBook())->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
