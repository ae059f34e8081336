#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <memory>
#include <string>
#include <stdexcept>
#include <vector>

#include "platform/File.h"
#include "platform/ModalScope.h"
#include "platform/RedrawFreeze.h"
#include "platform/Static.h"
#include "tests/controls/TestWindows.h"

namespace {

// A static control that records what reaches its handlers; timer 0 throws,
// timer 1 destroys its parent.
class ProbeStatic : public CStatic {
public:
    std::vector<UINT> reflected;
    std::vector<UINT_PTR> timers;
    LRESULT notifyAnswer = 0;
    bool ended = false;

protected:
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override
    {
        reflected.push_back(message);
        if (message == WM_NOTIFY && notifyAnswer) {
            *result = notifyAnswer;
            return TRUE;
        }
        return CStatic::OnChildNotify(message, wParam, lParam, result);
    }
    LRESULT OnTimer(UINT_PTR id) override
    {
        if (id == 0)
            throw std::runtime_error("handler failed");
        if (id == 1)
            return ::DestroyWindow(GetParent());
        timers.push_back(id);
        return 0;
    }
    void PostNcDestroy() override { ended = true; }
};

class WndTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dialog.Create(nullptr));
        ASSERT_TRUE(probe.Create("probe", WS_CHILD | WS_VISIBLE | SS_NOTIFY, RECT{0, 0, 50, 20}, dialog.GetSafeHwnd(), 900));
        ASSERT_TRUE(holder.Create("holder", WS_CHILD, RECT{0, 30, 50, 50}, dialog.GetSafeHwnd(), 901));
        ASSERT_TRUE(grandchild.Create("grandchild", WS_CHILD, RECT{0, 0, 50, 20}, holder.GetSafeHwnd(), 902));
    }
    void TearDown() override { dialog.DestroyWindow(); }

    CDialog dialog{IDD_SEARCH};
    ProbeStatic probe;
    CStatic holder;
    ProbeStatic grandchild;
};

TEST_F(WndTest, HandlersReceiveTheirMessagesAndTheDialogManagerItsKeys)
{
    MSG tab = {dialog.GetDlgItem(IDC_NAME), WM_KEYDOWN, VK_TAB, 0, 0, {}};
    EXPECT_TRUE(dialog.PreTranslateMessage(&tab));
    EXPECT_FALSE(CWnd().PreTranslateMessage(&tab));

    probe.SendMessage(WM_TIMER, 5);
    EXPECT_EQ(std::vector<UINT_PTR>{5}, probe.timers);
}

// The exception stops at the boundary, and the window goes on as before:
// later messages reach their handlers and the default handling, and its end
// still comes.
TEST_F(WndTest, AHandlerThatThrowsLeavesItsWindowWorking)
{
    for (int round = 0; round < 3; ++round) {
        EXPECT_EQ(0, probe.SendMessage(WM_TIMER, 0));
        probe.SetWindowText("after " + std::to_string(round));
        EXPECT_EQ("after " + std::to_string(round), probe.GetWindowText());
    }
    probe.SendMessage(WM_TIMER, 5);
    EXPECT_EQ(std::vector<UINT_PTR>{5}, probe.timers);
    probe.DestroyWindow();
    EXPECT_TRUE(probe.ended);
    EXPECT_EQ(nullptr, probe.GetSafeHwnd());
}

// A window reflects to the objects of its own children only: what reaches
// it naming a grandchild is not the grandchild's to answer.
TEST_F(WndTest, ReflectionReachesOnlyTheObjectOfADirectChild)
{
    probe.notifyAnswer = 42;
    grandchild.notifyAnswer = 43;
    std::vector<LRESULT> answers;
    for (ProbeStatic* child : {&probe, &grandchild}) {
        HWND from = child->GetSafeHwnd();
        UINT id = static_cast<UINT>(child->GetDlgCtrlID());
        NMHDR header = {from, id, NM_CLICK};
        ClientDC dc(from);
        answers.push_back(dialog.SendMessage(WM_NOTIFY, id, reinterpret_cast<LPARAM>(&header)));
        dialog.SendMessage(WM_COMMAND, MAKEWPARAM(id, STN_CLICKED), reinterpret_cast<LPARAM>(from));
        dialog.SendMessage(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(static_cast<HDC>(dc)), reinterpret_cast<LPARAM>(from));
    }
    EXPECT_EQ((std::vector<LRESULT>{42, 0}), answers);
    EXPECT_EQ((std::vector<UINT>{WM_NOTIFY, WM_COMMAND, WM_CTLCOLORSTATIC}), probe.reflected);
    EXPECT_EQ(std::vector<UINT>{}, grandchild.reflected);
}

