#include "controls/LinkLabel.h"

namespace lumeno {

namespace {

struct TLinkTypeInfo {
  std::string_view name;
  std::string_view prefix;
};

constexpr TLinkTypeInfo kLinkTypes[kLinkTypeCount] = {
    {"ltfile", "file://"},   {"ltftp", "ftp://"},     {"ltgopher", "gopher://"},
    {"lthttp", "http://"},   {"lthttps", "https://"}, {"ltmailto", "mailto:"},
    {"ltnews", "news:"},     {"lttelnet", "telnet:"}, {"ltwais", "wais:"},
};

bool IsValid(tLinkType type) { return static_cast<unsigned>(type) < kLinkTypeCount; }

std::wstring WidenBytes(std::string_view ansi) {
  std::wstring wide;
  wide.reserve(ansi.size());
  for (char c : ansi) wide.push_back(static_cast<wchar_t>(static_cast<unsigned char>(c)));
  return wide;
}

}  // namespace

std::string_view LinkPrefix(tLinkType type) {
  return IsValid(type) ? kLinkTypes[type].prefix : std::string_view();
}

std::string_view LinkTypeName(tLinkType type) {
  return IsValid(type) ? kLinkTypes[type].name : std::string_view();
}

TLinkLabelCore::TLinkLabelCore(TWidenFn widen) : FWiden(widen ? widen : &WidenBytes) {}

void TLinkLabelCore::SetLinkType(tLinkType value) {
  if (IsValid(value) && value != FLinkType) FLinkType = value;
}

void TLinkLabelCore::SetHyperLink(std::string_view value) {
  FHyperLink.assign(value);
  if (FCaption.empty()) SetCaption(FWiden(FHyperLink));
}

void TLinkLabelCore::SetCaption(std::wstring_view value) {
  if (FCaption == value) return;
  FCaption.assign(value);
  CaptionChanged();
}

std::string TLinkLabelCore::Target() const {
  std::string target(LinkPrefix(FLinkType));
  target += FHyperLink;
  return target;
}

}  // namespace lumeno
