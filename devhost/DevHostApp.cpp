#include "devhost/DevHostApp.h"

#include <system_error>

#include "devhost/Console.h"
#include "devhost/DemoScript.h"
#include "devhost/HostRegistry.h"
#include "devhost/server/DirectoryGenerator.h"

namespace {

constexpr std::uint64_t DirectorySeed = 1;

std::filesystem::path DataFolder(const DevHostOptions& options)
{
    return options.data.empty() ? options.folder / "data" : options.data;
}

// The card folder, filled with a generated directory when it holds nothing.
std::filesystem::path PreparedData(const DevHostOptions& options)
{
    std::filesystem::path data = DataFolder(options);
    std::error_code error;
    std::filesystem::create_directories(data, error);
    if (std::filesystem::is_empty(data, error) && !error) {
        int written = GenerateDirectory(data, options.accounts, DirectorySeed);
        PrintLine("devhost: " + std::to_string(written) + " accounts generated in " + data.string());
    }
    return data;
}

}  // namespace

DevHostApp::DevHostApp(DevHostOptions chosen)
    : options(std::move(chosen)),
      user("ana", "example.net", "Ana"),
      host([this](int code, const std::string& param) { return OnCommand(code, param); },
          [this](const std::string& name, const std::string& xml) { link.Send(name, xml); }),
      link(PreparedData(options), user, transcript),
      window(user, link)
{
    // Two accounts of the generated directory start on the contact list.
    for (const CardRecord& card : GenerateCards(2, DirectorySeed))
        user.List().Add(card.user + "@" + card.domain, card.Field(1, "f") + " " + card.Field(1, "l"));
}

DevHostApp::~DevHostApp()
{
    Close();
}

int DevHostApp::Run()
{
    if (!Open())
        return 1;
    int status = options.scripted ? DemoScript(*this).Play() : loop.Run();
    Close();
    return status;
}

bool DevHostApp::Open()
{
    std::error_code error;
    std::filesystem::create_directories(AppPath(), error);
    std::filesystem::create_directories(options.folder / "skin", error);
    std::string transcriptPath = (options.folder / "transcript.txt").string();
    if (!transcript.Open(transcriptPath)) {
        PrintLine("devhost: cannot write " + transcriptPath);
        return false;
    }
    transcript.Note("session of " + user.Name() + "@" + user.DomainName() + ", " +
                    std::to_string(link.Accounts()) + " accounts on the server");
    std::filesystem::path appPath = std::filesystem::absolute(AppPath(), error);
    std::filesystem::path skinFolder = std::filesystem::absolute(options.folder / "skin", error);
    if (!WriteHostSettings(appPath.string(), skinFolder.string())) {
        PrintLine("devhost: cannot write the host's settings");
        return false;
    }
    if (!window.Create("Dev host - " + user.Name() + "@" + user.DomainName()))
        return false;
    if (!plugin.Load(options.library, &host)) {
        PrintLine("devhost: " + plugin.Error());
        return false;
    }
    ServiceInterface* service = plugin.Service();
    window.SetService(service);
    loop.SetService(service);
    link.Attach(window.Handle(), service);
    PrintLine("devhost: loaded " + options.library + ", status " + std::to_string(plugin.Status()));
    if (service->Start() != 0 || service->Login(&user) != 0) {
        PrintLine("devhost: the service did not start or log in");
        return false;
    }
    loggedIn = true;
    service->EnableService("VCARD-PC", 1);
    service->SetProductName("Quillora");
    service->SetLanguage(1);
    window.GiveAppearance();
    service->Activate("VCARD-PC");
    return true;
}

void DevHostApp::Close()
{
    if (ServiceInterface* service = plugin.Service()) {
        if (loggedIn)
            service->Logout();
        loggedIn = false;
        service->Stop();
    }
    window.SetService(nullptr);
    loop.SetService(nullptr);
    link.Attach(window.Handle(), nullptr);
    plugin.Unload();
}

int DevHostApp::OnCommand(int code, const std::string& param)
{
    transcript.Note("host command " + std::to_string(code) + (param.empty() ? "" : " " + param));
    switch (code) {
    case MayBuildPanel:
        return 1;
    case ProductLabelClicked:
        window.SetStatus("Product label clicked");
        return 1;
    case AddToContacts:
        if (user.List().Add(param, "")) {
            window.RefreshContacts();
            window.SetStatus("Added " + param + " to the contacts");
        } else {
            window.SetStatus(param + " is not added");
        }
        return 1;
    default:
        return 0;
    }
}
