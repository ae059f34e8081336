// Times the search dialog taking a large answer under Wine: AddResult for
// every result into the shown list, then the time until the list has
// painted the rows and answers a message posted after them.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "dialogs/SearchDialog.h"
#include "frame/CardService.h"
#include "platform/WinApp.h"
#include "tests/hosts/TestHost.h"

namespace {

constexpr UINT Marker = WM_APP + 1;

double Seconds()
{
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Dispatches until the marker posted to window comes back.
void RoundTrip(HWND window)
{
    PostMessageA(window, Marker, 0, 0);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0)) {
        if (msg.hwnd == window && msg.message == Marker)
            return;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

struct Figures {
    double add, responsive;
};

Figures Answer(SearchDialog& dialog, int results)
{
    std::vector<std::string> users(static_cast<size_t>(results));
    for (int i = 0; i < results; ++i)
        users[static_cast<size_t>(i)] = "user" + std::to_string(i);
    dialog.SearchFinished();
    double start = Seconds();
    for (const std::string& user : users)
        dialog.AddResult(user, "mail.example.org", "Given Family " + user, user + "@mail.example.org", "Company",
            "City", "State", "Country");
    double added = Seconds();
    // The posted messages of the answer, then the paint of what they invalidated.
    RoundTrip(dialog.GetSafeHwnd());
    RedrawWindow(dialog.GetSafeHwnd(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    RoundTrip(dialog.GetSafeHwnd());
    return {added - start, Seconds() - added};
}

} // namespace

int main()
{
    CWinApp::Instance().InitInstance();
    TestHost host;
    auto* service = static_cast<CardService*>(CreateService(&host));
    auto* dialog = new SearchDialog(service);
    if (!dialog->Create())
        return 1;
    dialog->SetTitleName("Quillora");
    dialog->ShowWindow(SW_SHOW);
    RoundTrip(dialog->GetSafeHwnd());

    std::printf("%8s %14s %14s %18s %10s\n", "results", "AddResult ms", "per row us", "responsive ms", "goal ms");
    std::fflush(stdout);
    for (int results : {1000, 10000}) {
        std::vector<Figures> runs;
        for (int run = 0; run < 3; ++run)
            runs.push_back(Answer(*dialog, results));
        std::sort(runs.begin(), runs.end(), [](const Figures& a, const Figures& b) { return a.add < b.add; });
        const Figures& median = runs[runs.size() / 2];
        std::printf("%8d %14.1f %14.2f %18.1f %10s\n", results, median.add * 1e3, median.add * 1e6 / results,
            median.responsive * 1e3, results == 10000 ? "150" : "");
        std::fflush(stdout);
    }
    dialog->DestroyWindow();
    service->DeletingDestructor(1);
    return 0;
}
