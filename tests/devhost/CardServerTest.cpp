// The reference card server refuses names that are no safe path component;
// its other rules are played through by the scripted session.
#include <gtest/gtest.h>

#include <filesystem>
#include <random>

#include "devhost/server/CardServer.h"
#include "devhost/server/HostileAnswers.h"
#include "protocol/Messages.h"

namespace {

TEST(CardServerTest, UnsafeNamesGetNoAnswer)
{
    auto folder = std::filesystem::temp_directory_path() / ("cardserver-" + std::to_string(std::random_device()()));
    CardServer server(folder);
    std::string publish = PublishIdentification({"E", "", "", "", "", "", {}}, 0, 0)->GetXml();
    for (const std::string& name : HostileAccountNames()) {
        SCOPED_TRACE(name);
        EXPECT_EQ(server.Handle(name, "x.net", publish, {}), "");
        EXPECT_EQ(server.Handle("eve", name, publish, {}), "");
        EXPECT_EQ(server.Handle(name, "x.net", SearchRequest({})->GetXml(), {}), "");
        EXPECT_EQ(server.Handle("eve", "x.net", CardRequest(name, "x.net", {-1, -1, -1, -1})->GetXml(), {}), "");
    }
    EXPECT_EQ(server.AccountCount(), 0u);
    EXPECT_FALSE(std::filesystem::exists(folder));
    std::filesystem::remove_all(folder);
}

} // namespace
