// The card service as the host drives it: through its operation table and
// the controls of its windows, as a real host and user do.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <windows.h>
#include <commdlg.h>

#include <array>
#include <cstring>
#include <filesystem>
#include <new>
#include <utility>

#include "dialogs/AnswerTimeLimit.h"
#include "dialogs/CardDialog.h"
#include "frame/CardService.h"
#include "frame/HostSettings.h"
#include "resources/resource.h"
#include "support/Xml.h"
#include "tests/controls/TestWindows.h"
#include "tests/hosts/DebugOutput.h"
#include "tests/hosts/ImportPatch.h"
#include "tests/dialogs/PumpUntil.h"
#include "tests/hosts/TestHost.h"

using testing::ElementsAre;
using testing::HasSubstr;
using testing::Not;

namespace {

std::string Person(const std::string& user, const std::string& domain, const std::string& sections,
                   const std::string& text = "1")
{
    return "<ps>" + text + "<usr>" + user + "</usr><dom>" + domain + "</dom>" + sections + "</ps>";
}

std::string Answer(const std::string& persons)
{
    return "<msg>1" + persons + "</msg>";
}

const std::string Identification201 =
    "<typ>1<err>201</err><f>Ana</f><l>Ruiz</l><m>M</m><p>Dr</p><fn>Annie</fn><nk>an</nk>"
    "<e0></e0><e1>ana@d1.org</e1><e10>lost@d1.org</e10><c>0</c><ver>4</ver></typ>";
const std::string Home201 =
    "<typ>2<err>201</err><a>Main 1</a><ci>Lyon</ci><w>ABC</w><c>1</c><ver>5</ver></typ>";
const std::string Business201 =
    "<typ>3<err>201</err><cp>Acme &amp; Co</cp><j>Dev</j><w>HTTP://Acme</w><c>0</c><ver>6</ver></typ>";
// A 2 by 2 24-bit BMP, in Base64.
const std::string Photo201 =
    "<typ>4<err>201</err><ph>Qk1GAAAAAAAAADYAAAAoAAAAAgAAAAIAAAABABgAAAAAABAAAAATCwAAEwsAAAAAAAAAAAAA/wAAAP8AAAAA/wD/"
    "AAAAAA==</ph><c>1</c><ver>7</ver></typ>";

using Block = std::array<char, 600>;

Block Filled()
{
    Block block;
    block.fill('\xAA');
    return block;
}

uint32_t DwordAt(const Block& block, size_t offset)
{
    uint32_t value;
    std::memcpy(&value, block.data() + offset, 4);
    return value;
}

class CardServiceTest : public testing::Test {
protected:
    void SetUp() override
    {
        char temp[MAX_PATH];
        GetTempPathA(sizeof temp, temp);
        appPath = std::string(temp) + "vcard-road-test";
        CreateDirectoryA(appPath.c_str(), nullptr);
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, HostSettingsKey);
        RegSetKeyValueA(HKEY_LOCAL_MACHINE, HostSettingsKey, "AppPath", REG_SZ, appPath.c_str(),
            static_cast<DWORD>(appPath.size() + 1));

