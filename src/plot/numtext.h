// Reading numbers from text and writing numbers as text, the same way in every window.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kv {

// Lenient reading: blanks, tabs and line feeds are ignored, the longest leading number
// is read and the rest dropped; a text with no leading number reads as 0.
// "&H" and "&O" read a hexadecimal or octal whole number. Full-width digits, signs and
// points (as a Japanese input method types them) read like their ASCII forms.
// A number too large for a double reads as +/-infinity; callers that show or compute
// with it must check (see ValFinite).
double Val(std::string_view text);

// Val, or nothing when the leading number is too large for a double.
std::optional<double> ValFinite(std::string_view text);

// Strict reading: the whole text, apart from leading and trailing blanks, must be one
// number. Anything else (also the empty text, or a value beyond a double) gives nothing.
std::optional<double> StrictNumber(std::string_view text);

// True when the whole text is a number, but one too large for a double.
bool IsNumberTooLarge(std::string_view text);

// Shortest text (at most 15 significant digits) that reads back as the value:
// 0.7, -0.25, 24, 1E-05, 1.5E+16.
std::string GeneralText(double value);

// The same for a single-precision value (at most 7 significant digits, exponent form
// from 1E+07).
std::string GeneralTextSingle(float value);

// Fixed patterns: "#0.000000", "#0.00000", "#0.0000", "#0.000", "#0.00", "#.00000",
// "##00", "##0". Rounds halves away from zero at the pattern's last decimal.
// An unknown pattern gives the general text.
std::string Format(double value, std::string_view pattern);

}  // namespace kv
