#pragma once
// A minimal PNG writer: 8-bit RGB, each row filtered, compressed with deflate
// and its fixed Huffman codes.
#include <string>
#include <vector>

// rgb holds height rows of width * 3 bytes, top row first. False when the
// file cannot be written or the sizes do not match.
bool WritePng(const std::string& path, int width, int height, const std::vector<unsigned char>& rgb);

// The file's bytes, as WritePng writes them.
std::string EncodePng(int width, int height, const std::vector<unsigned char>& rgb);