WNDPROC procedureBelowCounter = nullptr;
int counted = 0;

LRESULT CALLBACK CountingProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    ++counted;
    return CallWindowProcA(procedureBelowCounter, window, message, wParam, lParam);
}

// An object that goes before its window hands the window back working: its
// own procedure again, or, under a procedure set later over this one, a
// chain that still reaches the control's own.
TEST_F(WndTest, AnObjectThatGoesFirstLeavesItsWindowWorking)
{
    for (bool setOver : {false, true}) {
        auto object = std::make_unique<ProbeStatic>();
        ASSERT_TRUE(object->Create("first", WS_CHILD, RECT{0, 0, 50, 20}, dialog.GetSafeHwnd(), 904));
        HWND window = object->GetSafeHwnd();
        if (setOver)
            procedureBelowCounter = reinterpret_cast<WNDPROC>(
                SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(CountingProcedure)));
        counted = 0;
        object.reset();
        SetWindowTextA(window, "second");
        char text[16] = {};
        GetWindowTextA(window, text, sizeof text);
        EXPECT_STREQ("second", text) << setOver;
        EXPECT_EQ(DLGC_STATIC, SendMessageA(window, WM_GETDLGCODE, 0, 0) & DLGC_STATIC) << setOver;
        EXPECT_EQ(setOver ? 3 : 0, counted);
        ProbeStatic again;
        EXPECT_EQ(!setOver, again.SubclassWindow(window) != FALSE) << setOver;
        again.SendMessage(WM_TIMER, 7);
        EXPECT_EQ(setOver ? std::vector<UINT_PTR>{} : std::vector<UINT_PTR>{7}, again.timers);
        EXPECT_TRUE(::DestroyWindow(window));
        EXPECT_EQ(nullptr, again.GetSafeHwnd());
    }
}

// Self-deleting window objects live in storage of their own, poisoned when
// they are deleted, so that a write after the delete shows.
alignas(16) unsigned char storage[4096];


// Destroys its window in OnOK, then writes to itself: was that before its end?
class SelfClosingDialog : public CDialog {
public:
    SelfClosingDialog() : CDialog(IDD_SEARCH) {}
    static void* operator new(size_t size)
    {
        EXPECT_LE(size, sizeof storage);
        return storage;
    }
    static void operator delete(void*) { std::fill(std::begin(storage), std::end(storage), 0xA5); }

    static inline bool handlerFinishedFirst = false;
    ProbeStatic child;

protected:
    void OnOK() override
    {
        DestroyWindow();
        handlerFinished = true;
    }
    void PostNcDestroy() override
    {
        handlerFinishedFirst = handlerFinished;
        delete this;
    }

private:
    bool handlerFinished = false;
};

