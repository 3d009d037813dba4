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

// The same for a single-precision value: at most 7 significant digits. Whether the
// exponent form is used is decided on those digits, so the single nearest 1E+15, just
// below it, is written 1E+15.
std::string GeneralTextSingle(float value);

// The fixed patterns of Format. '0' always shows a digit, '#' only a significant one; the
// integer part grows as the value needs, nothing is cut.
inline constexpr std::string_view kFixed6 = "#0.000000";   // 0.731049
inline constexpr std::string_view kFixed5 = "#0.00000";    // 0.50000
inline constexpr std::string_view kFixed4 = "#0.0000";     // 2.0000
inline constexpr std::string_view kFixed3 = "#0.000";      // 0.123
inline constexpr std::string_view kFixed2 = "#0.00";       // -2.00
inline constexpr std::string_view kFraction5 = "#.00000";  // .50000 (no leading 0)
inline constexpr std::string_view kTwoDigits = "##00";     // 05
inline constexpr std::string_view kWhole = "##0";          // 8
inline constexpr std::string_view kGeneralPattern = "";    // the general text

// Whether Format knows the pattern (one of the constants above).
bool IsFormatPattern(std::string_view pattern);

// The value in one of the patterns above, rounding halves away from zero at the pattern's
// last decimal. Any other pattern is a mistake in the program: a debug build stops on it
// (assert), a release build gives the general text.
std::string Format(double value, std::string_view pattern);

}  // namespace kv
