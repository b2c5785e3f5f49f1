#include "plot/displaytext.h"
#include "results.h"

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

struct Known
{
    const char* name;
    double value;
    const char* text;
};

const Known kKnown[] = {
    {"oneTrapezoidSum", -6.443514243339785e-10, "-6.44351424333978E-10"},
    {"twoTrapezoidSum", 1.5707963266778244, " 1.57079632667782"},
    {"tenTrapezoidSum", 1.9835235375051445, " 1.98352353750514"},
    {"tenThousandTrapezoidSum", 1.999999983551102, " 1.9999999835511"},
    {"pi", 3.141592654, " 3.141592654"},
    {"halfPi", 1.570796327, " 1.570796327"},
    {"tenthOfPi", 0.3141592654, " .3141592654"},
    {"tenThousandthOfPi", 0.0003141592654, " .0003141592654"},
    {"zero", 0, " 0"},
    {"negativeZero", -0.0, " 0"},
    {"one", 1, " 1"},
    {"negativeTwoAndAHalf", -2.5, "-2.5"},
    {"half", 0.5, " .5"},
    {"negativeTenth", -0.1, "-.1"},
    {"hundred", 100, " 100"},
    {"roundsUpToTen", 9.999999999999999, " 10"},
    {"roundsUpToHundredThousand", 99999.99999999999, " 100000"},
    {"roundsUpToTenThousandth", 0.00009999999999999999, " .0001"},
    {"fifteenDigits", 123456789012345, " 123456789012345"},
    {"roundsUpToExponentForm", 999999999999999.9, " 1E+15"},
    {"tenToTheFifteen", 1e15, " 1E+15"},
    {"smallestFixed", 0.0001, " .0001"},
    {"largestExponentBelowOne", 0.00001, " 1E-05"},
    {"negativeSmall", -0.000012345, "-1.2345E-05"},
    {"threeExponentDigits", 1e100, " 1E+100"},
    {"largestDouble", DBL_MAX, " 1.79769313486232E+308"},
    {"smallestNormal", DBL_MIN, " 2.2250738585072E-308"},
    {"smallestSubnormal", 4.9406564584124654e-324, " 4.94065645841247E-324"},
    // Exact ties at the 15th digit round to even.
    {"tieToEvenDown", 1000000000000005, " 1E+15"},
    {"tieToEvenUp", 1000000000000015, " 1.00000000000002E+15"},
    {"notATieTheDoubleLiesAbove", 0.5000000000000125, " .500000000000013"},
};

class KnownValue : public testing::TestWithParam<Known>
{
};

TEST_P(KnownValue, ShowsAsExpected)
{
    EXPECT_EQ(plot::displayText(GetParam().value), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(DisplayText, KnownValue, testing::ValuesIn(kKnown), byName);

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

// Whole bit patterns: every exponent, subnormals included.
std::vector<double> randomBitPatterns()
{
    std::vector<double> values;
    std::mt19937_64 random(20261208);
    for (int i = 0; i < 20000; ++i) {
        double v;
        std::uint64_t bits = random();
        std::memcpy(&v, &bits, sizeof v);
        if (std::isfinite(v))
            values.push_back(v);
    }
    return values;
}

// Around the fixed/exponent switch and around powers of ten.
std::vector<double> aroundPowersOfTen()
{
    std::vector<double> values;
    for (int p = -8; p <= 17; ++p) {
        const double ten = std::pow(10.0, p);
        for (double x : {ten, std::nextafter(ten, 0.0), std::nextafter(ten, 1e300),
                         ten * 0.99999999999999995, ten * 9.9999999999999995})
            values.push_back(x);
    }
    return values;
}

std::vector<double> extremes()
{
    return {DBL_MAX,       -DBL_MAX, DBL_MIN, DBL_TRUE_MIN,
            -DBL_TRUE_MIN, 0.0,      -0.0,    0.00009999999999999999,
            0.0001};
}

std::vector<double> sampleValues()
{
    std::vector<double> values = randomBitPatterns();
    for (const auto& more : {aroundPowersOfTen(), extremes()})
        values.insert(values.end(), more.begin(), more.end());
    return values;
}

struct Sample
{
    const char* name;
    std::vector<double> (*values)();
};

class Properties : public testing::TestWithParam<Sample>
{
};

TEST_P(Properties, HoldForEveryValue)
{
    for (double v : GetParam().values())
        checkProperties(v);
}

INSTANTIATE_TEST_SUITE_P(DisplayText, Properties,
                         testing::Values(Sample{"randomBitPatterns", randomBitPatterns},
                                         Sample{"aroundPowersOfTen", aroundPowersOfTen},
                                         Sample{"extremes", extremes}),
                         byName);

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

#ifdef __EMSCRIPTEN__
    GTEST_SKIP() << "the browser's C library writes every number with a period";
#endif
    const std::string saved = std::setlocale(LC_ALL, nullptr);
    std::string locale = GetParam().locale;
#ifdef _WIN32
    if (std::strlen(GetParam().oneAndAHalf) > 3)
        GTEST_SKIP() << "Windows' C runtime writes a separator of one byte only";
    locale = locale.substr(0, locale.find('.')); // de_DE, in the system's code page
#endif
    ASSERT_NE(std::setlocale(LC_ALL, locale.c_str()), nullptr)
        << locale << " is missing (script/test generates it)";
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
                         byName);

} // namespace
