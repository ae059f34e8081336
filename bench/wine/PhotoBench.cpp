// Times Browse's road under Wine for large photographs: from the chosen
// file to the fitted picture shown in the own card's photo frame (reading
// the file, decoding, reducing, encoding as JPEG, loading and painting it).
// Also shows whether GDI+ honours the JPEG quality. Medians of 10.
#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <string>
#include <vector>

#include "bench/wine/Clock.h"
#include "dialogs/CardDialog.h"
#include "frame/CardService.h"
#include "picture/DecodedImage.h"
#include "picture/PhotoFit.h"
#include "picture/Picture.h"
#include "platform/File.h"
#include "platform/WinApp.h"
#include "resources/resource.h"
#include "support/Base64.h"
#include "tests/hosts/TestHost.h"

namespace {

std::string ReadFile(const std::string& path)
{
    return ReadFileStart(path.c_str(), UINT64_MAX).value_or("");
}

} // namespace

int main(int argc, char** argv)
{
    OleInitialize(nullptr);
    CWinApp::Instance().InitInstance();
    TestHost host;
    ServiceInterface* service = CreateService(&host);
    auto* dialog = new CardDialog(static_cast<CardService*>(service));
    dialog->Create();
    dialog->SetIdentity("u1", "d1", "User One");
    dialog->ShowSection(IdentificationFields{}, 0);
    dialog->ShowSection(PhotoFields{}, 0);
    dialog->EnableEditing(1);
    ShowWindow(dialog->GetSafeHwnd(), SW_SHOW);
    HWND frame = GetDlgItem(dialog->Identification().GetSafeHwnd(), IDC_PHOTO);
    RECT client = {};
    GetClientRect(frame, &client);

    std::printf("%-44s %10s %8s %10s\n", "chosen file to fitted photo shown (median of 10)", "ms", "bytes",
        "pixels");
    for (const char* name : {"photo-2400x1600.jpg", "photo-4000x3000.jpg"}) {
        std::string path = std::string(VCARD_PHOTOS) + "/" + name;
        std::vector<double> times;
        for (int round = 0; round < 10; ++round) {
            double start = Milliseconds();
            dialog->Identification().TakePicture(ReadFile(path));
            UpdateWindow(frame);
            times.push_back(Milliseconds() - start);
        }
        const CPicture* shown = dialog->Identification().Photo().GetPicture();
        std::printf("%-44s %10.1f %8zu %5dx%d\n", name, Median(times),
            Base64Decode(dialog->Identification().GetPhotoData()).size(), shown ? shown->GetWidth() : 0,
            shown ? shown->GetHeight() : 0);
    }
    std::printf("photo frame: %ldx%ld pixels\n", client.right, client.bottom);

    GdiplusLibrary gdiplus;
    std::string photo = ReadFile(std::string(VCARD_PHOTOS) + "/photo-4000x3000.jpg");
    std::vector<double> decode;
    for (int round = 0; round < 5; ++round) {
        double start = Milliseconds();
        DecodedImage image(gdiplus, photo.data(), photo.size());
        decode.push_back(Milliseconds() - start);
    }
    std::printf("of which decoding the 12-megapixel JPEG: %.1f ms\n", Median(decode));
    DecodedImage image(gdiplus, photo.data(), photo.size());
    auto pixels = image.Pixels({client.right, client.bottom * 3 / 4}, PhotoBackground);
    for (int quality : {90, 30})
        std::printf("JPEG of %ldx%ld at quality %d: %zu bytes\n", client.right, client.bottom * 3 / 4, quality,
            EncodeJpeg(gdiplus, pixels, client.right, client.bottom * 3 / 4, quality).size());

    // A picture named on the command line, the largest one accepted say:
    // the process's peak memory before and after fitting it.
    if (argc > 1) {
        PROCESS_MEMORY_COUNTERS before = {}, after = {};
        before.cb = after.cb = sizeof before;
        K32GetProcessMemoryInfo(GetCurrentProcess(), &before, sizeof before);
        std::string large = ReadFile(argv[1]);
        double start = Milliseconds();
        FittedPhoto fitted = FitPhoto(large, {client.right, client.bottom}, PhotoBackground, 8192);
        double took = Milliseconds() - start;
        K32GetProcessMemoryInfo(GetCurrentProcess(), &after, sizeof after);
        std::printf("%s (%zu bytes): outcome %d in %.0f ms; peak memory %zu MB before, %zu MB after\n", argv[1],
            large.size(), static_cast<int>(fitted.outcome), took, before.PeakPagefileUsage >> 20,
            after.PeakPagefileUsage >> 20);
    }

    DestroyWindow(dialog->GetSafeHwnd());
    service->DeletingDestructor(1);
    OleUninitialize();
    return 0;
}
