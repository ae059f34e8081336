// The development host's scripted session run as its own process, as
// `make demo` runs it, against a small directory.
#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "devhost/server/CardRecord.h"

namespace fs = std::filesystem;

namespace {

std::string ReadFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

fs::path BinFolder()
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    return fs::path(path).parent_path();
}

// Runs devhost.exe with these arguments, its output into the file output;
// its exit code, or -1.
int RunDevHost(const std::string& arguments, const fs::path& output)
{
    std::string command = "\"" + (BinFolder() / "devhost.exe").string() + "\" " + arguments;
    SECURITY_ATTRIBUTES inherited = {sizeof inherited, nullptr, TRUE};
    HANDLE file = CreateFileA(output.string().c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherited, CREATE_ALWAYS,
        FILE_ATTRIBUTE_NORMAL, nullptr);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = startup.hStdError = file;
    PROCESS_INFORMATION process = {};
    BOOL started = CreateProcessA(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr,
        BinFolder().string().c_str(), &startup, &process);
    CloseHandle(file);
    if (!started)
        return -1;
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = static_cast<DWORD>(-1);
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return static_cast<int>(code);
}

// Every step ran and passed, the hostile ones included; the transcript holds
// both directions and the host's commands. The second run, over the first
// one's cache, finds the published card.
TEST(DevHostSession, ScriptedSessionWithTheHostileAnswersRunsToItsEndTwiceOverOneFolder)
{
    fs::path folder = fs::temp_directory_path() / ("devhost-session-" + std::to_string(GetCurrentProcessId()));
    fs::path output = folder.string() + "-output.txt";
    fs::remove_all(folder);
    std::string arguments = "--script \"" + folder.string() + "\" --accounts 200";
    ASSERT_EQ(0, RunDevHost(arguments, output));
    std::string printed = ReadFile(output);
    EXPECT_NE(std::string::npos, printed.find("every step passed"));
    EXPECT_NE(std::string::npos, printed.find("/transcript.txt"));
    std::string transcript = ReadFile(folder / "transcript.txt");
    EXPECT_EQ(std::string::npos, transcript.find("FAILED"));
    for (const char* line : {"== demo script ends", "step survives nesting-100000: ok", "step survives empty: ok",
             "step nothing written outside", "-> server [VCARD-PC]", "<- server [VCARD-PC]", "<msg>2", "<msg>3",
             "== host command 0", "== host command 19 ", "hostile answer photo-1mb", "server mode: gone",
             "step after the time limit it shows the saved copy under the notice: ok"})
        EXPECT_NE(std::string::npos, transcript.find(line)) << line;

    EXPECT_EQ(0, RunDevHost(arguments, output));
    EXPECT_NE(std::string::npos, ReadFile(CardFilePath(folder / "data", "ana", "example.net")).find("Prieto"));

    // Nothing written outside the folders the plug-in and the host may write.
    const fs::path allowed[] = {folder / "data", folder / "skin", folder / "host" / "programs" / "Quillora" / "vc"};
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        if (!entry.is_regular_file())
            continue;
        const fs::path& path = entry.path();
        bool inside = path.parent_path() == folder &&
            (path.extension() == ".png" || path.extension() == ".vcf" || path.filename() == "transcript.txt");
        for (const fs::path& place : allowed)
            inside = inside || path.string().rfind(place.string() + "\\", 0) == 0;
        EXPECT_TRUE(inside) << path;
    }

    std::error_code ignored;
    fs::remove_all(folder, ignored);
    fs::remove(output, ignored);
}

}  // namespace
