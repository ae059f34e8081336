#pragma once
// What this program writes with OutputDebugStringA while the object lives.
#include <windows.h>

#include <string>
#include <vector>

#include "tests/hosts/ImportPatch.h"

class DebugOutput {
public:
    DebugOutput() { Lines().clear(); }
    DebugOutput(const DebugOutput&) = delete;
    DebugOutput& operator=(const DebugOutput&) = delete;

    bool Installed() const { return patch.Installed(); }
    static std::vector<std::string>& Lines()
    {
        static std::vector<std::string> lines;
        return lines;
    }

private:
    static void WINAPI Capture(const char* text) { Lines().push_back(text ? text : "(null)"); }

    ImportPatch patch{"kernel32.dll", "OutputDebugStringA", reinterpret_cast<void*>(&Capture)};
};
