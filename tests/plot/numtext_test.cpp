#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "plot/numtext.h"

using kv::Format;
using kv::GeneralText;
using kv::GeneralTextSingle;
using kv::StrictNumber;
using kv::Val;

TEST(Val, ReadsTheLongestLeadingNumberAndIgnoresBlanks) {
    EXPECT_EQ(Val("0.5"), 0.5);
    EXPECT_EQ(Val("12abc"), 12);
    EXPECT_EQ(Val("abc"), 0);
    EXPECT_EQ(Val(""), 0);
    EXPECT_EQ(Val(" 1 2"), 12);
    EXPECT_EQ(Val("1\t2\n3"), 123);
    EXPECT_EQ(Val("1e2"), 100);
    EXPECT_EQ(Val("1D2"), 100);
    EXPECT_EQ(Val("-.5x"), -0.5);
    EXPECT_EQ(Val("+3"), 3);
    EXPECT_EQ(Val("1.5.2"), 1.5);
}

TEST(Val, PartialTextsWhileTypingReadAsWhatTheyHold) {
    EXPECT_EQ(Val("-"), 0);
    EXPECT_EQ(Val("."), 0);
    EXPECT_EQ(Val("-."), 0);
    EXPECT_EQ(Val("1e"), 1);    // an exponent marker without digits is not read
    EXPECT_EQ(Val("2e-"), 2);
    EXPECT_EQ(Val("--5"), 0);
    EXPECT_EQ(Val("&H"), 0);
}

TEST(Val, ReadsHexAndOctalAndFullWidthForms) {
    EXPECT_EQ(Val("&H1F"), 31);
    EXPECT_EQ(Val("&hff"), 255);
    EXPECT_EQ(Val("&O17"), 15);
    EXPECT_EQ(Val("&O19"), 1);  // 9 is no octal digit
    EXPECT_EQ(Val("０．５"), 0.5);
    EXPECT_EQ(Val("－２"), -2);
    EXPECT_EQ(Val("\u3000３"), 3);
}

TEST(Val, HugeExponentsOverflowToInfinityAndAreFlagged) {
    EXPECT_TRUE(std::isinf(Val("1e999")));
    EXPECT_FALSE(kv::ValFinite("1e999").has_value());
    EXPECT_FALSE(kv::ValFinite("-1e400").has_value());
    EXPECT_EQ(Val("1e-999"), 0);  // underflow is just a tiny number
    EXPECT_EQ(kv::ValFinite("1e308").value(), 1e308);
}

TEST(StrictNumber, AcceptsOnlyAWholeNumber) {
    EXPECT_EQ(StrictNumber("0.5"), 0.5);
    EXPECT_EQ(StrictNumber("  -2.5e3  "), -2500);
    EXPECT_EQ(StrictNumber(".5"), 0.5);
    EXPECT_EQ(StrictNumber("5."), 5);
    EXPECT_EQ(StrictNumber("&H10"), 16);
    EXPECT_EQ(StrictNumber("１"), 1);
    for (const char* bad : {"", "  ", "abc", "12abc", "1 2", "-", ".", "1e", "1e+", "&H", "1.2.3", "--1", "1e999", "nan", "inf"})
        EXPECT_FALSE(StrictNumber(bad).has_value()) << '"' << bad << '"';
    EXPECT_TRUE(kv::IsNumberTooLarge("1e999"));
    EXPECT_FALSE(kv::IsNumberTooLarge("abc"));
}

TEST(StrictNumber, ReadsBackEveryTextTheProgramWritesAtTheEdgeOfADouble) {
    constexpr double kMax = std::numeric_limits<double>::max();
    for (double v : {kMax, -kMax, std::nextafter(kMax, 0.0), 1.7976931348623e308, 1e308})
        for (const std::string& text : {GeneralText(v), kv::Format(v, kv::kFixed2)}) {
            const auto back = StrictNumber(text);
            ASSERT_TRUE(back.has_value()) << text;
            EXPECT_NEAR(*back / v, 1.0, 1e-14) << text;
            EXPECT_EQ(Val(text), *back) << text;
        }
    // Digits that round to just past the largest double saturate; beyond that is too large.
    EXPECT_EQ(StrictNumber("1.79769313486232E+308"), kMax);
    EXPECT_EQ(StrictNumber("-17976931348623.2e295"), -kMax);
    for (const char* huge : {"1.79769313486233E+308", "1.8e308", "2e308"}) EXPECT_TRUE(kv::IsNumberTooLarge(huge)) << huge;
}

TEST(GeneralText, ShortestRoundTripWithAtMost15Digits) {
    EXPECT_EQ(GeneralText(0.7), "0.7");
    EXPECT_EQ(GeneralText(-0.25), "-0.25");
    EXPECT_EQ(GeneralText(24), "24");
    EXPECT_EQ(GeneralText(0), "0");
    EXPECT_EQ(GeneralText(-0.0), "0");
    EXPECT_EQ(GeneralText(0.1 + 0.2), "0.3");
    EXPECT_EQ(GeneralText(0.5 * 0.3 + 1 * 0.5 + 0.2), "0.85");
    EXPECT_EQ(GeneralText(1.0 / 3), "0.333333333333333");
    EXPECT_EQ(GeneralText(0.731058578630005), "0.731058578630005");
    EXPECT_EQ(GeneralText(100.0 * (20.0 / 300.0)), "6.66666666666667");
    EXPECT_EQ(GeneralText(4), "4");
}

