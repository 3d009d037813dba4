#include "plot/numtext.h"

#include <cassert>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <algorithm>
#include <limits>
#include <locale.h>

namespace kv {
namespace {

// Full-width forms an input method produces, and the ideographic space, mapped to ASCII.
std::string Normalise(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c == 0xEF && i + 2 < text.size()) {
            const auto b1 = static_cast<unsigned char>(text[i + 1]);
            const auto b2 = static_cast<unsigned char>(text[i + 2]);
            // U+FF01..U+FF5E lie at EF BC 81..EF BD 9E and map to '!'..'~'.
            int code = -1;
            if (b1 == 0xBC && b2 >= 0x81 && b2 <= 0xBF) code = 0x21 + (b2 - 0x81);
            if (b1 == 0xBD && b2 >= 0x80 && b2 <= 0x9E) code = 0x60 + (b2 - 0x80);
            if (code >= 0) {
                out.push_back(static_cast<char>(code));
                i += 2;
                continue;
            }
        }
        if (c == 0xE3 && i + 2 < text.size() && static_cast<unsigned char>(text[i + 1]) == 0x80 &&
            static_cast<unsigned char>(text[i + 2]) == 0x80) {
            out.push_back(' ');
            i += 2;
            continue;
        }
        if (c == 0xE2 && i + 2 < text.size() && static_cast<unsigned char>(text[i + 1]) == 0x88 &&
            static_cast<unsigned char>(text[i + 2]) == 0x92) {  // U+2212 minus sign
            out.push_back('-');
            i += 2;
            continue;
        }
        out.push_back(static_cast<char>(c));
    }
    return out;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

// Reads with the C locale whatever the program's locale says about the decimal point.
double ParseDecimal(const std::string& ascii) {
    static const locale_t c_locale = newlocale(LC_ALL_MASK, "C", nullptr);
    return strtod_l(ascii.c_str(), nullptr, c_locale);
}

// A tenth of the largest double rounded up to the 15 significant digits the general text
// keeps (1.79769313486232E+308 is just past the largest double).
constexpr double kLargestWrittenTenth = 1.79769313486232e307;

struct Scan {
    std::size_t end = 0;   // characters consumed
    double value = 0.0;
    bool ok = false;       // a number was found
};

int DigitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return 99;
}

// The longest number at the start of s (no blanks inside).
Scan ScanNumber(const std::string& s) {
    Scan r;
    if (s.size() >= 2 && s[0] == '&' && (s[1] == 'H' || s[1] == 'h' || s[1] == 'O' || s[1] == 'o')) {
        const int base = (s[1] == 'H' || s[1] == 'h') ? 16 : 8;
        std::size_t i = 2;
        double v = 0;
        while (i < s.size() && DigitValue(s[i]) < base) v = v * base + DigitValue(s[i++]);
        r.end = i;
        r.value = v;
        r.ok = i > 2;
        return r;
    }
    std::size_t i = 0;
    std::string ascii;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ascii.push_back(s[i++]);
    std::size_t digits = 0;
    while (i < s.size() && IsDigit(s[i])) { ascii.push_back(s[i++]); ++digits; }
    if (i < s.size() && s[i] == '.') {
        ascii.push_back(s[i++]);
        while (i < s.size() && IsDigit(s[i])) { ascii.push_back(s[i++]); ++digits; }
    }
    if (digits == 0) return r;
    const std::string mantissa = ascii;
    long exponent = 0;  // clamped far beyond any double
    if (i < s.size() && (s[i] == 'E' || s[i] == 'e' || s[i] == 'D' || s[i] == 'd')) {
        std::size_t j = i + 1;
        std::string exp = "e";
        if (j < s.size() && (s[j] == '+' || s[j] == '-')) exp.push_back(s[j++]);
        const std::size_t first = j;
        while (j < s.size() && IsDigit(s[j])) {
            exponent = std::min(exponent * 10 + (s[j] - '0'), 1000000L);
            exp.push_back(s[j++]);
        }
        if (j > first) {  // an exponent marker with no digits is not part of the number
            if (exp[1] == '-') exponent = -exponent;
            ascii += exp;
            i = j;
        }
    }
    r.end = i;
    r.value = ParseDecimal(ascii);
    r.ok = true;
    // The largest double written with 15 digits lies just past it: a text the program
    // wrote itself must read back, so such digits saturate.
    if (std::isinf(r.value) &&
        std::fabs(ParseDecimal(mantissa + "e" + std::to_string(exponent - 1))) <= kLargestWrittenTenth)
        r.value = std::copysign(std::numeric_limits<double>::max(), r.value);
    return r;
}

// Digits and decimal exponent of |value| written with `precision` significant digits.
struct Decimal {
    std::string digits;  // no leading zero; trailing zeros kept
    int exponent = 0;    // power of ten of the first digit
};

Decimal ToDecimal(double value, int precision) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*e", precision - 1, std::fabs(value));
    Decimal d;
    const char* p = buf;
    for (; *p && *p != 'e'; ++p)
        if (IsDigit(*p)) d.digits.push_back(*p);
    d.exponent = (*p == 'e') ? std::atoi(p + 1) : 0;
    return d;
}

