// Delivered XML text becomes a document that lives for one hook call; sent
// documents become text for the host.
#include "frame/ServiceBase.h"
#include "platform/ModuleContext.h"
#include "protocol/Number.h"
#include "support/Xml.h"

namespace {

// The message code is the text of "msg": the root itself or its first child
// of that name. A text that failed part way keeps what was read.
int MessageCode(XmlDocument& doc)
{
    return ReadNumber(doc.FindChild("msg").GetText());
}

} // namespace

bool ServiceBase::ParseFor(const char* name, const char* xml, std::string& service, XmlDocument& doc)
{
    service = HostText(name);
    if (!IsMine(service))
        return false;
    doc.Parse(HostText(xml));
    return true;
}

void ServiceBase::DeliverMessage(int, const char* name, const char* xml)
{
    AtBoundary([&] {
        std::string service;
        XmlDocument doc;
        if (ParseFor(name, xml, service, doc))
            OnMessage(service, MessageCode(doc), doc);
    });
}

int ServiceBase::DeliverDocument(const char* name, const char* text, const char* xml)
{
    AtBoundary([&] {
        std::string service;
        XmlDocument doc;
        if (ParseFor(name, xml, service, doc))
            OnDocument(service, HostText(text), doc);
    });
    return 0;
}

void ServiceBase::DeliverDocumentEx(int, const char* name, const char* xml, int value)
{
    AtBoundary([&] {
        std::string service;
        XmlDocument doc;
        if (ParseFor(name, xml, service, doc))
            OnDocumentEx(service, doc, value);
    });
}

void ServiceBase::Send(const std::string& name, XmlDocument& doc)
{
    if (!host)
        return;
    std::string text = doc.GetXml();
    host->SendMessage(this, name.c_str(), text.c_str());
}
