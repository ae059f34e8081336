// The development host's scripted session run as its own process, as
// `make demo` runs it, against a small directory.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include <wincodec.h>
#include <wrl/client.h>

#include "devhost/WriteAudit.h"
#include "devhost/server/CardRecord.h"

namespace fs = std::filesystem;
using Microsoft::WRL::ComPtr;

namespace {

std::string ReadFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The colours of a PNG file read back through the system's own decoder; 0
// when it cannot decode the file.
std::size_t DecodedColours(const std::string& bytes)
{
    ComPtr<IWICImagingFactory> factory;
    ComPtr<IWICStream> stream;
    ComPtr<IWICBitmapDecoder> decoder;
    ComPtr<IWICBitmapFrameDecode> frame;
    ComPtr<IWICFormatConverter> rgb;
    UINT width = 0, height = 0;
    auto* data = reinterpret_cast<BYTE*>(const_cast<char*>(bytes.data()));
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&factory)))
        || FAILED(factory->CreateStream(&stream))
        || FAILED(stream->InitializeFromMemory(data, static_cast<DWORD>(bytes.size())))
        || FAILED(factory->CreateDecoderFromStream(stream.Get(), nullptr, WICDecodeMetadataCacheOnDemand, &decoder))
        || FAILED(decoder->GetFrame(0, &frame)) || FAILED(factory->CreateFormatConverter(&rgb))
        || FAILED(rgb->Initialize(frame.Get(), GUID_WICPixelFormat24bppRGB, WICBitmapDitherTypeNone, nullptr, 0,
            WICBitmapPaletteTypeCustom))
        || FAILED(rgb->GetSize(&width, &height)))
        return 0;
    std::vector<unsigned char> pixels(static_cast<std::size_t>(width) * height * 3);
    if (FAILED(rgb->CopyPixels(nullptr, width * 3, static_cast<UINT>(pixels.size()), pixels.data())))
        return 0;
    std::set<std::uint32_t> colours;
    for (std::size_t i = 0; i + 2 < pixels.size(); i += 3)
        colours.insert(pixels[i] << 16 | pixels[i + 1] << 8 | pixels[i + 2]);
    return colours.size();
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
// both directions and the host's commands.
void ExpectACompleteTranscript(const std::string& transcript)
{
    EXPECT_EQ(std::string::npos, transcript.find("FAILED"));
    for (const char* line : {"== demo script ends", "step survives nesting-100000: ok", "step survives empty: ok",
             "step nothing written outside", "-> server [VCARD-PC]", "<- server [VCARD-PC]", "<msg>2", "<msg>3",
             "== host command 0", "== host command 19 ", "hostile answer photo-1mb"})
        EXPECT_NE(std::string::npos, transcript.find(line)) << line;
}

void ExpectPaintedScreenshots(const fs::path& folder)
{
    std::size_t count = 0;
    for (const auto& entry : fs::directory_iterator(folder)) {
        if (entry.path().extension() == ".png") {
            ++count;
            // A window that never painted, or one copied from under another, is one or two colours.
            EXPECT_GT(DecodedColours(ReadFile(entry.path())), 8u) << entry.path();
        }
    }
    EXPECT_GE(count, 12u);
}

void ExpectNoFileOutsideItsFolders(const fs::path& folder)
{
    const fs::path allowed[] = {folder / "data", folder / "skin", folder / "host" / "programs" / "Quillora" / "vc"};
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        if (!entry.is_regular_file())
            continue;
        const fs::path& path = entry.path();
        bool top = path.parent_path() == folder &&
            (path.extension() == ".png" || path.extension() == ".vcf" || path.filename() == "transcript.txt");
        bool inside = false;
        for (const fs::path& place : allowed)
            inside = inside || path.string().rfind(place.string() + "\\", 0) == 0;
        EXPECT_TRUE(top || inside) << path;
    }
}

TEST(DevHostSession, ScriptedSessionWithTheHostileAnswersRunsToItsEndTwiceOverOneFolder)
{
    CoInitialize(nullptr);
    fs::path folder = fs::temp_directory_path() / ("devhost-session-" + std::to_string(GetCurrentProcessId()));
    fs::path output = folder.string() + "-output.txt";
    fs::remove_all(folder);
    std::string arguments = "--script \"" + folder.string() + "\" --accounts 200";
    ASSERT_EQ(0, RunDevHost(arguments, output));
    // The lines a terminal shows, in UTF-8: the searched name has accents.
    std::string printed = ReadFile(output);
    EXPECT_NE(std::string::npos, printed.find("every step passed"));
    EXPECT_NE(0, MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, printed.data(), static_cast<int>(printed.size()),
                     nullptr, 0));
    EXPECT_TRUE(std::any_of(printed.begin(), printed.end(), [](char c) { return c & 0x80; }));
    std::string transcript = ReadFile(folder / "transcript.txt");
    ExpectACompleteTranscript(transcript);
    ExpectPaintedScreenshots(folder);
    ExpectNoFileOutsideItsFolders(folder);

    // The second run finds the published card and does not regenerate the directory.
    EXPECT_EQ(0, RunDevHost(arguments, output));
    EXPECT_NE(std::string::npos, ReadFile(CardFilePath(folder / "data", "ana", "example.net")).find("Prieto"));
    std::size_t files = 0;
    for (const auto& entry : fs::recursive_directory_iterator(folder / "data"))
        files += entry.is_regular_file();
    EXPECT_EQ(201u, files);  // 200 generated and ana's own
    ExpectNoFileOutsideItsFolders(folder);

    std::error_code ignored;
    fs::remove_all(folder, ignored);
    fs::remove(output, ignored);
}

// The audit behind the session's "nothing written outside" step.
TEST(WriteAudit, ReportsWhatChangedOutsideTheAllowedPlaces)
{
    fs::path folder = fs::temp_directory_path() / ("devhost-audit-" + std::to_string(GetCurrentProcessId()));
    fs::create_directories(folder / "app" / "vc");
    auto write = [&folder](const char* file, const char* text) { std::ofstream(folder / file) << text; };
    const std::string key = "Software\\VcardDevHostAuditTest";
    RegDeleteTreeA(HKEY_CURRENT_USER, key.c_str());
    RegSetKeyValueA(HKEY_CURRENT_USER, key.c_str(), "v", REG_SZ, "1", 2);
    write("kept", "one");
    write("gone", "one");
    WriteAudit audit;
    audit.WatchFolder(folder, true);
    audit.WatchKey(HKEY_CURRENT_USER, "HKCU", key);
    audit.Allow((folder / "app" / "vc").string());
    audit.Before();
    write("app/vc/photo", "allowed");
    EXPECT_TRUE(audit.Violations().empty());

    write("app/vcx", "beside the allowed folder, not in it");
    write("kept", "changed size");
    fs::remove(folder / "gone");
    RegSetKeyValueA(HKEY_CURRENT_USER, key.c_str(), "v", REG_SZ, "2", 2);
    RegSetKeyValueA(HKEY_CURRENT_USER, (key + "\\New").c_str(), "n", REG_SZ, "1", 2);
    std::string all;
    for (const std::string& line : audit.Violations())
        all += line + "\n";
    for (const char* found : {"added ", "vcx\n", "kept\n", "removed ", "gone\n", "audittest\\v=", "audittest\\new\\\n"})
        EXPECT_NE(std::string::npos, all.find(found)) << found << " in\n" << all;
    EXPECT_EQ(6, std::count(all.begin(), all.end(), '\n')) << all;  // and the new key's value
    RegDeleteTreeA(HKEY_CURRENT_USER, key.c_str());
    fs::remove_all(folder);
}

}  // namespace
