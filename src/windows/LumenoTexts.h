// The program's fixed texts: the about window's notice and credit line, the
// help text and the maker's host name. The source is UTF-8 and the texts are
// wide strings, so the Polish letters show right whatever the ANSI code page.
#pragma once

#include <cstddef>
#include <iterator>
#include <string>
#include <string_view>

namespace lumeno {

// The maker's web site, host name only: the link label puts "http://" in
// front. HyperLink is an ANSI string, hence the narrow copy.
inline constexpr char kMakerHost[] = "lumeno.example.com";
inline constexpr wchar_t kMakerHostW[] = L"lumeno.example.com";

// About window, Memo1. Every line fits the memo's 207 pixels unwrapped, also
// in Wine's wider stand-in for "MS Sans Serif", so all nine stay in view;
// hence no company name in line 1 (the version record's LegalCopyright has it).
inline constexpr std::wstring_view kLegalNoticeLines[] = {
    L"© 2026. All rights reserved.",
    L"",
    L"This program is protected by",
    L"copyright law and international",
    L"treaties. Unauthorised copying,",
    L"reproduction or distribution of",
    L"this program, or of any part of it,",
    L"may result in severe civil and",
    L"criminal penalties.",
};
static_assert(std::size(kLegalNoticeLines) == 9);

// About window, Memo2: reads on into the link label directly beneath it.
inline constexpr std::wstring_view kCreditLine = L"Opracowanie: dr Jan Nowak oraz";

// Instruction window. Hard line breaks, none over 54 characters; the line
// numbers of the headings are fixed (20 and 64), line 19 is a single space.
// The lines are kept short enough not to wrap in the 379-pixel box, also in
// Wine's wider stand-in for "MS Serif".
inline constexpr std::wstring_view kHelpLines[] = {
    L"ĆWICZENIE ODDECHU PRZEPONOWEGO",
    L"",
    L"Dr Nowak (Pracownia Psychofizjologii)",
    L"",
    L"Właściwy sposób oddychania jest",
    L"kluczem do odprężenia umysłu i ciała.",
    L"Głębokie oddychanie przeponą pozwala",
    L"obniżyć poziom lęku, napięcia i stresu,",
    L"uwolnić się od negatywnych myśli",
    L"i emocji, a także skupić się na zadaniu,",
    L"które właśnie mamy do wykonania.",
    L"",
    L"Lumeno to program komputerowy, który",
    L"dźwiękiem i obrazem optymalnego",
    L"oddechu przeponowego uczy rytmu",
    L"oddychania, który odpręża i uspokaja",
    L"umysł. Wystarczy oddychać w takt",
    L"wznoszącego się i opadającego paska.",
    L" ",
    L"ODDYCHANIE - FIZJOLOGIA",
    L"Oddychanie przebiega zwykle bez",
    L"udziału świadomości. Małe dzieci",
    L"oddychają dolną częścią brzucha,",
    L"który przy wdechu łagodnie się unosi,",
    L"a przy wydechu opada; ruch ten",
    L"napędza przepona – mięsień",
    L"oddzielający klatkę piersiową od",
    L"jamy brzusznej. Dorośli często",
    L"przechodzą na płytki oddech",
    L"piersiowy przy usztywnionym",
    L"brzuchu, tym bardziej, im częściej",
    L"odczuwają lęk i napięcie.",
    L"",
    L"Lęk wiąże się z pobudzeniem",
    L"współczulnego układu nerwowego, który",
    L"przygotowuje organizm do reakcji „walcz",
    L"lub uciekaj”. Serce bije wtedy szybciej,",
    L"rośnie ciśnienie krwi, mięśnie się",
    L"napinają, a oddech staje się szybszy",
    L"i płytszy. Może też dojść do",
    L"hiperwentylacji, czyli oddychania zbyt",
    L"szybkiego i zbyt głębokiego w stosunku",
    L"do potrzeb organizmu, co często jeszcze",
    L"nasila uczucie niepokoju.",
    L"",
    L"Powolne oddychanie przeponą działa",
    L"odwrotnie: obniża aktywność układu",
    L"współczulnego, a zwiększa",
    L"aktywność przywspółczulnego,",
    L"odpowiedzialnego za odpoczynek.",
    L"Mięśnie się rozluźniają, serce zwalnia,",
    L"a organizm odpręża się i regeneruje.",
    L"Oddychanie w tempie 5-6 cykli na",
    L"minutę przywraca równowagę",
    L"między obydwoma układami.",
    L"",
    L"Szczególnie polecany jest cykl trwający",
    L"łącznie 10 sekund:",
    L"– wdech: 3 s,",
    L"– pauza: 0,5 s,",
    L"– wydech: 6 s,",
    L"– pauza: 0,5 s.",
    L"",
    L"INSTRUKCJA",
    L"Ćwicz z programem Lumeno 10 minut",
    L"co najmniej raz dziennie, aż nauczysz się",
    L"tak oddychać bez niego, by sięgać po tę",
    L"umiejętność w chwilach stresu, napięcia",
    L"i innych negatywnych emocji.",
};
static_assert(std::size(kHelpLines) == 69);

// Lines joined with CR LF, as edit and rich-edit controls expect; no break
// after the last line, so the box shows no empty line at the end.
template <std::size_t N>
std::wstring JoinLines(const std::wstring_view (&lines)[N]) {
  std::wstring text;
  for (std::size_t i = 0; i < N; ++i) {
    if (i != 0) text += L"\r\n";
    text += lines[i];
  }
  return text;
}

inline std::wstring LegalNoticeText() { return JoinLines(kLegalNoticeLines); }
inline std::wstring HelpText() { return JoinLines(kHelpLines); }

}  // namespace lumeno
