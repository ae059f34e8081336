// Times the local card cache on the real registry and file system under
// Wine: storing and loading a full card (four sections, 8 KB photo) and
// asking the cached versions of its four sections.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "bench/wine/Clock.h"
#include "frame/HostSettings.h"
#include "store/CardCache.h"
#include "support/Base64.h"
#include "support/Xml.h"

namespace {

template <class Work>
double OperationsPerSecond(int rounds, Work work)
{
    std::vector<double> rates;
    for (int run = 0; run < 5; ++run) {
        double start = Milliseconds();
        for (int i = 0; i < rounds; ++i)
            work();
        rates.push_back(1000.0 * rounds / (Milliseconds() - start));
    }
    return Median(rates);
}

std::string PhotoText(size_t bytes)
{
    std::string picture(bytes, '\0');
    for (size_t i = 0; i < bytes; ++i)
        picture[i] = static_cast<char>((i * 131) ^ (i >> 3));
    Base64Encoder encoder(true);
    encoder.Write(picture.data(), picture.size());
    encoder.Finish();
    std::string text(encoder.GetTarget().Size(), '\0');
    encoder.GetTarget().Read(text.data(), text.size());
    return text;
}

} // namespace

int main()
{
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    std::string appPath = std::string(temp) + "vcard-cache-bench";
    CreateDirectoryA(appPath.c_str(), nullptr);
    RegKey key;
    CardCache cache(key, appPath, std::string(HostSettingsKey) + "\\Users");

    XmlDocument basic("typ", 1), home("typ", 2), business("typ", 3), photo("typ", 4);
    for (const char* tag : {"f", "l", "m", "p", "fn", "nk"})
        basic.AddChild(tag, std::string("identification ") + tag);
    for (int slot = 0; slot < 10; ++slot)
        basic.AddChild(EmailTag(slot), "person" + std::to_string(slot) + "@mail.example.org");
    for (const auto& entry : HomeTags)
        home.AddChild(entry.tag, std::string("home field ") + entry.tag);
    for (const auto& entry : BusinessTags)
        business.AddChild(entry.tag, std::string("business field ") + entry.tag);
    photo.AddChild("ph", PhotoText(8192));
    for (XmlDocument* doc : {&basic, &home, &business, &photo}) {
        doc->AddChild("c", 0);
        doc->AddChild("ver", 12);
    }

    const std::string user = "bench.user", domain = "bench.example.org";
    double store = OperationsPerSecond(200, [&] {
        cache.StoreBasic(user, domain, basic.FindChild("typ"));
        cache.StoreHome(user, domain, home.FindChild("typ"));
        cache.StoreBusiness(user, domain, business.FindChild("typ"));
        cache.StorePhoto(user, domain, photo.FindChild("typ"), false);
    });
    double storeBasic = OperationsPerSecond(200, [&] { cache.StoreBasic(user, domain, basic.FindChild("typ")); });
    double storeHome = OperationsPerSecond(200, [&] { cache.StoreHome(user, domain, home.FindChild("typ")); });
    double storePhoto = OperationsPerSecond(200, [&] { cache.StorePhoto(user, domain, photo.FindChild("typ"), false); });
    IdentificationFields identification;
    AddressFields homeFields, businessFields;
    PhotoFields photoFields;
    int hidden = 0;
    double load = OperationsPerSecond(200, [&] {
        cache.LoadBasic(user, domain, identification, hidden);
        cache.LoadHome(user, domain, homeFields, hidden);
        cache.LoadBusiness(user, domain, businessFields, hidden);
        cache.LoadPhoto(user, domain, photoFields, hidden);
    });
    int versions = 0;
    double ask = OperationsPerSecond(500, [&] {
        for (int section = 1; section <= 4; ++section)
            versions += cache.GetCachedVersion(user, domain, section) == 12;
    });

    std::printf("%-46s %12s\n", "operation (median of 5 runs)", "per second");
    std::printf("%-46s %12.0f\n", "store full card (4 sections, 8 KB photo)", store);
    std::printf("%-46s %12.0f\n", "  of which identification (16 values)", storeBasic);
    std::printf("%-46s %12.0f\n", "  of which home (9 values)", storeHome);
    std::printf("%-46s %12.0f\n", "  of which photo (file, 2 values)", storePhoto);
    std::printf("%-46s %12.0f\n", "load full card (4 sections, 8 KB photo)", load);
    std::printf("%-46s %12.0f\n", "GetCachedVersion of all four sections", ask);
    std::printf("check: photo %zu characters loaded, %d versions current\n", photoFields.picture.size(), versions);

    RegDeleteTreeA(HKEY_LOCAL_MACHINE, cache.CardKey(user, domain).c_str());
    DeleteFileA(cache.PhotoFile(user, domain).c_str());
    RemoveDirectoryA(cache.PhotoFolder().c_str());
    RemoveDirectoryA(appPath.c_str());
    return 0;
}