        service = CreateService(&host);
        card = static_cast<CardService*>(service);
        service->Start();
        service->Login(&user);
    }
    void TearDown() override
    {
        AnswerTimeLimit = 15000;
        if (service)
            service->DeletingDestructor(1);
        EXPECT_THAT(DebugOutput::Lines(), testing::IsEmpty()) << "a failure was swallowed on the road";
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, HostSettingsKey);
        std::filesystem::remove_all(appPath);
    }

    void Deliver(const std::string& xml) { service->DeliverMessage(0, "VCARD-PC", xml.c_str()); }
    void OpenOwnCard() { card->OpenOwnCard(); }

    static std::string Text(CWnd& page, int id) { return ::Text(GetDlgItem(page.GetSafeHwnd(), id)); }
    static void Retype(CWnd& page, int id, const std::string& text)
    {
        SendDlgItemMessageA(page.GetSafeHwnd(), id, EM_SETSEL, 0, -1);
        Type(GetDlgItem(page.GetSafeHwnd(), id), text);
    }
    static void Click(CWnd& window, int id) { ::Click(GetDlgItem(window.GetSafeHwnd(), id)); }
    // The user types a new nickname and presses OK.
    static void RenameAndPressOk(CardDialog& dialog)
    {
        Retype(dialog.Identification(), IDC_NICKNAME, "nana");
        Click(dialog, IDOK);
        Pump();
    }

    // The messages queued now, as the host's loop takes them: each offered
    // to the service first (event 15), the rest translated and dispatched.
    void HostLoop()
    {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (service->HandleEvent(15, reinterpret_cast<LPARAM>(&msg)) == 0) {
                TranslateMessage(&msg);
                DispatchMessageA(&msg);
            }
        }
    }

    // A key pressed and released on the focused window while the modifiers
    // are held, through the input queue as a person's keys come.
    void Press(WORD key, std::initializer_list<WORD> held = {})
    {
        for (WORD modifier : held)
            SendKey(modifier, 0);
        SendKey(key, 0);
        SendKey(key, KEYEVENTF_KEYUP);
        HostLoop();
        for (WORD modifier : held)
            SendKey(modifier, KEYEVENTF_KEYUP);
        HostLoop();
    }
    static void SendKey(WORD key, DWORD flags)
    {
        INPUT input = {};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = key;
        input.ki.wScan = static_cast<WORD>(MapVirtualKeyA(key, MAPVK_VK_TO_VSC));
        input.ki.dwFlags = flags;
        SendInput(1, &input, sizeof input);
    }
    static int FocusId() { return GetDlgCtrlID(GetFocus()); }

    DebugOutput debugOutput;
    std::string appPath;
    TestHost host;
    TestUser user{"u1", "d1", "User One"};
    ServiceInterface* service = nullptr;
    CardService* card = nullptr;
};

TEST_F(CardServiceTest, OwnCardOpensFillsFromTheAnswerIsCachedAndLoadsFromTheCacheNextTime)
{
    OpenOwnCard();
    ASSERT_EQ(host.sent.size(), 1u);
    EXPECT_EQ(host.sent[0].name, "VCARD-PC");
    EXPECT_THAT(host.sent[0].xml, HasSubstr("<dom>d1</dom>\n<typ>1\n<ver>-1</ver>\n</typ>\n<typ>2\n<ver>-1"));
    CardDialog* dialog = card->FindCardDialog("u1", "d1");
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(IsWindowVisible(dialog->GetSafeHwnd()));
    EXPECT_EQ(dialog->Directory(), nullptr);

    Deliver(Answer(Person("u1", "d1", Identification201 + Home201 + Business201 + Photo201)));

    IdentificationPage& identification = dialog->Identification();
    EXPECT_EQ(Text(identification, IDC_FIRST), "Ana");
    EXPECT_EQ(Text(identification, IDC_LAST), "Ruiz");
    EXPECT_EQ(Text(identification, IDC_NICKNAME), "an");
    EXPECT_EQ(SendDlgItemMessageA(identification.GetSafeHwnd(), IDC_ADDRESSES, LVM_GETITEMCOUNT, 0, 0), 1);
    EXPECT_EQ(Text(dialog->Home(), IDC_STREET), "Main 1");
    EXPECT_EQ(Text(dialog->Home(), IDC_WEB), "http://abc");
    EXPECT_EQ(Text(dialog->Business(), IDC_COMPANY), "Acme & Co");
    EXPECT_EQ(Text(dialog->Business(), IDC_WEB), "HTTP://Acme");
    ASSERT_NE(dialog->Directory(), nullptr);  // the own card became the editor
    EXPECT_FALSE(dialog->Directory()->IsPublished(HomeSection));
    EXPECT_FALSE(dialog->Directory()->IsPublished(PhotoSection));
    EXPECT_TRUE(dialog->Directory()->IsPublished(IdentificationSection));

    CardCache& cache = card->Cache();
    EXPECT_EQ(cache.GetCachedVersion("u1", "d1", 1), 4);
    EXPECT_EQ(cache.GetCachedVersion("u1", "d1", 2), 5);
    EXPECT_EQ(cache.GetCachedVersion("u1", "d1", 3), 6);
    EXPECT_EQ(cache.GetCachedVersion("u1", "d1", 4), 7);

    // Filling is no change: OK publishes nothing and closes the dialog.
    Click(*dialog, IDOK);
    Pump();
    ASSERT_EQ(card->CardDialogCount(), 0);

    // The second open sends the cached versions and loads from the cache.
    OpenOwnCard();
    ASSERT_EQ(host.sent.size(), 2u);
    EXPECT_THAT(host.sent[1].xml, HasSubstr("<typ>1\n<ver>4</ver>\n</typ>\n<typ>2\n<ver>5</ver>\n</typ>\n"
                                            "<typ>3\n<ver>6</ver>\n</typ>\n<typ>4\n<ver>7</ver>\n</typ>"));
    Deliver(Answer(Person("u1", "d1",
                          "<typ>1<err>200</err></typ><typ>2<err>200</err></typ><typ>3<err>200</err></typ>"
                          "<typ>4<err>200</err><c>0</c></typ>")));
    dialog = card->FindCardDialog("u1", "d1");
    EXPECT_EQ(Text(dialog->Identification(), IDC_FIRST), "Ana");
    EXPECT_EQ(Text(dialog->Home(), IDC_CITY), "Lyon");
    EXPECT_EQ(Text(dialog->Business(), IDC_JOB), "Dev");
    EXPECT_TRUE(dialog->Directory()->IsPublished(PhotoSection));  // the 200 answer's flag was cached first
}

