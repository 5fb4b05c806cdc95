// The dialog's figure format for any int32, against a second formatter kept
// deliberately plain: it works on the decimal digits as a string (round the
// digit string, pad with zeros, place the point), with no division and no
// floating point. Both locales' separators.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "exercise/BreathingPattern.h"

namespace {

// The magnitude's decimal digits, most significant first.
std::string Digits(int32_t v) {
  std::string s = std::to_string(static_cast<long long>(v));
  return s[0] == '-' ? s.substr(1) : s;
}

// Adds one to a digit string ("999" -> "1000").
std::string Increment(std::string s) {
  for (size_t i = s.size(); i-- > 0;) {
    if (s[i] != '9') {
      ++s[i];
      return s;
    }
    s[i] = '0';
  }
  return "1" + s;
}

std::string Reference(int32_t tenths, const std::string& sep) {
  const std::string sign = tenths < 0 ? "-" : "";
  std::string digits = Digits(tenths);  // in tenths: the last digit is the decimal
  // At most three significant digits (the decimal counts); the next digit
  // decides the rounding, 5 or more going up.
  std::string kept = digits.substr(0, 3);
  size_t zeros = digits.size() > 3 ? digits.size() - 3 : 0;
  if (zeros > 0 && digits[3] >= '5') kept = Increment(kept);
  if (kept.size() > 3) {  // a carry into a fourth digit: "1000" keeps "100"
    kept.pop_back();
    ++zeros;
  }
  const std::string rounded = kept + std::string(zeros, '0');
  const std::string whole = rounded.size() > 1 ? rounded.substr(0, rounded.size() - 1) : "0";
  if (whole.size() <= 3) return sign + whole + sep + rounded.substr(rounded.size() - 1);
  // Scientific: the first digit, the other kept digits without trailing zeros.
  std::string rest = kept.substr(1);
  while (!rest.empty() && rest.back() == '0') rest.pop_back();
  return sign + kept.substr(0, 1) + (rest.empty() ? "" : sep + rest) + "E" + std::to_string(whole.size() - 1);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 4) return 0;
  int32_t v;
  std::memcpy(&v, data, 4);
  for (const char* sep : {".", ","}) {
    const std::string got = lumeno::FormatTenths(v, sep);
    const std::string want = Reference(v, sep);
    if (got != want) {
      std::fprintf(stderr, "FormatTenths(%d, \"%s\") gave \"%s\", expected \"%s\"\n", v, sep, got.c_str(),
                   want.c_str());
      std::abort();
    }
  }
  return 0;
}
