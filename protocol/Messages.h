#pragma once
// The three messages the client sends: the card request, the publish of one
// section of the own card, and the directory search.
#include <array>
#include <memory>
#include <string>

#include "protocol/Card.h"
#include "support/Xml.h"

// The search dialog's six fields.
struct SearchFields {
    std::string name, email, company, country, state, city;
};

// Code 1: one person with the cached version of each section 1 to 4.
std::unique_ptr<XmlDocument> CardRequest(const std::string& user, const std::string& domain,
                                         const std::array<int, 4>& versions);

// Code 3: the six fields directly under the root, empty ones included.
std::unique_ptr<XmlDocument> SearchRequest(const SearchFields& fields);

// Code 2, one section each; the section element is the root's "typ" child.
std::unique_ptr<XmlDocument> PublishIdentification(const IdentificationFields& fields, int notPublished, int version);
std::unique_ptr<XmlDocument> PublishPhotoFlag(int notPublished);
std::unique_ptr<XmlDocument> PublishPhoto(const PhotoFields& fields, int notPublished, int version);
std::unique_ptr<XmlDocument> PublishHome(const AddressFields& fields, int notPublished, int version);
std::unique_ptr<XmlDocument> PublishBusiness(const AddressFields& fields, int notPublished, int version);
