#include "frame/CardService.h"

CardService::CardService(HostApi* hostApi) : ServiceBase(hostApi) {}

int CardService::OnGetStatus()
{
    return CardServiceStatus;
}

bool CardService::IsMine(const std::string& name)
{
    return name == CardServiceName;
}
