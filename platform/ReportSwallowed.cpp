#include "platform/ReportSwallowed.h"

#include <windows.h>

#include <string>

void ReportSwallowed(const char* where)
{
    std::string line = std::string("vcardpc: swallowed in ") + (where ? where : "?") + "\n";
    OutputDebugStringA(line.c_str());
}
