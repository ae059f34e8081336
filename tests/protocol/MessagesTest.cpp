#include <gtest/gtest.h>

#include "protocol/Messages.h"

namespace {

TEST(CardRequestTest, IsTheEighteenLinesTheServerExpects)
{
    auto doc = CardRequest("u1", "d1", {-1, -1, -1, -1});
    EXPECT_EQ(doc->GetXml(),
              "<msg>1\n<ps>1\n<usr>u1</usr>\n<dom>d1</dom>\n"
              "<typ>1\n<ver>-1</ver>\n</typ>\n<typ>2\n<ver>-1</ver>\n</typ>\n"
              "<typ>3\n<ver>-1</ver>\n</typ>\n<typ>4\n<ver>-1</ver>\n</typ>\n</ps>\n</msg>\n");
}

TEST(CardRequestTest, CarriesEachSectionsVersionAndEscapesNames)
{
    auto doc = CardRequest("a&b", "<d>", {7, -1, 0, 12});
    EXPECT_EQ(doc->GetXml(),
              "<msg>1\n<ps>1\n<usr>a&amp;b</usr>\n<dom>&lt;d&gt;</dom>\n"
              "<typ>1\n<ver>7</ver>\n</typ>\n<typ>2\n<ver>-1</ver>\n</typ>\n"
              "<typ>3\n<ver>0</ver>\n</typ>\n<typ>4\n<ver>12</ver>\n</typ>\n</ps>\n</msg>\n");
}

TEST(SearchRequestTest, SendsAllSixFieldsInOrder)
{
    SearchFields fields;
    fields.name = "Ana";
    EXPECT_EQ(SearchRequest(fields)->GetXml(),
              "<msg>3\n<n>Ana</n>\n<em></em>\n<cp></cp>\n<t></t>\n<s></s>\n<ci></ci>\n</msg>\n");
}

TEST(PublishTest, IdentificationListsEveryEmailRow)
{
    IdentificationFields fields{"Ana", "Ruiz", "M", "Dr", "Annie", "an", {"a@x", "b@y"}};
    EXPECT_EQ(PublishIdentification(fields, 1, 0)->GetXml(),
              "<msg>2\n<typ>1\n<f>Ana</f>\n<l>Ruiz</l>\n<m>M</m>\n<p>Dr</p>\n<fn>Annie</fn>\n<nk>an</nk>\n"
              "<e0>a@x</e0>\n<e1>b@y</e1>\n<c>1</c>\n<ver>0</ver>\n</typ>\n</msg>\n");
    fields.emails.clear();
    EXPECT_EQ(PublishIdentification(fields, 0, 3)->GetXml(),
              "<msg>2\n<typ>1\n<f>Ana</f>\n<l>Ruiz</l>\n<m>M</m>\n<p>Dr</p>\n<fn>Annie</fn>\n<nk>an</nk>\n"
              "<c>0</c>\n<ver>3</ver>\n</typ>\n</msg>\n");
}

TEST(PublishTest, PhotoFlagAndPicture)
{
    EXPECT_EQ(PublishPhotoFlag(1)->GetXml(), "<msg>2\n<typ>4\n<c>1</c>\n</typ>\n</msg>\n");
    EXPECT_EQ(PublishPhoto(PhotoFields{"QUJD\n"}, 0, 5)->GetXml(),
              "<msg>2\n<typ>4\n<ph>QUJD\n</ph>\n<c>0</c>\n<ver>5</ver>\n</typ>\n</msg>\n");
    EXPECT_EQ(PublishPhoto(PhotoFields{}, 0, 0)->GetXml(),
              "<msg>2\n<typ>4\n<ph></ph>\n<c>0</c>\n<ver>0</ver>\n</typ>\n</msg>\n");
}

TEST(PublishTest, AddressSectionsBringTheWebPageToItsHttpForm)
{
    AddressFields fields;
    fields.company = "Acme";
    fields.street = "Main 1\r\nFloor 2";
    fields.web = "WWW.Acme.ORG";
    EXPECT_EQ(PublishHome(fields, 0, 8)->GetXml(),
              "<msg>2\n<typ>2\n<a>Main 1\r\nFloor 2</a>\n<ci></ci>\n<s></s>\n<z></z>\n<t></t>\n<p></p>\n<x></x>\n"
              "<m></m>\n<w>http://WWW.Acme.ORG</w>\n<c>0</c>\n<ver>8</ver>\n</typ>\n</msg>\n");
    fields.web = "HTTP://Acme.ORG";
    EXPECT_EQ(PublishBusiness(fields, 1, 1)->GetXml(),
              "<msg>2\n<typ>3\n<cp>Acme</cp>\n<j></j>\n<d></d>\n<a>Main 1\r\nFloor 2</a>\n<ci></ci>\n<s></s>\n"
              "<z></z>\n<t></t>\n<p></p>\n<x></x>\n<m></m>\n<w>http://acme.org</w>\n<c>1</c>\n<ver>1</ver>\n"
              "</typ>\n</msg>\n");
}

TEST(PublishTest, PublishedSectionReadsBackAsTheSectionElement)
{
    AddressFields fields;
    fields.city = "Le\xf3n";
    auto doc = PublishHome(fields, 1, 4);
    XmlDocument back;
    ASSERT_TRUE(back.Parse(doc->GetXml()));
    const XmlNode& typ = back.FindChild("typ");
    EXPECT_EQ(typ.GetText(), "2");
    EXPECT_EQ(typ.FindChild("ci").GetText(), "Le\xf3n");
    EXPECT_EQ(typ.FindChild("ver").GetText(), "4");
    EXPECT_EQ(typ.FindChild("w").GetText(), "http://");
}

} // namespace
