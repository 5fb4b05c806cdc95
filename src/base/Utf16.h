// UTF-8 (the program's own strings) and UTF-16 (what Windows takes), converted
// strictly: text that is not valid in its form (a lone surrogate, an overlong
// or cut-off sequence) fails rather than turning into other text, so a stored
// path never quietly names another file.
#pragma once

#include <string>
#include <string_view>

namespace lumeno {

bool Utf8ToUtf16(std::string_view utf8, std::u16string& out);
bool Utf16ToUtf8(std::u16string_view utf16, std::string& out);

}  // namespace lumeno