TEST_F(CardServiceTest, AnOpenCardIsRaisedNotReopenedAndLogoutClosesEveryCard)
{
    OpenOwnCard();
    OpenOwnCard();
    EXPECT_EQ(host.sent.size(), 1u);
    EXPECT_EQ(card->CardDialogCount(), 1);

    TestContact contact("c1", "d1", "Contact One");
    service->ContactCommand("VCARD-PC", &contact);
    service->ContactCommand("VCARD-PC", &contact);
    EXPECT_EQ(host.sent.size(), 2u);
    EXPECT_EQ(card->CardDialogCount(), 2);
    EXPECT_EQ(card->FindCardDialog("c1", "d1")->GetDisplayName(), "Contact One");

    TestContact noService("c2", "d1", "No");
    noService.services.offered = "OTHER";
    service->ContactCommand("VCARD-PC", &noService);
    EXPECT_EQ(host.sent.size(), 2u);

    HWND own = card->FindCardDialog("u1", "d1")->GetSafeHwnd();
    HWND other = card->FindCardDialog("c1", "d1")->GetSafeHwnd();
    service->Logout();
    EXPECT_FALSE(IsWindow(own) || IsWindow(other));
    EXPECT_EQ(card->CardDialogCount(), 0);
}

// In either language every text is written: the dialog's own, its tabs'
// and its pages'.
TEST_F(CardServiceTest, ACardOpensInTheServicesLanguage)
{
    TestContact contact("c1", "d1", "Contact One");
    for (int language : {0, 1}) {
        service->SetLanguage(language);
        service->ContactCommand("VCARD-PC", &contact);
        CardDialog* dialog = card->FindCardDialog("c1", "d1");
        EXPECT_EQ(::Text(GetDlgItem(dialog->GetSafeHwnd(), IDCANCEL)), language ? "Close" : "Cerrar");
        EXPECT_EQ(Text(dialog->Identification(), IDC_FIRST_LABEL), language ? "&Firstname" : "&Nombre");
        EXPECT_EQ(Text(dialog->Home(), IDC_ZIP_LABEL), language ? "&Zip code" : "Po&stal");
        dialog->DestroyWindow();
    }
}

