// SPDX-License-Identifier: BSD-3-Clause
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "orbix/model/RunTimeError.h"
#include "orbix/model/modFormat.h"

namespace {

using modFormat::Format;

TEST(Format, TablesOfTheNumberFormats) {
    struct {
        double value;
        const char* format;
        const char* text;
    } cases[] = {
        {0.5, "0.00", "0.50"},
        {-1.0, "0.00", "-1.00"},
        {1.0 / 3, "0.000", "0.333"},
        {1.6666667, "0.000", "1.667"},
        {8, "00.0000", "08.0000"},
        {-2.828427, "00.0000", "-02.8284"},
        {123.45, "00.0000", "123.4500"},
        {0.0000049, "00.000000", "00.000005"},
        {0.7071067811865476, "####.####", ".7071"},
        {-0.7071067811865476, "####.####", "-.7071"},
        {-0.5, "####.####", "-.5"},
        {2, "####.####", "2."},
        {1 - 2.2e-16, "####.####", "1."},
        {-1.618034, "####.####", "-1.618"},
        {12.34567, "####.####", "12.3457"},
        {0, "####.####", "."},
        {3, "0", "3"},
        {12, "##", "12"},
        {0.70710678, "0.0000", "0.7071"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Format(c.value, c.format), c.text) << c.value << " " << c.format;
}

TEST(Format, ValuesRoundingToZeroCarryNoSign) {
    EXPECT_EQ(Format(-1e-17, "####.####"), ".");
    EXPECT_EQ(Format(-0.00004, "0.000"), "0.000");
    EXPECT_EQ(Format(-0.0, "00.0000"), "00.0000");
    EXPECT_EQ(Format(-0.00004, "####.####"), ".");
    EXPECT_EQ(Format(0.125, "0.00"), "0.12") << "an exact tie rounds to even";
    EXPECT_EQ(Format(0.375, "0.00"), "0.38");
}

TEST(Format, TableCellsAreTwelveWide) {
    EXPECT_EQ(modFormat::TableCell(1), "          1.");
    EXPECT_EQ(modFormat::TableCell(-0.7071067811865476), "      -.7071");
    EXPECT_EQ(modFormat::RightAlign("12345678901234"), "12345678901234");
    EXPECT_EQ(modFormat::TableCell(-0.00004), "           .") << "rounds to zero: no sign";
    EXPECT_EQ(modFormat::TableCell(0.00005), "       .0001") << "stored a little above the tie";
    EXPECT_EQ(modFormat::TableCell(-1234.56785), "  -1234.5678");
    EXPECT_EQ(modFormat::TableCell(2.5), "         2.5");
    EXPECT_EQ(modFormat::TableCell(123456789.0), "  123456789.");
}

// The table cell is written in one buffer; it must agree with the general
// format everywhere, ties and values that round to zero included.
TEST(Format, TableCellAgreesWithTheGeneralFormat) {
    std::vector<double> values{0.0, -0.0, 1e-300, -1e-300, 0.00005, -0.00005, 0.00015, 9999.99995};
    for (int i = -20000; i <= 20000; ++i)
        values.push_back(i / 16384.0);  // exact ties at 4 decimals
    for (int i = 0; i < 20000; ++i) values.push_back(std::sin(i * 0.7) * std::pow(10.0, i % 9 - 4));
    // Coefficients, and every binary exponent from subnormals to beyond 2^53 / 10^4.
    std::mt19937_64 rng(3);
    std::uniform_real_distribution<double> unit(-1.0, 1.0);
    for (int i = 0; i < 100000; ++i) values.push_back(unit(rng));
    for (int e = -1074; e <= 45; ++e)
        for (int i = 0; i < 40; ++i) values.push_back(std::ldexp(unit(rng), e));
    values.push_back(std::nextafter(9007199254740992.0 / 10000.0, 0.0));
    values.push_back(9007199254740992.0 / 10000.0);
    int shown = 0;
    for (double v : values) {
        const std::string general = modFormat::RightAlign(Format(v, "####.####"));
        if (modFormat::TableCell(v) != general && shown++ < 5)
            ADD_FAILURE() << "value " << v << ": cell \"" << modFormat::TableCell(v)
                          << "\", format \"" << general << '"';
    }
    EXPECT_EQ(shown, 0);
}

TEST(Format, IntegersPrintWithSignColumn) {
    EXPECT_EQ(modFormat::PrintInt(3), " 3 ");
    EXPECT_EQ(modFormat::PrintInt(-3), "-3 ");
    EXPECT_EQ(modFormat::PrintInt(0), " 0 ");
}

TEST(Conversion, TextToNumbers) {
    EXPECT_EQ(modFormat::ToInt16("  7 "), 7);
    EXPECT_EQ(modFormat::ToInt16("2.5"), 2);
    EXPECT_EQ(modFormat::ToInt16("3.5"), 4);
    EXPECT_EQ(modFormat::ToInt16("-32768"), -32768);
    EXPECT_EQ(modFormat::ToSingle(".5"), 0.5f);
    EXPECT_EQ(modFormat::ToSingle("1e3"), 1000.0f);
    for (const char* bad : {"", " ", "-", "1-", "1e", "e3", "nan", "inf", "0x1", "1,5", "１"})
        EXPECT_THROW(modFormat::ToSingle(bad), orbix::RunTimeError) << bad;
    try {
        modFormat::ToInt16("32768");
        ADD_FAILURE();
    } catch (const orbix::RunTimeError& e) {
        EXPECT_EQ(e.Number(), orbix::errOverflow);
    }
    EXPECT_EQ(modFormat::Exact(0.1), "0.1");
    EXPECT_EQ(modFormat::Exact(1 - 2.220446049250313e-16), "0.9999999999999998");
    EXPECT_EQ(std::strtod(modFormat::Exact(M_PI).c_str(), nullptr), M_PI);
}

}  // namespace
