#pragma once
// What the service's windows ask of the one that owns them, the card
// service, without knowing its class. A window whose owner has gone is
// detached first and asks nothing more.
#include <array>
#include <optional>
#include <string>

#include "protocol/Card.h"
#include "protocol/Messages.h"

class CardDialog;
class SearchDialog;

// What OK on the own card hands over: each section that was shown and that
// the user changed, with its fields, and the not-published flags (1 = not
// published, by section number less one) as the Directory page shows them.
struct CardChanges {
    std::optional<IdentificationFields> identification;
    std::optional<AddressFields> home, business;
    std::optional<PhotoFields> photo;  // the picture itself
    bool photoFlag = false;            // only whether the photo is published
    std::array<int, 4> hidden{};
};

class DialogOwner {
public:
    virtual void OpenOwnCard() = 0;
    virtual void OpenSearch() = 0;
    // The product label of a window was clicked.
    virtual void ProductLabel() = 0;
    virtual void Publish(const CardDialog& card, const CardChanges& changes) = 0;
    // The card's window is gone; the object is deleted after the call.
    virtual void CardClosed(const CardDialog& card) = 0;
    // No answer came within the time limit: each section the card still
    // awaits gets its saved copy (ShowSavedSection) or the notice alone.
    virtual void CardTimedOut(CardDialog& card) = 0;
    // Try again: the card's request is sent again.
    virtual void RetryCard(const CardDialog& card) = 0;
    virtual void Search(const SearchFields& fields) = 0;
    virtual void ViewSearchResult(const std::string& user, const std::string& domain) = 0;
    virtual void AddSearchResult(const std::string& user, const std::string& domain) = 0;
    // The search window is gone; the object is deleted after the call.
    virtual void SearchClosed(const SearchDialog& search) = 0;
    // Whether the signed-in user's contact list holds that account.
    virtual bool IsContact(const std::string& user, const std::string& domain) = 0;

protected:
    ~DialogOwner() = default;
};
