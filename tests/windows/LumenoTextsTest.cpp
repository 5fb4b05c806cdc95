#include "windows/LumenoTexts.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

namespace lumeno {
namespace {

// Code points of a wide string, whatever the width of wchar_t.
std::u32string CodePoints(std::wstring_view text) {
  std::u32string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    char32_t unit = static_cast<char32_t>(text[i]);
    if (sizeof(wchar_t) == 2 && unit >= 0xD800 && unit < 0xDC00 && i + 1 < text.size()) {
      const char32_t low = static_cast<char32_t>(text[i + 1]);
      if (low >= 0xDC00 && low < 0xE000) {
        out.push_back(0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
        ++i;
        continue;
      }
    }
    out.push_back(unit);
  }
  return out;
}

bool Contains(std::wstring_view text, std::wstring_view part) {
  return text.find(part) != std::wstring_view::npos;
}

std::vector<std::wstring_view> SplitCrLf(std::wstring_view text) {
  std::vector<std::wstring_view> lines;
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = text.find(L"\r\n", start);
    lines.push_back(text.substr(start, end == std::wstring_view::npos ? end : end - start));
    if (end == std::wstring_view::npos) return lines;
    start = end + 2;
  }
}

TEST(HelpTextTest, HasSixtyNineLinesOfAtMostFiftyFourCharacters) {
  ASSERT_EQ(std::size(kHelpLines), 69u);
  for (std::size_t i = 0; i < std::size(kHelpLines); ++i) {
    EXPECT_LE(CodePoints(kHelpLines[i]).size(), 54u) << "line " << i + 1;
    EXPECT_FALSE(Contains(kHelpLines[i], L"\n") || Contains(kHelpLines[i], L"\r")) << "line " << i + 1;
  }
}

TEST(HelpTextTest, SectionsSitOnTheirLines) {
  auto line = [](int number) { return kHelpLines[number - 1]; };
  EXPECT_EQ(line(19), L" ");
  EXPECT_EQ(line(20), L"ODDYCHANIE - FIZJOLOGIA");
  EXPECT_EQ(line(64), L"INSTRUKCJA");
  for (int empty : {2, 4, 12, 63}) EXPECT_EQ(line(empty), L"") << "line " << empty;
  EXPECT_EQ(line(3).substr(0, 3), L"Dr ");
  EXPECT_TRUE(Contains(line(3), L"(") && line(3).back() == L')');
  EXPECT_EQ(line(13).substr(0, 7), L"Lumeno ");
  // The title is in capitals (Polish ones included).
  const std::wstring_view title = line(1);
  EXPECT_FALSE(title.empty());
  for (wchar_t c : title) EXPECT_FALSE((c >= L'a' && c <= L'z') || Contains(L"ąćęłńóśźż", {&c, 1}));
  for (int number : {5, 11, 13, 18, 21, 62, 65, 69}) EXPECT_NE(line(number), L"") << "line " << number;
}

TEST(HelpTextTest, PhysiologyEndsWithTheRecommendedCycle) {
  std::wstring physiology;
  for (int number = 21; number <= 62; ++number) physiology += std::wstring(kHelpLines[number - 1]) + L" ";
  EXPECT_TRUE(Contains(physiology, L"5-6 cykli na minutę"));
  EXPECT_TRUE(Contains(physiology, L"10 sekund"));
  // In, pause, out, pause: 3 s, 0,5 s, 6 s, 0,5 s, in this order at the end.
  const std::size_t in = physiology.find(L"wdech: 3 s");
  const std::size_t hold = physiology.find(L"pauza: 0,5 s", in);
  const std::size_t out = physiology.find(L"wydech: 6 s", hold);
  const std::size_t hold2 = physiology.find(L"pauza: 0,5 s", out);
  ASSERT_NE(hold2, std::wstring::npos);
  EXPECT_TRUE(in < hold && hold < out && out < hold2);
  EXPECT_EQ(kHelpLines[61], L"– pauza: 0,5 s.");
}

TEST(HelpTextTest, PolishLettersAreCodePointsNotBytes) {
  const std::wstring text = HelpText();
  const std::u32string points = CodePoints(text);
  // Every Polish letter, and a capital one from the title, as one code point.
  for (char32_t letter : std::u32string(U"ąćęłńóśźżĆ"))
    EXPECT_NE(points.find(letter), std::u32string::npos) << "U+" << std::hex << static_cast<unsigned>(letter);
  // No UTF-8 byte pairs leaked in as Latin-1 characters ("Ä", "Å").
  EXPECT_EQ(points.find(U'\u00C4'), std::u32string::npos);
  EXPECT_EQ(points.find(U'\u00C5'), std::u32string::npos);
  EXPECT_EQ(std::u32string(CodePoints(kHelpLines[0])), U"ĆWICZENIE ODDECHU PRZEPONOWEGO");
}

TEST(HelpTextTest, JoinedTextSplitsBackIntoTheLines) {
  const std::wstring text = HelpText();
  const std::vector<std::wstring_view> lines = SplitCrLf(text);
  ASSERT_EQ(lines.size(), 69u);
  EXPECT_TRUE(std::equal(lines.begin(), lines.end(), std::begin(kHelpLines)));
  EXPECT_NE(text.substr(text.size() - 2), L"\r\n");
}

TEST(AboutTextTest, LegalNoticeHasNineLinesWithTheYear) {
  ASSERT_EQ(std::size(kLegalNoticeLines), 9u);
  EXPECT_TRUE(Contains(kLegalNoticeLines[0], L"2026"));
  EXPECT_TRUE(Contains(kLegalNoticeLines[0], L"All rights reserved."));
  EXPECT_EQ(kLegalNoticeLines[1], L"");
  std::wstring warning;
  for (int i = 2; i < 9; ++i) {
    EXPECT_NE(kLegalNoticeLines[i], L"") << "line " << i + 1;
    warning += std::wstring(kLegalNoticeLines[i]) + L" ";
  }
  EXPECT_TRUE(Contains(warning, L"reproduction or distribution"));
  EXPECT_EQ(SplitCrLf(LegalNoticeText()).size(), 9u);
}

TEST(AboutTextTest, CreditLineReadsOnIntoTheLink) {
  EXPECT_TRUE(kCreditLine.size() > 5 && kCreditLine.substr(kCreditLine.size() - 5) == L" oraz");
  EXPECT_TRUE(Contains(kCreditLine, L"dr "));
}

TEST(AboutTextTest, MakerHostHasNoScheme) {
  const std::string_view host = kMakerHost;
  EXPECT_EQ(host.find("://"), std::string_view::npos);
  EXPECT_EQ(std::wstring(host.begin(), host.end()), kMakerHostW);
}

}  // namespace
}  // namespace lumeno