TEST_F(CardServiceTest, AnswerWalksPersonsAndSectionsAsTheyCome)
{
    TestContact contact("c1", "d1", "Contact One");
    service->ContactCommand("VCARD-PC", &contact);
    CardDialog* dialog = card->FindCardDialog("c1", "d1");
    Deliver(Answer(Person("closed", "d1", Home201) +
                   Person("c1", "d1", "<typ>5<err>201</err></typ><typ>2<err>999</err><a>x</a><ver>9</ver></typ>" +
                                          Photo201 + Identification201, "0") +
                   Person("c1", "d1", Business201, "")));
    EXPECT_EQ(Text(dialog->Identification(), IDC_FIRST), "Ana");
    EXPECT_THAT(Text(dialog->Home(), IDC_WAITING), HasSubstr("Error"));  // an error status shows, is not cached
    EXPECT_EQ(card->Cache().GetCachedVersion("c1", "d1", HomeSection), -1);
    EXPECT_EQ(Text(dialog->Business(), IDC_COMPANY), "");  // after the empty person the walk ended
    EXPECT_EQ(dialog->Directory(), nullptr);               // another account never becomes an editor
    EXPECT_EQ(card->Cache().GetCachedVersion("closed", "d1", HomeSection), -1);
    EXPECT_EQ(card->Cache().GetCachedVersion("c1", "d1", IdentificationSection), 4);
    EXPECT_EQ(card->Cache().GetCachedVersion("c1", "d1", BusinessSection), -1);
}

// The photo comes first and the other sections in a later message: the
// boxes follow the flags as they arrive, so a hidden section stays hidden.
TEST_F(CardServiceTest, FlagsArrivingAfterTheEditorSetTheBoxesThatOkPublishes)
{
    OpenOwnCard();
    CardDialog* dialog = card->FindCardDialog("u1", "d1");
    Deliver(Answer(Person("u1", "d1", Photo201)));
    ASSERT_NE(dialog->Directory(), nullptr);
    std::string hiddenIdentification = Identification201;
    hiddenIdentification.replace(hiddenIdentification.find("<c>0"), 4, "<c>1");
    Deliver(Answer(Person("u1", "d1", hiddenIdentification + Home201)));
    HWND first = GetDlgItem(dialog->Identification().GetSafeHwnd(), IDC_FIRST);
    EXPECT_FALSE(GetWindowLongA(first, GWL_STYLE) & ES_READONLY);
    EXPECT_EQ(Text(dialog->Identification(), IDC_FIRST), "Ana");
    EXPECT_FALSE(dialog->Directory()->IsPublished(IdentificationSection));
    EXPECT_FALSE(dialog->Directory()->IsPublished(HomeSection));

    RenameAndPressOk(*dialog);
    ASSERT_EQ(host.sent.size(), 2u);
    EXPECT_THAT(host.sent[1].xml, HasSubstr("<nk>nana</nk>\n<e0>ana@d1.org</e0>\n<c>1</c>"));
}

TEST_F(CardServiceTest, PublishSendsEachChangedSectionInItsOrder)
{
    OpenOwnCard();
    Deliver(Answer(Person("u1", "d1", Identification201 + Home201 + Business201 + Photo201)));
    CardDialog* dialog = card->FindCardDialog("u1", "d1");
    ASSERT_NE(dialog->Directory(), nullptr);
    Retype(dialog->Business(), IDC_COMPANY, "Initech");
    Click(*dialog->Directory(), IDC_PUBLISH_PHOTO);  // the photo box: now published
    Click(dialog->Identification(), IDC_REMOVE_PHOTO);
    RenameAndPressOk(*dialog);

    ASSERT_EQ(host.sent.size(), 5u);
    EXPECT_THAT(host.sent[1].xml, HasSubstr("<msg>2\n<typ>1\n"));
    EXPECT_THAT(host.sent[1].xml, HasSubstr("<nk>nana</nk>\n<e0>ana@d1.org</e0>\n<c>0</c>\n<ver>5</ver>"));
    EXPECT_EQ(host.sent[2].xml, "<msg>2\n<typ>4\n<c>0</c>\n</typ>\n</msg>\n");
    EXPECT_EQ(host.sent[3].xml, "<msg>2\n<typ>4\n<ph></ph>\n<c>0</c>\n<ver>8</ver>\n</typ>\n</msg>\n");
    EXPECT_THAT(host.sent[4].xml, HasSubstr("<msg>2\n<typ>3\n<cp>Initech</cp>\n"));
    EXPECT_THAT(host.sent[4].xml, HasSubstr("<c>0</c>\n<ver>7</ver>"));
    CardCache& cache = card->Cache();
    EXPECT_EQ(cache.GetCachedVersion("u1", "d1", IdentificationSection), 5);
    EXPECT_EQ(cache.GetCachedVersion("u1", "d1", HomeSection), 5);  // unchanged, not sent
    EXPECT_EQ(cache.GetCachedVersion("u1", "d1", BusinessSection), 7);
    EXPECT_EQ(cache.GetCachedVersion("u1", "d1", PhotoSection), 8);
    EXPECT_EQ(card->CardDialogCount(), 0);
}

