#pragma once
// Where the host keeps its settings, and how its skin path is read.
#include <string>

inline constexpr const char* HostSettingsKey = "Software\\Tesselar\\Quillora";

// The drive and folder of a file path, with the folder's trailing separator:
// "D:\skins\blue\skin.ini" gives "D:\skins\blue\". Any length is taken.
std::string SkinFolder(const std::string& skinFile);
