#include "controls/LinkLabel.h"

#include <gtest/gtest.h>

#include <string>

namespace lumeno {
namespace {

struct TPrefixRow {
  tLinkType type;
  int ordinal;
  const char* name;
  const char* prefix;
};

// Window descriptions store the names and the shell gets the prefixes, so
// both are fixed byte for byte.
constexpr TPrefixRow kPrefixes[] = {
    {ltfile, 0, "ltfile", "file://"},       {ltftp, 1, "ltftp", "ftp://"},
    {ltgopher, 2, "ltgopher", "gopher://"}, {lthttp, 3, "lthttp", "http://"},
    {lthttps, 4, "lthttps", "https://"},    {ltmailto, 5, "ltmailto", "mailto:"},
    {ltnews, 6, "ltnews", "news:"},         {lttelnet, 7, "lttelnet", "telnet:"},
    {ltwais, 8, "ltwais", "wais:"},
};

class LinkPrefixTest : public ::testing::TestWithParam<TPrefixRow> {};

TEST_P(LinkPrefixTest, TargetIsPrefixFollowedByHyperLink) {
  const TPrefixRow& row = GetParam();
  EXPECT_EQ(static_cast<int>(row.type), row.ordinal);
  EXPECT_EQ(LinkTypeName(row.type), row.name);
  EXPECT_EQ(LinkPrefix(row.type), row.prefix);

  TLinkLabelCore label;
  label.SetLinkType(row.type);
  label.SetHyperLink("Host.Example/A b?c=1&d");
  // No trimming, case change or encoding of the link text.
  EXPECT_EQ(label.Target(), std::string(row.prefix) + "Host.Example/A b?c=1&d");
}

INSTANTIATE_TEST_SUITE_P(AllTypes, LinkPrefixTest, ::testing::ValuesIn(kPrefixes));

TEST(LinkLabelCoreTest, StartsAsHttpWithEmptyLinkAndCaption) {
  TLinkLabelCore label;
  EXPECT_EQ(sizeof(tLinkType), 1u);
  EXPECT_EQ(label.LinkType(), lthttp);
  EXPECT_EQ(label.HyperLink(), "");
  EXPECT_EQ(label.Caption(), L"");
  // An empty link is not caught: the bare prefix goes to the shell.
  EXPECT_EQ(label.Target(), "http://");
}

TEST(LinkLabelCoreTest, BareHostOpensOverHttp) {
  TLinkLabelCore label;
  label.SetHyperLink("lumeno.example.com");
  EXPECT_EQ(label.Target(), "http://lumeno.example.com");
}

TEST(LinkLabelCoreTest, SchemeInHyperLinkIsNotRecognised) {
  TLinkLabelCore label;
  label.SetHyperLink("http://lumeno.example.com");
  EXPECT_EQ(label.Target(), "http://http://lumeno.example.com");
  EXPECT_EQ(label.LinkType(), lthttp);
}

TEST(LinkLabelCoreTest, EmptyCaptionTakesTheLinkOnlyOnce) {
  TLinkLabelCore label;
  label.SetHyperLink("first.example.com");
  EXPECT_EQ(label.Caption(), L"first.example.com");
  // The first write filled the caption, so the second leaves it: the label
  // shows the old text while opening the new address.
  label.SetHyperLink("second.example.com");
  EXPECT_EQ(label.Caption(), L"first.example.com");
  EXPECT_EQ(label.Target(), "http://second.example.com");
}

TEST(LinkLabelCoreTest, CaptionSetFirstIsKept) {
  TLinkLabelCore label;
  label.SetCaption(L"Our web site");
  label.SetHyperLink("lumeno.example.com");
  EXPECT_EQ(label.Caption(), L"Our web site");
}

TEST(LinkLabelCoreTest, CaptionEmptiedAgainTakesTheNextLink) {
  TLinkLabelCore label;
  label.SetHyperLink("first.example.com");
  label.SetCaption(L"");
  label.SetHyperLink("second.example.com");
  EXPECT_EQ(label.Caption(), L"second.example.com");
}

TEST(LinkLabelCoreTest, EmptyLinkLeavesAnEmptyCaptionEmpty) {
  TLinkLabelCore label;
  label.SetHyperLink("");
  EXPECT_EQ(label.Caption(), L"");
  label.SetHyperLink("later.example.com");
  EXPECT_EQ(label.Caption(), L"later.example.com");
}

TEST(LinkLabelCoreTest, DefaultWideningKeepsEveryByteValue) {
  TLinkLabelCore label;
  label.SetHyperLink(std::string("a\xB1\xE6", 3));
  EXPECT_EQ(label.Caption(), std::wstring(L"a\u00B1\u00E6"));
}

TEST(LinkLabelCoreTest, WideningHookMakesTheCaption) {
  TLinkLabelCore label([](std::string_view ansi) { return std::wstring(ansi.size(), L'*'); });
  label.SetHyperLink("abc");
  EXPECT_EQ(label.Caption(), L"***");
}

TEST(LinkLabelCoreTest, ChangingLinkTypeOnlyChangesTheNextTarget) {
  TLinkLabelCore label;
  label.SetHyperLink("lumeno.example.com");
  label.SetLinkType(lthttps);
  EXPECT_EQ(label.Target(), "https://lumeno.example.com");
  EXPECT_EQ(label.Caption(), L"lumeno.example.com");
  EXPECT_EQ(label.HyperLink(), "lumeno.example.com");
  label.SetLinkType(ltmailto);
  EXPECT_EQ(label.Target(), "mailto:lumeno.example.com");
}

TEST(LinkLabelCoreTest, ValueOutsideTheEnumerationIsIgnored) {
  TLinkLabelCore label;
  label.SetLinkType(ltftp);
  label.SetLinkType(static_cast<tLinkType>(9));
  label.SetLinkType(static_cast<tLinkType>(255));
  EXPECT_EQ(label.LinkType(), ltftp);
  EXPECT_EQ(LinkPrefix(static_cast<tLinkType>(200)), "");
  EXPECT_EQ(LinkTypeName(static_cast<tLinkType>(9)), "");
}

class TCountingLabel : public TLinkLabelCore {
 public:
  int changes = 0;

 protected:
  void CaptionChanged() override { ++changes; }
};

TEST(LinkLabelCoreTest, CaptionChangeIsReportedOnlyWhenTheTextChanges) {
  TCountingLabel label;
  label.SetHyperLink("lumeno.example.com");
  EXPECT_EQ(label.changes, 1);
  label.SetCaption(L"lumeno.example.com");
  label.SetHyperLink("other.example.com");
  label.SetLinkType(ltnews);
  EXPECT_EQ(label.changes, 1);
}

}  // namespace
}  // namespace lumeno
