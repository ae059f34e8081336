#pragma once
// The development host as a whole: loads the service, signs ana@example.net
// in with the host's settings pointing into its own folder, gives the panel
// its area and runs the loop, interactively or through the demo script.
#include <filesystem>
#include <memory>
#include <string>

#include "devhost/HostObjects.h"
#include "devhost/HostWindow.h"
#include "devhost/MessageLoop.h"
#include "devhost/Plugin.h"
#include "devhost/ServerLink.h"
#include "devhost/Transcript.h"

struct DevHostOptions {
    std::string library = "vcardpc.dll";
    std::filesystem::path folder = "out/devhost";  // settings, photos, transcript, screenshots
    std::filesystem::path data;                   // card files; default folder/data
    int accounts = 10000;                         // generated when data is empty
    bool scripted = false;
};

class DevHostApp {
public:
    explicit DevHostApp(DevHostOptions options);
    ~DevHostApp();
    DevHostApp(const DevHostApp&) = delete;
    DevHostApp& operator=(const DevHostApp&) = delete;

    // Process exit code: 0 when everything (and every script step) succeeded.
    int Run();

    // For the script.
    ServiceInterface* Service() const { return plugin.Service(); }
    HostWindow& Window() { return window; }
    MessageLoop& Loop() { return loop; }
    ServerLink& Link() { return link; }
    Transcript& Log() { return transcript; }
    DevUser& User() { return user; }
    const DevHostOptions& Options() const { return options; }
    // Three levels down, so that names climbing out of AppPath\vc still land
    // inside the session's folder, where the demo looks for them.
    std::filesystem::path AppPath() const { return options.folder / "host" / "programs" / "Quillora"; }

private:
    bool Open();
    void Close();
    int OnCommand(int code, const std::string& param);

    DevHostOptions options;
    Transcript transcript;
    DevUser user;
    DevHostApi host;
    ServerLink link;
    HostWindow window;
    MessageLoop loop;
    Plugin plugin;
    bool loggedIn = false;
};
