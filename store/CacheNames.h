#pragma once
// The names under which the cache keeps an account, and the checks that
// keep names sent by the server from reaching anything but those.
#include <string>
#include <string_view>

// A name that is one registry key: not empty, not "." or "..", no
// backslash and no control character.
bool IsSafeKeyName(std::string_view name);

// A name that Windows opens as a plain file in a folder: none of the
// characters it refuses, no trailing dot or space, and no device name
// (CON, NUL, COM1, CONIN$...) in the part before the first dot, read as
// Windows reads it: trailing spaces and dots removed, any case.
bool IsPlainFileName(std::string_view name);

// The photo file of an account: user name, "@", domain, ".b64", where
// capitals, bytes above 0x7F, "%" and "@" of either name are written as "%"
// and two hex digits. Windows ignores case in file names, so this keeps
// "Ann" apart from "ann" and "a@b" at "c" apart from "a" at "b@c".
std::string PhotoFileName(std::string_view user, std::string_view domain);
