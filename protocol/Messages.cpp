#include "protocol/Messages.h"

namespace {

std::unique_ptr<XmlDocument> Publish(int section, XmlNode*& typ)
{
    auto doc = std::make_unique<XmlDocument>("msg", PublishMessage);
    typ = &doc->AddChild("typ", section);
    return doc;
}

template <std::size_t N>
std::unique_ptr<XmlDocument> PublishAddress(int section, const FieldTag<AddressFields> (&tags)[N],
                                            const AddressFields& fields, int notPublished, int version)
{
    XmlNode* typ = nullptr;
    auto doc = Publish(section, typ);
    for (const auto& entry : tags) {
        const std::string& text = fields.*entry.field;
        typ->AddChild(entry.tag, entry.field == &AddressFields::web ? WebPageToSend(text) : text);
    }
    typ->AddChild(NotPublishedTag, notPublished);
    typ->AddChild(VersionTag, version);
    return doc;
}

} // namespace

std::unique_ptr<XmlDocument> CardRequest(const std::string& user, const std::string& domain,
                                         const std::array<int, 4>& versions)
{
    auto doc = std::make_unique<XmlDocument>("msg", CardMessage);
    XmlNode& person = doc->AddChild("ps", 1);
    person.AddChild("usr", user);
    person.AddChild("dom", domain);
    for (int section = IdentificationSection; section <= PhotoSection; ++section)
        person.AddChild("typ", section).AddChild(VersionTag, versions[section - 1]);
    return doc;
}

std::unique_ptr<XmlDocument> SearchRequest(const SearchFields& fields)
{
    auto doc = std::make_unique<XmlDocument>("msg", SearchMessage);
    doc->AddChild("n", fields.name);
    doc->AddChild("em", fields.email);
    doc->AddChild("cp", fields.company);
    doc->AddChild("t", fields.country);
    doc->AddChild("s", fields.state);
    doc->AddChild("ci", fields.city);
    return doc;
}

std::unique_ptr<XmlDocument> PublishIdentification(const IdentificationFields& fields, int notPublished, int version)
{
    XmlNode* typ = nullptr;
    auto doc = Publish(IdentificationSection, typ);
    for (const auto& entry : IdentificationTags)
        typ->AddChild(entry.tag, fields.*entry.field);
    for (std::size_t row = 0; row < fields.emails.size(); ++row)
        typ->AddChild(EmailTag(static_cast<int>(row)), fields.emails[row]);
    typ->AddChild(NotPublishedTag, notPublished);
    typ->AddChild(VersionTag, version);
    return doc;
}

std::unique_ptr<XmlDocument> PublishPhotoFlag(int notPublished)
{
    XmlNode* typ = nullptr;
    auto doc = Publish(PhotoSection, typ);
    typ->AddChild(NotPublishedTag, notPublished);
    return doc;
}

std::unique_ptr<XmlDocument> PublishPhoto(const PhotoFields& fields, int notPublished, int version)
{
    XmlNode* typ = nullptr;
    auto doc = Publish(PhotoSection, typ);
    typ->AddChild("ph", fields.picture);
    typ->AddChild(NotPublishedTag, notPublished);
    typ->AddChild(VersionTag, version);
    return doc;
}

std::unique_ptr<XmlDocument> PublishHome(const AddressFields& fields, int notPublished, int version)
{
    return PublishAddress(HomeSection, HomeTags, fields, notPublished, version);
}

std::unique_ptr<XmlDocument> PublishBusiness(const AddressFields& fields, int notPublished, int version)
{
    return PublishAddress(BusinessSection, BusinessTags, fields, notPublished, version);
}
