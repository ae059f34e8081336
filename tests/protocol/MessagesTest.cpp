#include <gtest/gtest.h>

#include "protocol/Messages.h"

namespace {

// The messages exactly as the server reads them: tags, order, one line per tag.
TEST(MessagesTest, CardRequestAndSearch)
{
    EXPECT_EQ(CardRequest("a&b", "<d>", {7, -1, 0, 12})->GetXml(),
              "<msg>1\n<ps>1\n<usr>a&amp;b</usr>\n<dom>&lt;d&gt;</dom>\n"
              "<typ>1\n<ver>7</ver>\n</typ>\n<typ>2\n<ver>-1</ver>\n</typ>\n"
              "<typ>3\n<ver>0</ver>\n</typ>\n<typ>4\n<ver>12</ver>\n</typ>\n</ps>\n</msg>\n");
    SearchFields fields;
    fields.name = "Ana";
    EXPECT_EQ(SearchRequest(fields)->GetXml(),
              "<msg>3\n<n>Ana</n>\n<em></em>\n<cp></cp>\n<t></t>\n<s></s>\n<ci></ci>\n</msg>\n");
}

TEST(MessagesTest, PublishOfEachSection)
{
    IdentificationFields names{"Ana", "Ruiz", "M", "Dr", "Annie", "an", {"a@x", "b@y"}};
    EXPECT_EQ(PublishIdentification(names, 1, 0)->GetXml(),
              "<msg>2\n<typ>1\n<f>Ana</f>\n<l>Ruiz</l>\n<m>M</m>\n<p>Dr</p>\n<fn>Annie</fn>\n<nk>an</nk>\n"
              "<e0>a@x</e0>\n<e1>b@y</e1>\n<c>1</c>\n<ver>0</ver>\n</typ>\n</msg>\n");
    EXPECT_EQ(PublishPhotoFlag(1)->GetXml(), "<msg>2\n<typ>4\n<c>1</c>\n</typ>\n</msg>\n");
    EXPECT_EQ(PublishPhoto(PhotoFields{"QUJD\n"}, 0, 5)->GetXml(),
              "<msg>2\n<typ>4\n<ph>QUJD\n</ph>\n<c>0</c>\n<ver>5</ver>\n</typ>\n</msg>\n");

    // The web page goes in its sent form.
    AddressFields place;
    place.company = "Acme";
    place.street = "Main 1\r\nFloor 2";
    place.web = "WWW.Acme.ORG";
    EXPECT_EQ(PublishHome(place, 0, 8)->GetXml(),
              "<msg>2\n<typ>2\n<a>Main 1\r\nFloor 2</a>\n<ci></ci>\n<s></s>\n<z></z>\n<t></t>\n<p></p>\n<x></x>\n"
              "<m></m>\n<w>http://WWW.Acme.ORG</w>\n<c>0</c>\n<ver>8</ver>\n</typ>\n</msg>\n");
    place.web = "HTTP://Acme.ORG";
    EXPECT_EQ(PublishBusiness(place, 1, 1)->GetXml(),
              "<msg>2\n<typ>3\n<cp>Acme</cp>\n<j></j>\n<d></d>\n<a>Main 1\r\nFloor 2</a>\n<ci></ci>\n<s></s>\n"
              "<z></z>\n<t></t>\n<p></p>\n<x></x>\n<m></m>\n<w>http://acme.org</w>\n<c>1</c>\n<ver>1</ver>\n"
              "</typ>\n</msg>\n");
}

} // namespace