// The answer comes in parts: photo and identification, Home failed, Business
// never. Unpublishing the identification publishes only what was shown.
TEST_F(CardServiceTest, ASectionNeverShownIsNeverPublished)
{
    OpenOwnCard();
    CardDialog* dialog = card->FindCardDialog("u1", "d1");
    std::string publishedPhoto = Photo201;
    publishedPhoto.replace(publishedPhoto.find("<c>1"), 4, "<c>0");
    Deliver(Answer(Person("u1", "d1", publishedPhoto + Identification201 + "<typ>2<err>500</err></typ>")));
    Click(*dialog->Directory(), IDC_PUBLISH_IDENTIFICATION);
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog->Directory()->GetSafeHwnd(), IDC_PUBLISH_HOME)));
    Click(*dialog, IDOK);
    Pump();
    ASSERT_EQ(host.sent.size(), 3u);
    EXPECT_THAT(host.sent[1].xml, HasSubstr("<msg>2\n<typ>1\n<f>Ana</f>"));
    EXPECT_THAT(host.sent[1].xml, HasSubstr("<c>1</c>\n<ver>5</ver>"));
    EXPECT_EQ(host.sent[2].xml, "<msg>2\n<typ>4\n<c>1</c>\n</typ>\n</msg>\n");
    EXPECT_EQ(card->Cache().GetCachedVersion("u1", "d1", HomeSection), -1);
}

// A section shown but not cached (a field too long for the registry) is
// published after the version the answer carried, not after the cache's;
// one whose version never came is not published.
TEST_F(CardServiceTest, APublishFollowsTheVersionShownNotTheCachedOne)
{
    XmlDocument cached("typ", HomeSection);
    cached.AddChild("a", "Old");
    cached.AddChild("ver", 3);
    card->Cache().StoreHome("u1", "d1", cached.GetRoot());
    OpenOwnCard();
    CardDialog* dialog = card->FindCardDialog("u1", "d1");
    Deliver(Answer(Person("u1", "d1", "<typ>2<err>201</err><ci>" + std::string(70000, 'c') +
                                          "</ci><c>0</c><ver>8</ver></typ>" + Photo201 +
                                          "<typ>3<err>201</err><cp>No version</cp></typ>")));
    DebugOutput::Lines().clear();
    EXPECT_EQ(card->Cache().GetCachedVersion("u1", "d1", HomeSection), -1);
    Retype(dialog->Home(), IDC_STREET, "Main 2");
    Retype(dialog->Business(), IDC_COMPANY, "Initech");  // a version unknown: not published
    Click(*dialog, IDOK);
    Pump();
    DebugOutput::Lines().clear();  // the long city is not cached after the publish either
    ASSERT_EQ(host.sent.size(), 2u);
    EXPECT_THAT(host.sent[1].xml, HasSubstr("<a>Main 2</a>"));
    EXPECT_THAT(host.sent[1].xml, HasSubstr("<ver>9</ver>"));
}

