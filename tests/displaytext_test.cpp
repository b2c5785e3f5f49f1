#include "plot/displaytext.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>

namespace {

TEST(DisplayText, KnownValues)
{
    const struct
    {
        double value;
        const char* text;
    } cases[] = {
        {-6.443514243339785e-10, "-6.44351424333978E-10"},
        {1.5707963266778244, " 1.57079632667782"},
        {1.9835235375051445, " 1.98352353750514"},
        {1.999999983551102, " 1.9999999835511"},
        {3.141592654, " 3.141592654"},
        {1.570796327, " 1.570796327"},
        {0.3141592654, " .3141592654"},
        {0.0003141592654, " .0003141592654"},
        {0, " 0"},
        {-0.0, " 0"},
        {1, " 1"},
        {-2.5, "-2.5"},
        {0.5, " .5"},
        {-0.1, "-.1"},
        {100, " 100"},
        {9.999999999999999, " 10"},
        {99999.99999999999, " 100000"},
        {0.00009999999999999999, " .0001"},
        {123456789012345, " 123456789012345"},
        {999999999999999.9, " 1E+15"},
        {1e15, " 1E+15"},
        {0.0001, " .0001"},
        {0.00001, " 1E-05"},
        {-0.000012345, "-1.2345E-05"},
        {1e100, " 1E+100"},
        {DBL_MAX, " 1.79769313486232E+308"},
        {DBL_MIN, " 2.2250738585072E-308"},
        {4.9406564584124654e-324, " 4.94065645841247E-324"},
        // Exact ties at the 15th digit round to even.
        {1000000000000005, " 1E+15"},
        {1000000000000015, " 1.00000000000002E+15"},
        {0.5000000000000125, " .500000000000013"}, // not a tie: the double lies above
    };
    for (const auto& c : cases)
        EXPECT_EQ(plot::displayText(c.value), c.text) << c.value;
}

// What every display text must satisfy, checked against printf's own rounding
// rather than against the algorithm that produced it.
void checkProperties(double v)
{
    SCOPED_TRACE(testing::Message() << "value " << std::hexfloat << v);
    const std::string text = plot::displayText(v);
    ASSERT_GE(text.size(), 2u);
    EXPECT_EQ(text[0], (std::signbit(v) && v != 0) ? '-' : ' ');
    const std::string body = text.substr(1);

    // printf's %.14e, in the C locale: the exact value rounded once to 15 digits.
    char reference[64];
    std::snprintf(reference, sizeof reference, "%.14e", std::fabs(v));
    const int exponent = std::atoi(std::strchr(reference, 'e') + 1);
    EXPECT_EQ(std::strtod(body.c_str(), nullptr), std::strtod(reference, nullptr))
        << text << " vs " << reference;

    EXPECT_EQ(body.find(','), std::string::npos);
    const std::size_t e = body.find('E');
    const bool exponentForm = e != std::string::npos;
    EXPECT_EQ(exponentForm, v != 0 && (exponent < -4 || exponent >= 15)) << text;
    const std::string mantissa = exponentForm ? body.substr(0, e) : body;
    std::size_t digits = 0;
    for (char c : mantissa)
        digits += std::isdigit(static_cast<unsigned char>(c)) ? 1 : 0;
    if (mantissa.find('.') != std::string::npos) {
        EXPECT_NE(mantissa.back(), '0') << "trailing zero in " << text;
        EXPECT_NE(mantissa.back(), '.') << "bare point in " << text;
    }
    if (exponentForm) {
        EXPECT_TRUE(std::isdigit(static_cast<unsigned char>(mantissa[0])) && mantissa[0] != '0');
        EXPECT_TRUE(mantissa.size() == 1 || mantissa[1] == '.') << text;
        EXPECT_LE(digits, 15u) << text;
        const std::string exp = body.substr(e + 1);
        ASSERT_GE(exp.size(), 3u) << text;
        EXPECT_TRUE(exp[0] == '+' || exp[0] == '-') << text;
        EXPECT_EQ(std::atoi(exp.c_str()), exponent) << text;
    } else if (v != 0 && exponent < 0) {
        EXPECT_EQ(mantissa[0], '.') << "no digit before the point below 1: " << text;
    } else {
        EXPECT_NE(mantissa[0], '.') << text;
        EXPECT_TRUE(mantissa[0] != '0' || v == 0) << text;
    }
}

std::vector<double> sampleValues()
{
    std::vector<double> values;
    std::mt19937_64 random(20261208);
    // Whole bit patterns: every exponent, subnormals included.
    for (int i = 0; i < 20000; ++i) {
        double v;
        std::uint64_t bits = random();
        std::memcpy(&v, &bits, sizeof v);
        if (std::isfinite(v))
            values.push_back(v);
    }
    // Around the fixed/exponent switch and around powers of ten.
    for (int p = -8; p <= 17; ++p) {
        const double ten = std::pow(10.0, p);
        for (double x : {ten, std::nextafter(ten, 0.0), std::nextafter(ten, 1e300),
                         ten * 0.99999999999999995, ten * 9.9999999999999995})
            values.push_back(x);
    }
    values.insert(values.end(), {DBL_MAX, -DBL_MAX, DBL_MIN, DBL_TRUE_MIN, -DBL_TRUE_MIN, 0.0, -0.0,
                                 0.00009999999999999999, 0.0001});
    return values;
}

TEST(DisplayText, PropertiesOverManyValues)
{
    for (double v : sampleValues())
        checkProperties(v);
}

// The program runs under the user's locale; its decimal separator must not leak
// in, whether a comma or a separator of several bytes (Pashto's U+066B).
struct Locale
{
    const char* name;        // names the test case
    const char* locale;      // script/test generates both
    const char* oneAndAHalf; // how the locale's own printf writes 1.5
};

class ForeignLocale : public testing::TestWithParam<Locale>
{
};

TEST_P(ForeignLocale, ChangesNoDisplayText)
{
    std::vector<std::string> expected;
    const std::vector<double> values = sampleValues();
    for (std::size_t i = 0; i < values.size(); i += 7)
        expected.push_back(plot::displayText(values[i]));

    const std::string saved = std::setlocale(LC_ALL, nullptr);
    ASSERT_NE(std::setlocale(LC_ALL, GetParam().locale), nullptr)
        << GetParam().locale << " is missing (script/test generates it)";
    char probe[16];
    std::snprintf(probe, sizeof probe, "%.1f", 1.5);
    EXPECT_STREQ(probe, GetParam().oneAndAHalf) << "the locale's own separator";
    std::size_t k = 0;
    for (std::size_t i = 0; i < values.size(); i += 7, ++k)
        EXPECT_EQ(plot::displayText(values[i]), expected[k]);
    EXPECT_EQ(plot::displayText(0.3141592654), " .3141592654");
    std::setlocale(LC_ALL, saved.c_str());
}

INSTANTIATE_TEST_SUITE_P(DisplayText, ForeignLocale,
                         testing::Values(Locale{"comma", "de_DE.UTF-8", "1,5"},
                                         Locale{"twoByteSeparator", "ps_AF.UTF-8",
                                                "1\xd9\xab"
                                                "5"}),
                         [](const testing::TestParamInfo<Locale>& p) { return p.param.name; });

} // namespace
