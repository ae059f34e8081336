#pragma once
// The messenger's settings that the service reads at login: the key
// HKLM\Software\Tesselar\Quillora with "AppPath" and "Skin", and the skin's
// ini file with its [SOUNDS] section.
#include <string>

// Writes the two values and the skin file skin.ini in skinFolder; false when
// the key cannot be written.
bool WriteHostSettings(const std::string& appPath, const std::string& skinFolder);