// Between the request and the answer another spelling of the account took
// the card key: "unchanged" cannot be loaded, so the sections are asked for
// again, once, and stay waiting until they come.
TEST_F(CardServiceTest, UnchangedThatCannotBeLoadedIsAskedForAgainOnce)
{
    OpenOwnCard();
    Deliver(Answer(Person("u1", "d1", Identification201 + Home201 + Business201 + Photo201)));
    Click(*card->FindCardDialog("u1", "d1"), IDCANCEL);
    Pump();
    OpenOwnCard();
    CardDialog* dialog = card->FindCardDialog("u1", "d1");
    XmlDocument other("typ", IdentificationSection);
    other.AddChild("ver", 1);
    card->Cache().StoreBasic("U1", "d1", other.GetRoot());
    const std::string unchanged = "<typ>1<err>200</err></typ><typ>2<err>200</err></typ>"
                                  "<typ>3<err>200</err></typ><typ>4<err>200</err></typ>";
    Deliver(Answer(Person("u1", "d1", unchanged)));
    ASSERT_EQ(host.sent.size(), 3u);
    EXPECT_THAT(host.sent[2].xml, HasSubstr("<typ>1\n<ver>-1</ver>\n</typ>\n<typ>2\n<ver>-1</ver>\n</typ>\n"
                                            "<typ>3\n<ver>-1</ver>\n</typ>\n<typ>4\n<ver>-1</ver>"));
    EXPECT_TRUE(IsWindowVisible(GetDlgItem(dialog->Identification().GetSafeHwnd(), IDC_WAITING)));
    EXPECT_EQ(dialog->Directory(), nullptr);

    Deliver(Answer(Person("u1", "d1", Identification201 + "<typ>2<err>200</err></typ>")));
    EXPECT_EQ(Text(dialog->Identification(), IDC_FIRST), "Ana");
    EXPECT_THAT(Text(dialog->Home(), IDC_WAITING), HasSubstr("Error"));
    EXPECT_EQ(host.sent.size(), 3u);
    Deliver(Answer(Person("u1", "d1", Photo201)));
    RenameAndPressOk(*dialog);
    ASSERT_EQ(host.sent.size(), 4u);
    EXPECT_THAT(host.sent[3].xml, HasSubstr("<msg>2\n<typ>1\n"));
}

// ---- a server that does not answer

// The own card's saved identification is shown under the notice and the
// rest says the server is not answering; the card stays a viewer, and Try
// again sends the first request again. The late answer replaces the saved
// copy and a publish follows the version it carried.
TEST_F(CardServiceTest, WithoutAnAnswerTheCardShowsTheSavedCopyTriesAgainAndTakesALateAnswer)
{
    XmlDocument cached("typ", IdentificationSection);
    cached.AddChild("f", "Old");
    cached.AddChild("ver", 3);
    card->Cache().StoreBasic("u1", "d1", cached.GetRoot());
    AnswerTimeLimit = 1;
    OpenOwnCard();
    CardDialog* dialog = card->FindCardDialog("u1", "d1");
    IdentificationPage& identification = dialog->Identification();
    ASSERT_TRUE(PumpUntil([&] { return Text(identification, IDC_FIRST) == "Old"; }));
    EXPECT_EQ(Text(identification, IDC_WAITING), "The server is not answering; this is the saved copy.");
    EXPECT_EQ(Text(dialog->Home(), IDC_WAITING), "The server is not answering.");
    EXPECT_EQ(dialog->Directory(), nullptr);

    AnswerTimeLimit = 15000;
    SendMessageA(dialog->GetSafeHwnd(), WM_SYSCOMMAND, CardDialog::TryAgainCommand, 0);
    ASSERT_EQ(host.sent.size(), 2u);
    EXPECT_EQ(host.sent[1].xml, host.sent[0].xml);

    Deliver(Answer(Person("u1", "d1", Photo201)));
    ASSERT_NE(dialog->Directory(), nullptr);
    Deliver(Answer(Person("u1", "d1", Identification201)));
    EXPECT_EQ(Text(identification, IDC_FIRST), "Ana");
    Retype(identification, IDC_NICKNAME, "nana");
    Click(*dialog, IDOK);
    Pump();
    ASSERT_EQ(host.sent.size(), 3u);
    EXPECT_THAT(host.sent[2].xml, HasSubstr("<nk>nana</nk>"));
    EXPECT_THAT(host.sent[2].xml, HasSubstr("<ver>5</ver>"));
}

// Cards closed by Close and by Logout leave no timer behind to run past the limit.
TEST_F(CardServiceTest, NoTimerOutlivesItsCard)
{
    AnswerTimeLimit = 1;
    OpenOwnCard();
    Click(*card->FindCardDialog("u1", "d1"), IDCANCEL);
    OpenOwnCard();
    service->Logout();
    Sleep(50);
    Pump();
    EXPECT_EQ(host.sent.size(), 2u);
}