TEST(GeneralText, ExponentFormAtTheEdges) {
    EXPECT_EQ(GeneralText(1e-5), "1E-05");
    EXPECT_EQ(GeneralText(0.0001), "0.0001");
    EXPECT_EQ(GeneralText(0.00012345), "0.00012345");
    EXPECT_EQ(GeneralText(1.5e16), "1.5E+16");
    EXPECT_EQ(GeneralText(1e15), "1E+15");
    EXPECT_EQ(GeneralText(999999999999999), "999999999999999");
    EXPECT_EQ(GeneralText(-2.5e-7), "-2.5E-07");
    EXPECT_EQ(GeneralText(1e300), "1E+300");
    EXPECT_EQ(GeneralText(std::numeric_limits<double>::max()), "1.79769313486232E+308");
}

TEST(GeneralText, SinglePrecisionUsesSevenDigits) {
    EXPECT_EQ(GeneralTextSingle(0.1f), "0.1");
    EXPECT_EQ(GeneralTextSingle(1.0f / 3), "0.3333333");
    EXPECT_EQ(GeneralTextSingle(1234567.0f), "1234567");
    EXPECT_EQ(GeneralTextSingle(12345678.0f), "12345680");
    EXPECT_EQ(GeneralTextSingle(-2.2f), "-2.2");
    // The exponent form is chosen on the seven digits: the single nearest 1E+15 lies just below it.
    for (const auto& [v, text] : {std::pair{999999.9f, "999999.9"}, {1e6f, "1000000"}, {9.9999995e14f, "999999900000000"}, {1e15f, "1E+15"}})
        EXPECT_EQ(GeneralTextSingle(v), text) << text;
}

TEST(Format, EveryPatternOfTheTable) {
    EXPECT_EQ(Format(0.5, "#0.000000"), "0.500000");
    EXPECT_EQ(Format(-1.2345678, "#0.000000"), "-1.234568");
    EXPECT_EQ(Format(0.5, "#0.00000"), "0.50000");
    EXPECT_EQ(Format(2, "#0.0000"), "2.0000");
    EXPECT_EQ(Format(0.12345, "#0.000"), "0.123");
    EXPECT_EQ(Format(-2, "#0.00"), "-2.00");
    EXPECT_EQ(Format(5, "#0.00"), "5.00");
    EXPECT_EQ(Format(0.5, "#.00000"), ".50000");
    EXPECT_EQ(Format(1.5, "#.00000"), "1.50000");
    EXPECT_EQ(Format(-0.25, "#.00000"), "-.25000");
    EXPECT_EQ(Format(5, "##00"), "05");
    EXPECT_EQ(Format(123, "##00"), "123");
    EXPECT_EQ(Format(0, "##0"), "0");
    EXPECT_EQ(Format(7.6, "##0"), "8");
    EXPECT_EQ(Format(0.7, ""), "0.7");
}

TEST(Format, EveryNamedPatternGivesItsOwnDigits) {
    const double third = 1.0 / 3;
    EXPECT_EQ(Format(third, kv::kFixed6), "0.333333");
    EXPECT_EQ(Format(third, kv::kFixed5), "0.33333");
    EXPECT_EQ(Format(third, kv::kFixed4), "0.3333");
    EXPECT_EQ(Format(third, kv::kFixed3), "0.333");
    EXPECT_EQ(Format(third, kv::kFixed2), "0.33");
    EXPECT_EQ(Format(third, kv::kFraction5), ".33333");
    EXPECT_EQ(Format(third, kv::kTwoDigits), "00");
    EXPECT_EQ(Format(third, kv::kWhole), "0");
    EXPECT_EQ(Format(third, kv::kGeneralPattern), "0.333333333333333");
    EXPECT_EQ(Format(-2 / 3.0, kv::kFixed4), "-0.6667");
    EXPECT_EQ(Format(1234.5, kv::kTwoDigits), "1235");
}

TEST(Format, AnUnknownPatternIsAMistakeOfTheProgram) {
    for (const char* typo : {"#0.0000000", "0.00", "#,##0", "##0.0", "#0.000 "}) EXPECT_FALSE(kv::IsFormatPattern(typo)) << typo;
#ifndef NDEBUG
    EXPECT_DEATH(Format(0.5, "#0.0000000"), "Format pattern");
#else
    EXPECT_EQ(Format(0.5, "#0.0000000"), "0.5");  // a release build keeps the general text
#endif
}

TEST(Format, RoundsHalvesAwayFromZeroOnTheDecimalValue) {
    EXPECT_EQ(Format(0.0000004, "#0.000000"), "0.000000");
    EXPECT_EQ(Format(999.9999996, "#0.000000"), "1000.000000");
    EXPECT_EQ(Format(2.675, "#0.00"), "2.68");      // binary 2.67499999... still reads as 2.675
    EXPECT_EQ(Format(-2.5, "##0"), "-3");
    EXPECT_EQ(Format(0.5, "##0"), "1");
    EXPECT_EQ(Format(-0.0000001, "#0.000"), "0.000");  // no minus sign on a rounded zero
    EXPECT_EQ(Format(0.00005, "#0.0000"), "0.0001");
    EXPECT_EQ(Format(1e20, "#0.00"), "100000000000000000000.00");
    EXPECT_EQ(Format(0.731049, "#0.000000"), "0.731049");
    EXPECT_EQ(Format(0.00000004, "#.00000"), ".00000");
}
