// The development host's scripted session run as its own process, as
// `make demo` runs it, against a small directory.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include <wincodec.h>
#include <wrl/client.h>

#include "devhost/PngFile.h"
#include "devhost/server/CardRecord.h"

namespace fs = std::filesystem;
using Microsoft::WRL::ComPtr;

namespace {

std::string ReadFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

struct Image {
    int width = 0, height = 0;
    std::vector<unsigned char> rgb;  // empty when the system cannot decode the file
};

// Reads a PNG file back through the system's own decoder.
Image DecodePng(const std::string& bytes)
{
    Image image;
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
        return image;
    std::vector<unsigned char> pixels(static_cast<std::size_t>(width) * height * 3);
    if (FAILED(rgb->CopyPixels(nullptr, width * 3, static_cast<UINT>(pixels.size()), pixels.data())))
        return image;
    return {static_cast<int>(width), static_cast<int>(height), std::move(pixels)};
}

std::size_t DistinctColours(const Image& image)
{
    std::set<std::uint32_t> colours;
    for (std::size_t i = 0; i + 2 < image.rgb.size(); i += 3)
        colours.insert(image.rgb[i] << 16 | image.rgb[i + 1] << 8 | image.rgb[i + 2]);
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

// Checks of one finished session folder, one group of faults each.
void ExpectEveryStepPassed(const std::string& transcript)
{
    EXPECT_EQ(std::string::npos, transcript.find("FAILED"));
    EXPECT_NE(std::string::npos, transcript.find("== demo script ends"));
    EXPECT_NE(std::string::npos, transcript.find("step survives nesting-100000: ok"));
    EXPECT_NE(std::string::npos, transcript.find("step survives empty: ok"));
    EXPECT_NE(std::string::npos, transcript.find("step nothing written outside"));
}

void ExpectBothDirectionsAndTheHostCommands(const std::string& transcript)
{
    EXPECT_NE(std::string::npos, transcript.find("-> server [VCARD-PC]"));
    EXPECT_NE(std::string::npos, transcript.find("<- server [VCARD-PC]"));
    EXPECT_NE(std::string::npos, transcript.find("<msg>2"));  // the publish
    EXPECT_NE(std::string::npos, transcript.find("<msg>3"));  // search and results
    EXPECT_NE(std::string::npos, transcript.find("== host command 0"));
    EXPECT_NE(std::string::npos, transcript.find("== host command 19 "));
    EXPECT_NE(std::string::npos, transcript.find("hostile answer photo-1mb"));
}

void ExpectPaintedScreenshots(const fs::path& folder)
{
    std::size_t count = 0;
    for (const auto& entry : fs::directory_iterator(folder)) {
        if (entry.path().extension() != ".png")
            continue;
        ++count;
        Image image = DecodePng(ReadFile(entry.path()));
        ASSERT_FALSE(image.rgb.empty()) << entry.path();
        EXPECT_GE(image.width, 100) << entry.path();
        EXPECT_GE(image.height, 100) << entry.path();
        // A window that never painted, or one copied from under another, is one or two colours.
        EXPECT_GT(DistinctColours(image), 8u) << entry.path();
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
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    fs::path folder = fs::path(temp) / ("devhost-session-" + std::to_string(GetCurrentProcessId()));
    fs::remove_all(folder);
    std::string arguments = "--script \"" + folder.string() + "\" --accounts 200";

    fs::path output = fs::path(temp) / ("devhost-output-" + std::to_string(GetCurrentProcessId()) + ".txt");
    ASSERT_EQ(0, RunDevHost(arguments, output));
    // The lines a terminal shows, in UTF-8: the searched name has accents.
    std::string printed = ReadFile(output);
    EXPECT_NE(std::string::npos, printed.find("every step passed"));
    EXPECT_NE(0, MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, printed.data(), static_cast<int>(printed.size()),
                     nullptr, 0));
    EXPECT_TRUE(std::any_of(printed.begin(), printed.end(), [](char c) { return c & 0x80; }));
    std::string transcript = ReadFile(folder / "transcript.txt");
    ExpectEveryStepPassed(transcript);
    ExpectBothDirectionsAndTheHostCommands(transcript);
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

TEST(PngFile, SizesThatDoNotMatchGiveNoFileAndImagesReadBackAsTheyWereAndAWindowPacksSmall)
{
    CoInitialize(nullptr);
    EXPECT_TRUE(EncodePng(2, 2, std::vector<unsigned char>(11)).empty());
    EXPECT_TRUE(EncodePng(0, 5, {}).empty());
    // Noise, and a window: flat grey with a frame, a line of text-like dots.
    std::vector<unsigned char> noise(300 * 200 * 3), window(600 * 400 * 3, 0xF0);
    for (std::size_t i = 0; i < noise.size(); ++i)
        noise[i] = static_cast<unsigned char>((i * 2654435761u) >> 13);
    for (std::size_t i = 0; i < window.size(); i += 3) {
        std::size_t x = i / 3 % 600, y = i / 3 / 600;
        if (x < 2 || y < 2 || (y / 4 == 30 && x % 7 < 3))
            window[i] = window[i + 1] = window[i + 2] = static_cast<unsigned char>(x * y);
    }
    for (const auto& [width, rgb] : {std::pair{300, noise}, std::pair{600, window}}) {
        int height = static_cast<int>(rgb.size() / 3) / width;
        std::string png = EncodePng(width, height, rgb);
        Image image = DecodePng(png);
        EXPECT_EQ(width, image.width);
        EXPECT_EQ(height, image.height);
        EXPECT_TRUE(rgb == image.rgb);
        if (width == 600) {
            EXPECT_LT(png.size(), rgb.size() / 50);
        }
    }
    CoUninitialize();
}

}  // namespace