ServiceInterface* serviceToDelete = nullptr;

// A file chooser during which the host deletes the service.
BOOL WINAPI ChooserWhileTheServiceGoes(OPENFILENAMEA*)
{
    std::exchange(serviceToDelete, nullptr)->DeletingDestructor(1);
    return FALSE;
}

// The card ends after the chooser returns and never calls the service it
// had; freed memory is poisoned (below), so such a call would crash.
TEST_F(CardServiceTest, TheServiceCanGoWhileACardsChooserIsOpen)
{
    ImportPatch chooser("comdlg32.dll", "GetOpenFileNameA", reinterpret_cast<void*>(&ChooserWhileTheServiceGoes));
    ASSERT_TRUE(chooser.Installed());
    OpenOwnCard();
    Deliver(Answer(Person("u1", "d1", Photo201)));
    HWND window = card->FindCardDialog("u1", "d1")->GetSafeHwnd();
    serviceToDelete = std::exchange(service, nullptr);
    SendMessageA(window, WM_SYSCOMMAND, CardDialog::ImportVCardCommand, 0);
    EXPECT_EQ(serviceToDelete, nullptr);
    EXPECT_FALSE(IsWindow(window));
}

// Enter presses the focused button, on a page or on the card.
TEST_F(CardServiceTest, EnterPressesTheFocusedButton)
{
    OpenOwnCard();
    Deliver(Answer(Person("u1", "d1", Identification201 + Home201 + Business201 + Photo201)));
    HostLoop();
    CardDialog* dialog = card->FindCardDialog("u1", "d1");
    HWND window = dialog->GetSafeHwnd();
    Retype(dialog->Identification(), IDC_NICKNAME, "nana");
    SetFocus(GetDlgItem(dialog->Identification().GetSafeHwnd(), IDC_REMOVE_PHOTO));
    Press(VK_RETURN);
    ASSERT_TRUE(IsWindow(window));
    EXPECT_TRUE(dialog->Identification().ShownPhoto().empty());
    SetFocus(GetDlgItem(window, IDCANCEL));
    Press(VK_RETURN);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(host.sent.size(), 1u);
}

TEST_F(CardServiceTest, KeysGoRoundTheWholeViewerAndMnemonicsReachTheShownPage)
{
    TestContact contact("c1", "d1", "Contact One");
    service->ContactCommand("VCARD-PC", &contact);
    Deliver(Answer(Person("c1", "d1", Identification201 + Home201 + Business201 + Photo201)));
    HostLoop();
    CardDialog* dialog = card->FindCardDialog("c1", "d1");
    ASSERT_EQ(GetFocus(), GetDlgItem(dialog->Identification().GetSafeHwnd(), IDC_TITLE));

    // The page's fields, then the enabled buttons, the tabs, and round again.
    std::vector<int> order;
    for (int i = 0; i < 10; ++i) {
        Press(VK_TAB);
        order.push_back(FocusId());
    }
    EXPECT_THAT(order, ElementsAre(IDC_FIRST, IDC_LAST, IDC_NICKNAME, IDC_MIDDLE, IDC_FRIENDLY, IDC_NEW_ADDRESS,
                                   IDC_ADDRESSES, IDCANCEL, IDC_TABS, IDC_TITLE));
    Press(VK_TAB, {VK_SHIFT});
    EXPECT_EQ(FocusId(), IDC_TABS);

    // Ctrl+Tab shows the next page, where Alt and a mnemonic reach its field.
    Press(VK_TAB, {VK_CONTROL});
    Press('Y', {VK_MENU});
    EXPECT_EQ(FocusId(), IDC_CITY);
    EXPECT_EQ(GetParent(GetFocus()), dialog->Home().GetSafeHwnd());
}

// ---- the host's menu items and blocks