TEST(WindowObjects, AnObjectWhoseWindowEndsInsideAMessageIsDeletedWhenThatMessageReturns)
{
    auto poisoned = [] {
        return std::all_of(std::begin(storage), std::end(storage), [](unsigned char byte) { return byte == 0xA5; });
    };
    auto* dialog = new SelfClosingDialog;
    ASSERT_TRUE(dialog->Create(nullptr));
    SendMessageA(dialog->GetSafeHwnd(), WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(SelfClosingDialog::handlerFinishedFirst);
    EXPECT_TRUE(poisoned());
    // A child deleted with its parent during its own message is not written afterwards.
    dialog = new SelfClosingDialog;
    ASSERT_TRUE(dialog->Create(nullptr));
    ASSERT_TRUE(dialog->child.Create("", WS_CHILD, RECT{0, 0, 5, 5}, dialog->GetSafeHwnd(), 903));
    dialog->child.SendMessage(WM_TIMER, 1);
    EXPECT_TRUE(poisoned());
}

// A frozen window draws again as it was: a hidden one stays hidden, a shown
// one is repainted whole.
TEST_F(WndTest, AFrozenWindowComesBackAsItWas)
{
    dialog.ShowWindow(SW_SHOW);
    UpdateWindow(dialog.GetSafeHwnd());
    { RedrawFreeze hidden(holder.GetSafeHwnd()); }
    EXPECT_FALSE(holder.GetStyle() & WS_VISIBLE);
    {
        RedrawFreeze shown(probe.GetSafeHwnd());
        EXPECT_FALSE(probe.IsWindowVisible());
    }
    EXPECT_TRUE(probe.IsWindowVisible());
    EXPECT_TRUE(GetUpdateRect(probe.GetSafeHwnd(), nullptr, FALSE));
}

// Modal windows for two cards at once: the module stays modal until the last
// one ends, a window made meanwhile starts disabled, and only what the
// module disabled comes back.
TEST(ModalState, OneDepthForTheWholeModule)
{
    CDialog first{IDD_SEARCH}, second{IDD_SEARCH}, disabledBefore{IDD_SEARCH}, late{IDD_SEARCH};
    for (CDialog* dialog : {&first, &second, &disabledBefore})
        ASSERT_TRUE(dialog->Create(nullptr));
    disabledBefore.EnableWindow(FALSE);
    auto enabled = [&] {
        std::string states;
        for (CDialog* dialog : {&first, &second, &disabledBefore, &late})
            states += dialog->GetSafeHwnd() && dialog->IsWindowEnabled() ? 'e' : '-';
        return states;
    };
    auto forFirst = std::make_unique<ModalScope>(first.GetSafeHwnd());
    EXPECT_EQ("e---", enabled());
    auto forSecond = std::make_unique<ModalScope>(second.GetSafeHwnd());
    ASSERT_TRUE(late.Create(nullptr));
    EXPECT_TRUE(ModalScope::Active());
    forFirst.reset();
    EXPECT_EQ("----", enabled());
    forSecond.reset();
    EXPECT_FALSE(ModalScope::Active());
    EXPECT_EQ("ee-e", enabled());
    for (CDialog* dialog : {&first, &second, &disabledBefore, &late})
        dialog->DestroyWindow();
}

// Devices such as NUL or the console never open as files.
TEST(File, OpensOnlyFilesOnDisk)
{
    CFile file;
    EXPECT_FALSE(file.OpenForReading("NUL"));
    EXPECT_FALSE(file.OpenForWriting("CONOUT$"));
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, sizeof self);
    ASSERT_TRUE(file.OpenForReading(self));
    EXPECT_GT(file.GetLength().value_or(0), 0u);
}

// A file is read whole within the limit, else up to it, and written anew.
TEST(File, ReadsUpToALimitAndWritesWhole)
{
    char folder[MAX_PATH] = {};
    GetTempPathA(sizeof folder, folder);
    std::string path = std::string(folder) + "file-start.bin";
    ASSERT_TRUE(WriteWholeFile(path.c_str(), "0123456789"));
    for (auto [limit, bytes, longer] : {std::tuple{10, "0123456789", false}, {4, "0123", true}, {0, "", true}}) {
        bool more = !longer;
        EXPECT_EQ(bytes, ReadFileStart(path.c_str(), limit, &more));
        EXPECT_EQ(longer, more) << limit;
    }
    EXPECT_FALSE(ReadFileStart("NUL", 10) || ReadFileStart("Z:\\no\\such file", 10));
    EXPECT_FALSE(WriteWholeFile("CONOUT$", "ab"));
    DeleteFileA(path.c_str());
}

} // namespace
