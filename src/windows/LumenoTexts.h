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

// About window, Memo1. Line 1 is also the version record's LegalCopyright.
inline constexpr std::wstring_view kLegalNoticeLines[] = {
    L"© 2026 Quorvale. All rights reserved.",
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
inline constexpr std::wstring_view kHelpLines[] = {
    L"ĆWICZENIE ODDECHU PRZEPONOWEGO",
    L"",
    L"Dr Nowak (Pracownia Psychofizjologii Oddechu)",
    L"",
    L"Właściwy sposób oddychania jest kluczem do",
    L"odprężenia umysłu i ciała. Głębokie",
    L"oddychanie przeponą pozwala obniżyć poziom",
    L"lęku, napięcia i stresu, uwolnić się od",
    L"negatywnych myśli i emocji, a także skupić",
    L"się na zadaniu, które właśnie mamy do",
    L"wykonania.",
    L"",
    L"Lumeno to program komputerowy, który za pomocą",
    L"dźwięku oraz obrazu optymalnego oddechu",
    L"przeponowego uczy rytmu oddychania odprężającego",
    L"i uspokajającego umysł. Wystarczy oddychać",
    L"w takt wznoszącego się i opadającego paska oraz",
    L"towarzyszących mu dźwięków.",
    L" ",
    L"ODDYCHANIE - FIZJOLOGIA",
    L"Oddychanie przebiega zwykle bez udziału",
    L"świadomości: oddychamy, nie myśląc o tym,",
    L"także we śnie. Małe dzieci oddychają dolną",
    L"częścią brzucha, który przy każdym wdechu",
    L"łagodnie się unosi, a przy wydechu opada.",
    L"Ruch ten napędza przepona – płaski mięsień",
    L"oddzielający klatkę piersiową od jamy",
    L"brzusznej. Z wiekiem większość dorosłych",
    L"przechodzi na płytki oddech piersiowy,",
    L"przy usztywnionym, wciągniętym brzuchu.",
    L"Dzieje się tak tym bardziej, im częściej",
    L"odczuwamy lęk i napięcie.",
    L"",
    L"Lęk wiąże się z pobudzeniem współczulnego",
    L"układu nerwowego, który przygotowuje",
    L"organizm do reakcji „walcz lub uciekaj”.",
    L"Serce bije wtedy szybciej, rośnie",
    L"ciśnienie krwi, mięśnie się napinają,",
    L"a oddech staje się szybszy i płytszy. Może",
    L"też dojść do hiperwentylacji, czyli",
    L"oddychania zbyt szybkiego i zbyt",
    L"głębokiego w stosunku do potrzeb",
    L"organizmu, co często jeszcze nasila",
    L"uczucie niepokoju.",
    L"",
    L"Powolne oddychanie przeponą działa",
    L"odwrotnie: obniża aktywność układu",
    L"współczulnego i zwiększa aktywność układu",
    L"przywspółczulnego, odpowiedzialnego za",
    L"odpoczynek. Zmniejsza się napięcie mięśni,",
    L"serce zwalnia, a organizm odpręża się",
    L"i regeneruje siły. Oddychanie w tempie 5-6",
    L"cykli na minutę przywraca równowagę między",
    L"obydwoma układami i sprzyja wewnętrznemu",
    L"spokojowi.",
    L"",
    L"Szczególnie polecany jest cykl trwający",
    L"łącznie 10 sekund:",
    L"– wdech: 3 s,",
    L"– pauza: 0,5 s,",
    L"– wydech: 6 s,",
    L"– pauza: 0,5 s.",
    L"",
    L"INSTRUKCJA",
    L"Ćwicz oddychanie z programem Lumeno co najmniej",
    L"raz dziennie przez 10 minut, aż nauczysz się",
    L"oddychać w ten sposób bez jego pomocy. Wtedy",
    L"możesz sięgać po tę umiejętność w chwilach",
    L"stresu, napięcia lub innych negatywnych emocji.",
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
