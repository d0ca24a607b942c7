#include "common/numbers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace tavrix {
namespace {

// Beyond the range of a double whatever the exponent's sign says: 1E-324 and 1E+390.
const std::string kTinyText = "0." + std::string(323, '0') + "1";
const std::string kHugeText = "1" + std::string(400, '0') + "e-10";
const char* const kTiny = kTinyText.c_str();
const char* const kHuge = kHugeText.c_str();

TEST(LeadingNumber, ReadsTheNumberAtTheStart) {
    const struct {
        const char* text;
        double expected;
    } cases[] = {
        {"", 0},       {"-", 0},        {".", 0},
        {"abc", 0},    {"12abc", 12},   {"-7", -7},
        {"+5", 5},     {"0.5", 0.5},    {".5", 0.5},
        {"5.", 5},     {"1 2", 12},     {" \t\n3", 3},
        {"- 4", -4},   {"1.2.3", 1.2},  {"1,5", 1},
        {"1e3", 1000}, {"1E3x", 1000},  {"2d2", 200},
        {"2D-1", 0.2}, {"1e", 1},       {"1e+", 1},
        {"&H1F", 31},  {"&H 1F", 31},   {"&hff", 255},
        {"&O17", 15},  {"&o8", 0},      {"&", 0},
        {"&X12", 0},   {"--5", 0},      {"007", 7},
        {"9.5", 9.5},  {"1 e 2", 100},  {"0.0", 0},
        {"-0", 0},     {"000", 0},      {"1e400", std::numeric_limits<double>::infinity()},
        {"1e-400", 0}, {kTiny, 0},      {kHuge, std::numeric_limits<double>::infinity()},
        {"1E 5", 1e5}, {"1e- 2", 0.01}, {"1e5 0", 1e50},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(leading_number(c.text), c.expected) << '"' << c.text << '"';
    }
}

TEST(StrictNumber, AcceptsOnlyAWholeNumber) {
    const struct {
        const char* text;
        std::optional<double> expected;
    } cases[] = {
        {"5", 5},      {" 5\t", 5},   {"-5", -5},    {"+5", 5},      {"5.", 5},        {".5", 0.5},
        {"-.5", -0.5}, {"1e3", 1000}, {"1D3", 1000}, {"1e+3", 1000}, {"2.5E-1", 0.25}, {"&H10", 16},
        {"&o10", 8},   {"&H1", 1},    {"007", 7},    {"", {}},       {"-", {}},        {"5abc", {}},
        {"1 2", {}},   {"1,5", {}},   {"1.2.3", {}}, {".", {}},      {"1e", {}},       {"e5", {}},
        {"&H", {}},    {"&O8", {}},   {"&H1G", {}},  {"\n5", {}},    {"1e400", {}},    {"- 5", {}},
        {kTiny, 0},    {kHuge, {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(strict_number(c.text), c.expected) << '"' << c.text << '"';
    }
}

}  // namespace
}  // namespace tavrix
