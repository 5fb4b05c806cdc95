// The portable half of the hyperlink label: the link types with their scheme
// prefixes, the LinkType / HyperLink / Caption rules and the target they
// build. The Win32 control (LinkLabel_win.h) draws it and opens the target.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace lumeno {

// Ordinals and names are fixed: window descriptions store the names.
enum tLinkType : std::uint8_t {
  ltfile,
  ltftp,
  ltgopher,
  lthttp,
  lthttps,
  ltmailto,
  ltnews,
  lttelnet,
  ltwais,
};
inline constexpr int kLinkTypeCount = 9;

// Lower-case scheme prefix of a link type; empty for a value outside the
// enumeration (which the label never stores).
std::string_view LinkPrefix(tLinkType type);
// Enumerator name ("lthttp"), empty for a value outside the enumeration.
std::string_view LinkTypeName(tLinkType type);

class TLinkLabelCore {
 public:
  // Turns an ANSI HyperLink into caption text. The default maps each byte to
  // the code point of the same value; the Win32 control uses the ANSI code page.
  using TWidenFn = std::wstring (*)(std::string_view ansi);

  explicit TLinkLabelCore(TWidenFn widen = nullptr);
  virtual ~TLinkLabelCore() = default;
  TLinkLabelCore(const TLinkLabelCore&) = delete;
  TLinkLabelCore& operator=(const TLinkLabelCore&) = delete;

  tLinkType LinkType() const { return FLinkType; }
  // Stored when it differs; nothing is redrawn, only the next target changes.
  // A value outside the enumeration is ignored.
  void SetLinkType(tLinkType value);

  const std::string& HyperLink() const { return FHyperLink; }
  // Stored as given (no scheme is recognised or stripped). An empty caption
  // takes the new text; a caption that is not empty is left alone.
  void SetHyperLink(std::string_view value);

  const std::wstring& Caption() const { return FCaption; }
  void SetCaption(std::wstring_view value);

  // What a press opens: the current prefix followed directly by HyperLink.
  std::string Target() const;

 protected:
  // Lets the control redraw and resize when the caption changes.
  virtual void CaptionChanged() {}

 private:
  tLinkType FLinkType = lthttp;
  std::string FHyperLink;
  std::wstring FCaption;
  TWidenFn FWiden;
};

}  // namespace lumeno