std::string Compose(bool negative, Decimal d, int exponent_from) {
    while (d.digits.size() > 1 && d.digits.back() == '0') d.digits.pop_back();
    std::string out = negative ? "-" : "";
    const int e = d.exponent;
    if (e >= exponent_from || e < -4) {
        out += d.digits[0];
        if (d.digits.size() > 1) {
            out += '.';
            out.append(d.digits, 1);
        }
        char exp[16];
        std::snprintf(exp, sizeof exp, "E%c%02d", e < 0 ? '-' : '+', std::abs(e));
        return out + exp;
    }
    if (e < 0) return out + "0." + std::string(static_cast<std::size_t>(-e - 1), '0') + d.digits;
    const auto int_len = static_cast<std::size_t>(e + 1);
    if (d.digits.size() <= int_len) return out + d.digits + std::string(int_len - d.digits.size(), '0');
    return out + d.digits.substr(0, int_len) + "." + d.digits.substr(int_len);
}

template <typename T>
std::string GeneralOf(T value, int max_digits, int exponent_from) {
    if (std::isnan(value)) return "NaN";
    if (std::isinf(value)) return value < 0 ? "-Infinity" : "Infinity";
    if (value == 0) return "0";
    Decimal best = ToDecimal(value, max_digits);
    for (int p = 1; p < max_digits; ++p) {
        Decimal d = ToDecimal(value, p);
        std::string text = d.digits + "e" + std::to_string(d.exponent - p + 1);
        if (static_cast<T>(ParseDecimal(text)) == std::fabs(value)) {
            best = d;
            break;
        }
    }
    return Compose(value < 0, best, exponent_from);
}

}  // namespace

double Val(std::string_view text) {
    std::string s;
    for (char c : Normalise(text))
        if (!IsBlank(c)) s.push_back(c);
    const Scan r = ScanNumber(s);
    return r.ok ? r.value : 0.0;
}

std::optional<double> ValFinite(std::string_view text) {
    const double v = Val(text);
    if (!std::isfinite(v)) return std::nullopt;
    return v;
}

namespace {
// The whole text, blanks trimmed, as one number (possibly infinite), or nothing.
std::optional<double> WholeNumber(std::string_view text) {
    std::string s = Normalise(text);
    std::size_t b = 0, e = s.size();
    while (b < e && IsBlank(s[b])) ++b;
    while (e > b && IsBlank(s[e - 1])) --e;
    s = s.substr(b, e - b);
    const Scan r = ScanNumber(s);
    if (!r.ok || r.end != s.size()) return std::nullopt;
    return r.value;
}
}  // namespace

std::optional<double> StrictNumber(std::string_view text) {
    const auto v = WholeNumber(text);
    if (!v || !std::isfinite(*v)) return std::nullopt;
    return v;
}

bool IsNumberTooLarge(std::string_view text) {
    const auto v = WholeNumber(text);
    return v && std::isinf(*v);
}

std::string GeneralText(double value) { return GeneralOf<double>(value, 15, 15); }

std::string GeneralTextSingle(float value) { return GeneralOf<float>(value, 7, 15); }

bool IsFormatPattern(std::string_view pattern) {
    for (std::string_view known : {kFixed6, kFixed5, kFixed4, kFixed3, kFixed2, kFraction5, kTwoDigits, kWhole, kGeneralPattern})
        if (pattern == known) return true;
    return false;
}

std::string Format(double value, std::string_view pattern) {
    assert(IsFormatPattern(pattern) && "Format pattern without a constant in numtext.h");
    if (!IsFormatPattern(pattern)) return GeneralText(value);
    const auto point = pattern.find('.');
    const std::string_view int_pat = pattern.substr(0, point);
    const std::string_view dec_pat = point == std::string_view::npos ? "" : pattern.substr(point + 1);
    auto only = [](std::string_view s, std::string_view allowed) {
        return s.find_first_not_of(allowed) == std::string_view::npos;
    };
    if (pattern.empty() || !only(int_pat, "#0") || !only(dec_pat, "0") || !std::isfinite(value))
        return GeneralText(value);
    std::size_t min_int = 0;
    for (char c : int_pat) min_int += (c == '0');
    const int decimals = static_cast<int>(dec_pat.size());

    // Round the 15-digit decimal form, not the binary value, so that 2.675 gives 2.68.
    std::string scaled;  // |value| * 10^decimals, rounded, as digits
    if (value != 0) {
        Decimal d = ToDecimal(value, 15);
        const int keep = d.exponent + 1 + decimals;  // digits up to the last decimal
        if (keep >= 0 && keep < 15) {
            const bool up = d.digits[static_cast<std::size_t>(keep)] >= '5';
            d.digits.resize(static_cast<std::size_t>(keep));
            if (up) {
                int i = keep - 1;
                while (i >= 0 && d.digits[static_cast<std::size_t>(i)] == '9') d.digits[static_cast<std::size_t>(i--)] = '0';
                if (i >= 0) ++d.digits[static_cast<std::size_t>(i)];
                else d.digits.insert(d.digits.begin(), '1');
            }
            scaled = d.digits;
        } else if (keep >= 15) {
            scaled = d.digits + std::string(static_cast<std::size_t>(keep - 15), '0');
        }
    }
    const auto first = scaled.find_first_not_of('0');
    scaled = first == std::string::npos ? "" : scaled.substr(first);
    const bool negative = value < 0 && !scaled.empty();
    if (scaled.size() < static_cast<std::size_t>(decimals)) scaled.insert(0, static_cast<std::size_t>(decimals) - scaled.size(), '0');
    std::string int_part = scaled.substr(0, scaled.size() - static_cast<std::size_t>(decimals));
    const std::string dec_part = scaled.substr(scaled.size() - static_cast<std::size_t>(decimals));
    if (int_part.size() < min_int) int_part.insert(0, min_int - int_part.size(), '0');
    std::string out = negative ? "-" : "";
    out += int_part;
    if (decimals > 0) out += "." + dec_part;
    return out;
}

}  // namespace kv
