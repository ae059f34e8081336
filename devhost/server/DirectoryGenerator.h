#pragma once
// A made-up directory for the development host: plausible cards, the same
// for the same seed on every platform. Texts are Windows-1252.
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "devhost/server/CardRecord.h"

// The bytes of a 24-bit uncompressed BMP file (bottom-up rows padded to four
// bytes) of width x height pixels showing a simple portrait whose colours
// and shape follow from seed.
std::string MakePortraitBmp(int width, int height, std::uint64_t seed);

// count cards; card i depends only on seed and i, so a smaller count gives
// a prefix of a larger one. User names are unique ASCII.
std::vector<CardRecord> GenerateCards(int count, std::uint64_t seed);

// Writes GenerateCards(count, seed) as card files into folder (created when
// missing); returns how many files were written.
int GenerateDirectory(const std::filesystem::path& folder, int count, std::uint64_t seed);
