#pragma once
// Writes "vcardpc: swallowed in <where>" with OutputDebugStringA: a failure stopped there, seen by a debugger, never by the user.
void ReportSwallowed(const char* where);