TEST_F(CardServiceTest, ContactMenuItemOnlyOnceEnabledAndUntilLogout)
{
    Block block = Filled();
    TestContact contact("c1", "d1", "Contact One");
    EXPECT_EQ(service->GetContactMenuItem("VCARD-PC", &contact, block.data()), 0);
    EXPECT_EQ(block[0], '\xAA');
    service->EnableService("OTHER", 1);
    EXPECT_EQ(service->GetContactMenuItem("VCARD-PC", &contact, block.data()), 0);

    service->EnableService("VCARD-PC", 1);
    ASSERT_EQ(service->GetContactMenuItem("VCARD-PC", &contact, block.data()), 1);
    EXPECT_NE(DwordAt(block, 16), 0u);  // the item icon, loaded at Start
    EXPECT_STREQ(block.data() + 20, "View Virtual Card");
    EXPECT_EQ(DwordAt(block, 84), 460u);
    EXPECT_EQ(block[88], '\xAA');

    TestContact withoutService("c2", "d2", "Two");
    withoutService.services.offered = "OTHER";
    EXPECT_EQ(service->GetContactMenuItem("VCARD-PC", &withoutService, block.data()), 0);
    EXPECT_EQ(service->GetContactMenuItem("VCARD-PC", nullptr, block.data()), 0);

    service->Logout();
    EXPECT_EQ(service->GetContactMenuItem("VCARD-PC", &contact, block.data()), 0);
}

// The texts fill their fields with zeros, and nothing is written past a block.
TEST_F(CardServiceTest, ServiceInfoAndDirectoryItemLayouts)
{
    Block block = Filled();
    service->GetServiceInfo("VCARD-PC", block.data());
    EXPECT_EQ(std::string(block.data(), 64), "Directory Service" + std::string(47, '\0'));
    EXPECT_EQ(std::string(block.data() + 64, 254), "View Virtual Card" + std::string(237, '\0'));
    EXPECT_EQ(block[318], '\xAA');
    block.fill('\xAA');
    service->SetLanguage(0);
    EXPECT_EQ(service->GetDirectoryItem("VCARD-PC", block.data()), 1);
    EXPECT_EQ(DwordAt(block, 88), 1u);
    EXPECT_EQ(std::string(block.data() + 92, 254), "Servicio de Directorio" + std::string(232, '\0'));
    EXPECT_EQ(DwordAt(block, 348), 460u);
    EXPECT_EQ(std::string(block.data() + 20, 68), std::string(68, '\0'));
    EXPECT_EQ(block[352], '\xAA');
}

TEST_F(CardServiceTest, ExtraInfoNeedsAUserAndNullBlocksAreRefused)
{
    Block block = Filled();
    ServiceInterface* userless = CreateService(&host);
    EXPECT_EQ(userless->GetExtraInfo("VCARD-PC", 5, block.data()), 0);
    userless->DeletingDestructor(1);
    EXPECT_EQ(block[0], '\xAA');
    EXPECT_EQ(block[16], '\xAA');
    EXPECT_EQ(service->GetExtraInfo("VCARD-PC", 5, block.data()), 1);
    EXPECT_EQ(DwordAt(block, 16), user.extraValue);
    EXPECT_EQ(block[0], 0);
    EXPECT_EQ(block[499], 0);
    EXPECT_EQ(block[500], '\xAA');

    TestContact contact("c1", "d1", "Contact One");
    service->EnableService("VCARD-PC", 1);
    service->GetServiceInfo("VCARD-PC", nullptr);
    EXPECT_EQ(service->GetExtraInfo("VCARD-PC", 0, nullptr), 0);
    EXPECT_EQ(service->GetContactMenuItem("VCARD-PC", &contact, nullptr), 0);
    EXPECT_EQ(service->GetDirectoryItem("VCARD-PC", nullptr), 0);
}

} // namespace

// Every object this program frees is overwritten first: a call through a
// deleted object's table then fails at once instead of passing by luck.
void* operator new(std::size_t size)
{
    if (void* memory = HeapAlloc(GetProcessHeap(), 0, size ? size : 1))
        return memory;
    throw std::bad_alloc();
}

void operator delete(void* memory) noexcept
{
    HeapFree(GetProcessHeap(), 0, memory);
}

void operator delete(void* memory, std::size_t size) noexcept
{
    if (memory)
        std::memset(memory, 0xA5, size);
    HeapFree(GetProcessHeap(), 0, memory);
}
