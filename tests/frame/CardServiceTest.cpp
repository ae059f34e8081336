#include <gtest/gtest.h>

#include <array>
#include <cstring>

#include "frame/CardService.h"
#include "tests/hosts/TestHost.h"

namespace {

using Block = std::array<char, 600>;

std::string TextAt(const Block& block, size_t offset)
{
    return std::string(block.data() + offset);
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
        service = CreateService(&host);
        ASSERT_NE(service, nullptr);
        block.fill('\xAA');
    }
    void TearDown() override { service->DeletingDestructor(1); }

    void LogIn()
    {
        service->Start();
        service->Login(&user);
    }

    TestHost host;
    TestUser user;
    TestContact contact{"c1", "d1", "Contact One"};
    ServiceInterface* service = nullptr;
    Block block;
};

TEST_F(CardServiceTest, ContactMenuItemOnlyOnceEnabledAndUntilLogout)
{
    LogIn();
    EXPECT_EQ(service->GetContactMenuItem("VCARD-PC", &contact, block.data()), 0);
    EXPECT_EQ(block[0], '\xAA');
    service->EnableService("OTHER", 1);
    EXPECT_EQ(service->GetContactMenuItem("VCARD-PC", &contact, block.data()), 0);

    service->EnableService("VCARD-PC", 1);
    ASSERT_EQ(service->GetContactMenuItem("VCARD-PC", &contact, block.data()), 1);
    EXPECT_NE(DwordAt(block, 16), 0u);  // the item icon, loaded at Start
    EXPECT_EQ(TextAt(block, 20), "View Virtual Card");
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
    EXPECT_EQ(service->GetExtraInfo("VCARD-PC", 5, block.data()), 0);
    EXPECT_EQ(block[0], '\xAA');
    EXPECT_EQ(block[16], '\xAA');
    service->SetUser(&user);
    EXPECT_EQ(service->GetExtraInfo("VCARD-PC", 5, block.data()), 1);
    EXPECT_EQ(DwordAt(block, 16), user.extraValue);
    EXPECT_EQ(block[0], 0);
    EXPECT_EQ(block[499], 0);
    EXPECT_EQ(block[500], '\xAA');

    LogIn();
    service->EnableService("VCARD-PC", 1);
    service->GetServiceInfo("VCARD-PC", nullptr);
    EXPECT_EQ(service->GetExtraInfo("VCARD-PC", 0, nullptr), 0);
    EXPECT_EQ(service->GetContactMenuItem("VCARD-PC", &contact, nullptr), 0);
    EXPECT_EQ(service->GetDirectoryItem("VCARD-PC", nullptr), 0);
}

} // namespace
