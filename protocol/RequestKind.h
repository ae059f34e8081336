#pragma once
// What the service's windows ask the card service to do.
enum class RequestKind {
    OpenOwnCard = 1,
    OpenSearch = 2,
    SearchClosed = 3,
    Search = 4,
    ViewSearchResult = 5,
    AddSearchResult = 6,
    CardClosed = 7,
    Publish = 8,
    ProductLabel = 9,
};
