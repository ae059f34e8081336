// The development host's scripted session run as its own process, as
// `make demo` runs it, against a small directory.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "devhost/PngFile.h"
#include "devhost/server/CardRecord.h"

namespace fs = std::filesystem;

namespace {

std::string ReadFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::uint32_t Big32(const std::string& bytes, std::size_t at)
{
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i)
        value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
    return value;
}

struct Image {
    int width = 0, height = 0;
    std::vector<unsigned char> rgb;  // empty when the file is not what EncodePng writes
};

// Reads back a file of EncodePng: one IDAT of stored deflate blocks.
Image DecodePng(const std::string& bytes)
{
    Image image;
    if (bytes.size() < 45 || bytes.compare(0, 8, "\x89PNG\r\n\x1a\n") != 0 || bytes.compare(12, 4, "IHDR") != 0)
        return image;
    int width = static_cast<int>(Big32(bytes, 16)), height = static_cast<int>(Big32(bytes, 20));
    std::size_t idat = 33;
    if (bytes.compare(idat + 4, 4, "IDAT") != 0)
        return image;
    std::size_t at = idat + 8 + 2, end = idat + 8 + Big32(bytes, idat);
    std::string raw;
    for (bool last = false; !last && at + 5 <= end;) {
        last = bytes[at] & 1;
        std::size_t length = static_cast<unsigned char>(bytes[at + 1]) | static_cast<unsigned char>(bytes[at + 2]) << 8;
        raw.append(bytes, at + 5, length);
        at += 5 + length;
    }
    std::size_t stride = static_cast<std::size_t>(width) * 3;
    if (raw.size() != (stride + 1) * static_cast<std::size_t>(height))
        return image;
    image.width = width;
    image.height = height;
    for (int y = 0; y < height; ++y)
        image.rgb.insert(image.rgb.end(), raw.begin() + static_cast<long>((stride + 1) * y + 1),
            raw.begin() + static_cast<long>((stride + 1) * (y + 1)));
    return image;
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

// Runs devhost.exe with these arguments; its exit code, or -1.
int RunDevHost(const std::string& arguments)
{
    std::string command = "\"" + (BinFolder() / "devhost.exe").string() + "\" " + arguments;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, BinFolder().string().c_str(),
            &startup, &process))
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
            (path.extension() == ".png" || path.filename() == "transcript.txt");
        bool inside = false;
        for (const fs::path& place : allowed)
            inside = inside || path.string().rfind(place.string() + "\\", 0) == 0;
        EXPECT_TRUE(top || inside) << path;
    }
}

TEST(DevHostSession, ScriptedSessionWithTheHostileAnswersRunsToItsEndTwiceOverOneFolder)
{
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    fs::path folder = fs::path(temp) / ("devhost-session-" + std::to_string(GetCurrentProcessId()));
    fs::remove_all(folder);
    std::string arguments = "--script \"" + folder.string() + "\" --accounts 200";

    ASSERT_EQ(0, RunDevHost(arguments));
    std::string transcript = ReadFile(folder / "transcript.txt");
    ExpectEveryStepPassed(transcript);
    ExpectBothDirectionsAndTheHostCommands(transcript);
    ExpectPaintedScreenshots(folder);
    ExpectNoFileOutsideItsFolders(folder);

    // The second run finds the published card and does not regenerate the directory.
    EXPECT_EQ(0, RunDevHost(arguments));
    EXPECT_NE(std::string::npos, ReadFile(CardFilePath(folder / "data", "ana", "example.net")).find("Prieto"));
    std::size_t files = 0;
    for (const auto& entry : fs::recursive_directory_iterator(folder / "data"))
        files += entry.is_regular_file();
    EXPECT_EQ(201u, files);  // 200 generated and ana's own
    ExpectNoFileOutsideItsFolders(folder);

    std::error_code ignored;
    fs::remove_all(folder, ignored);
}

TEST(PngFile, SizesThatDoNotMatchGiveNoFileAndLargeImagesSpanSeveralBlocks)
{
    EXPECT_TRUE(EncodePng(2, 2, std::vector<unsigned char>(11)).empty());
    EXPECT_TRUE(EncodePng(0, 5, {}).empty());
    std::vector<unsigned char> rgb(300 * 200 * 3);
    for (std::size_t i = 0; i < rgb.size(); ++i)
        rgb[i] = static_cast<unsigned char>(i * 7);
    Image image = DecodePng(EncodePng(300, 200, rgb));  // 180,200 raw bytes: three stored blocks
    EXPECT_EQ(300, image.width);
    EXPECT_EQ(200, image.height);
    EXPECT_EQ(rgb, image.rgb);
}

}  // namespace
