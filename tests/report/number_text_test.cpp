#include "text/number_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

using namespace tessarin;

namespace {

struct Formatted {
    double value;
    const char* fixed;    // printf "%f"
    const char* general;  // printf "%.15g"
};

class NumberFormatting : public testing::TestWithParam<Formatted> {};

TEST_P(NumberFormatting, MatchesPrintf) {
    EXPECT_EQ(formatFixed(GetParam().value), GetParam().fixed);
    EXPECT_EQ(formatGeneral(GetParam().value), GetParam().general);
}

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNan = std::numeric_limits<double>::quiet_NaN();

INSTANTIATE_TEST_SUITE_P(
    Values, NumberFormatting,
    testing::Values(Formatted{600.0, "600.000000", "600"}, Formatted{14.3, "14.300000", "14.3"},
                    Formatted{-12.5, "-12.500000", "-12.5"},
                    Formatted{6000.0, "6000.000000", "6000"}, Formatted{0.25, "0.250000", "0.25"},
                    Formatted{0.9999999999999999, "1.000000", "1"},
                    Formatted{714790.19944239233, "714790.199442", "714790.199442392"},
                    Formatted{-0.0, "-0.000000", "-0"}, Formatted{-1e-9, "-0.000000", "-1e-09"},
                    Formatted{0.0078125, "0.007812", "0.0078125"},  // a tie rounds to even
                    Formatted{1e-5, "0.000010", "1e-05"},
                    Formatted{123456789012345678.0, "123456789012345680.000000",
                              "1.23456789012346e+17"},
                    Formatted{kInf, "inf", "inf"}, Formatted{-kInf, "-inf", "-inf"},
                    Formatted{kNan, "nan", "nan"}, Formatted{-kNan, "-nan", "-nan"}));

TEST(NumberFormatting, DecimalsForFiguresOnScreen) {
    EXPECT_EQ(formatDecimals(0.9327283621938818, 2), "0.93");
    EXPECT_EQ(formatDecimals(4701.083820818933, 1), "4701.1");
    EXPECT_EQ(formatDecimals(-0.125, 2), "-0.12");  // a tie rounds to even, as printf does
    EXPECT_EQ(formatDecimals(268.0, 0), "268");
    EXPECT_EQ(formatDecimals(kInf, 2), "inf");
}

TEST(NumberFormatting, ShortestFormReadsBackExactly) {
    for (double v : {0.1, 1652.756706539872, 1.0 / 3.0, 5e-324, 1.7976931348623157e308}) {
        const auto back = parseNumber(formatShortest(v));
        ASSERT_TRUE(back.has_value()) << formatShortest(v);
        EXPECT_EQ(*back, v);
    }
}

struct Parsed {
    const char* text;
    bool accepted;
    double value;
};

class NumberParsing : public testing::TestWithParam<Parsed> {};

TEST_P(NumberParsing, FollowsTheFieldGrammar) {
    const auto result = parseNumber(GetParam().text);
    ASSERT_EQ(result.has_value(), GetParam().accepted) << '"' << GetParam().text << '"';
    if (result) {
        EXPECT_EQ(*result, GetParam().value);
        EXPECT_EQ(std::signbit(*result), std::signbit(GetParam().value));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Texts, NumberParsing,
    testing::Values(
        Parsed{"6000", true, 6000.0}, Parsed{" 6000 ", true, 6000.0},
        Parsed{"\t6000", true, 6000.0}, Parsed{"6e3", true, 6000.0}, Parsed{"6E+3", true, 6000.0},
        Parsed{"+5", true, 5.0}, Parsed{"-0", true, -0.0}, Parsed{"0.25", true, 0.25},
        Parsed{".5", true, 0.5}, Parsed{"5.", true, 5.0}, Parsed{"-12.5e-1", true, -1.25},
        Parsed{"14.3", true, 14.3}, Parsed{"1e-400", true, 0.0}, Parsed{"-1e-400", true, -0.0},
        Parsed{"0.000000000000000000000000000001e-300", true, 0.0}, Parsed{"1e308", true, 1e308},
        Parsed{"", false, 0}, Parsed{" ", false, 0}, Parsed{"abc", false, 0},
        Parsed{"1,5", false, 0}, Parsed{"1.5.2", false, 0}, Parsed{"1e999", false, 0},
        Parsed{"-1e999", false, 0}, Parsed{"1e", false, 0}, Parsed{"1e+", false, 0},
        Parsed{"e5", false, 0}, Parsed{".", false, 0}, Parsed{"-", false, 0},
        Parsed{"+-5", false, 0}, Parsed{"inf", false, 0}, Parsed{"nan", false, 0},
        Parsed{"infinity", false, 0}, Parsed{"0x10", false, 0}, Parsed{"1 000", false, 0},
        Parsed{"6000mm", false, 0}, Parsed{"\xEF\xBC\x96\xEF\xBC\x90", false, 0},  // full-width 60
        Parsed{"6000\n", false, 0}, Parsed{"1e99999999999999999999", false, 0},
        Parsed{"1e-99999999999999999999", true, 0.0}, Parsed{"0e99999999999999999999", true, 0.0}));

TEST(NumberParsing, EmbeddedNulIsNoNumber) {
    EXPECT_FALSE(parseNumber(std::string("60\0"
                                         "00",
                                         5))
                     .has_value());
}

TEST(NumberParsing, TenThousandDigitNumberIsTooLarge) {
    EXPECT_FALSE(parseNumber(std::string(10000, '9')).has_value());
    std::string tiny = "0." + std::string(10000, '0') + "1";
    EXPECT_EQ(parseNumber(tiny), 0.0);
    std::string exact = "1" + std::string(300, '0');
    EXPECT_EQ(parseNumber(exact), 1e300);
}

}  // namespace
