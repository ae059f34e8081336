#pragma once
// The library's one service: the virtual card service "VCARD-PC".
#include "frame/ServiceBase.h"

inline constexpr const char* CardServiceName = "VCARD-PC";
inline constexpr int CardServiceStatus = 20302;

class CardService : public ServiceBase {
public:
    explicit CardService(HostApi* host);

protected:
    int OnGetStatus() override;
    bool IsMine(const std::string& name) override;
};
