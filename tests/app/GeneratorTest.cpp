#include "app/Generator.h"

#include <gtest/gtest.h>

#include <charconv>
#include <limits>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

namespace vormix {
namespace {

constexpr std::int32_t Min = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t Max = std::numeric_limits<std::int32_t>::max();

std::vector<std::string> Generate(std::string_view templ, const ParameterValues& bases,
                                  const ParameterValues& steps, std::int32_t n)
{
    std::vector<std::string> commands;
    GenerateCommands(
        templ, bases, steps, n, [&](std::string_view command) { commands.emplace_back(command); },
        [](std::int64_t) {});
    return commands;
}

// --- Batches: every command of a run, each also checked one at a time -------------------

struct BatchCase {
    const char* name;
    std::string templ;
    ParameterValues bases;
    ParameterValues steps;
    std::int32_t n;
    std::vector<std::string> expected;
};

class GeneratorBatch : public testing::TestWithParam<BatchCase> {};

TEST_P(GeneratorBatch, ProducesTheCommandsInOrder)
{
    const BatchCase& c = GetParam();
    EXPECT_EQ(Generate(c.templ, c.bases, c.steps, c.n), c.expected);
    for (std::int32_t k = 0; k <= c.n; ++k)
        EXPECT_EQ(ExpandTemplate(c.templ, c.bases, c.steps, k), c.expected[static_cast<std::size_t>(k)]);
}

const ParameterValues OneToEight{1, 2, 3, 4, 5, 6, 7, 8};

INSTANTIATE_TEST_SUITE_P(
    Templates, GeneratorBatch,
    testing::Values(
        BatchCase{"TwoFiles", "copy a%d.txt b%d.txt", {0, 100}, {1, 5}, 2,
                  {"copy a0.txt b100.txt", "copy a1.txt b105.txt", "copy a2.txt b110.txt"}},
        BatchCase{"NinthMarkerStaysText", "%d %d %d %d %d %d %d %d %d %d", OneToEight, {}, 0,
                  {"1 2 3 4 5 6 7 8 %d %d"}},
        BatchCase{"AdjacentMarkers", "%d%d", {7, -3}, {1, -1}, 1, {"7-3", "8-4"}},
        BatchCase{"MarkerAtStart", "%d-end", {5}, {1}, 1, {"5-end", "6-end"}},
        BatchCase{"MarkerAtEnd", "start-%d", {5}, {1}, 1, {"start-5", "start-6"}},
        BatchCase{"MarkerOnly", "%d", {-1}, {1}, 2, {"-1", "0", "1"}},
        BatchCase{"ChineseText", "文件%d.txt", {0}, {1}, 1, {"文件0.txt", "文件1.txt"}},
        BatchCase{"TwoLinesTakeParametersInTurn", "echo %d\r\necho %d", {1, 10}, {1, 10}, 1,
                  {"echo 1\r\necho 10", "echo 2\r\necho 20"}},
        BatchCase{"TrailingLineBreakKept", "echo %d\r\n", {0}, {1}, 1, {"echo 0\r\n", "echo 1\r\n"}},
        BatchCase{"TabsAndSpacesKept", "\t %d \t", {9}, {1}, 0, {"\t 9 \t"}},
        BatchCase{"WrapsPastMaximum", "%d", {Max}, {1}, 1, {"2147483647", "-2147483648"}},
        BatchCase{"WrapsPastMinimum", "%d", {Min}, {-1}, 1, {"-2147483648", "2147483647"}},
        BatchCase{"NegativeStep", "%d", {0}, {-1}, 2, {"0", "-1", "-2"}},
        BatchCase{"DigitCountChanges", "<%d>", {8}, {1}, 3, {"<8>", "<9>", "<10>", "<11>"}},
        BatchCase{"PercentBeforeMarker", "%%d", {5}, {0}, 0, {"%5"}},
        BatchCase{"UpperCaseIsText", "%D %d", {5}, {0}, 0, {"%D 5"}},
        BatchCase{"PercentAndDAcrossLineBreak", "%\r\nd=%d", {42}, {0}, 0, {"%\r\nd=42"}},
        BatchCase{"NoMarkerCopiedWhole", "100% done", {1}, {1}, 1, {"100% done", "100% done"}},
        BatchCase{"EmptyTemplate", "", {1}, {1}, 1, {"", ""}},
        BatchCase{"SingleCommandShowsBases", "%d,%d,%d,%d,%d,%d,%d,%d", OneToEight,
                  {9, 9, 9, 9, 9, 9, 9, 9}, 0, {"1,2,3,4,5,6,7,8"}}),
    [](const testing::TestParamInfo<BatchCase>& info) { return std::string(info.param.name); });

// --- Single commands at indices a batch reaches only after billions of lines -----------

TEST(GeneratorExpand, WrapsProductAndSumModulo2To32)
{
    struct Case {
        std::int32_t base, step, k;
        const char* expected;
    };
    const Case cases[] = {
        {0, 65536, 65536, "0"},                 // 2^32 wraps to nothing
        {0, Min, -1, "-2147483648"},            // the product that has no int32 negation
        {-1, Max, Max, "0"},                    // (2^31 - 1)^2 = 1 modulo 2^32
        {Max, Max, 1, "-2"},
        {Min, Min, 1, "0"},
        {1000, 3, Max, "-2147482651"},          // 3 * Max wraps once, + 1000 wraps again
        {0, 3, -5, "-15"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.base << " + " << c.step << " * " << c.k);
        EXPECT_EQ(ExpandTemplate("%d", {c.base}, {c.step}, c.k), c.expected);
    }
}

TEST(GeneratorExpand, ExpanderGivesTheSameCommandForAnyOrderOfIndices)
{
    CommandExpander expander("x%dy%dz", {10, -10}, {Max, 7});
    const std::int32_t order[] = {Max, 0, Min, 3, 0, -1, 1000000};
    for (std::int32_t k : order)
        EXPECT_EQ(expander.Expand(k), ExpandTemplate("x%dy%dz", {10, -10}, {Max, 7}, k)) << k;
}

TEST(GeneratorDecimal, MatchesStandardFormattingAtEveryDigitCountBoundary)
{
    std::vector<std::int32_t> values{0, Min, Min + 1, Max};
    for (std::int64_t p = 1; p <= 1000000000; p *= 10)
        for (std::int64_t v : {p - 1, p, p + 1})
            values.insert(values.end(), {static_cast<std::int32_t>(v), static_cast<std::int32_t>(-v)});
    for (std::int32_t value : values) {
        char expected[16];
        char actual[16];
        const auto result = std::to_chars(expected, expected + sizeof expected, value);
        EXPECT_EQ(std::string(actual, WriteDecimal(value, actual)), std::string(expected, result.ptr));
    }
}

TEST(GeneratorMarker, NeedsPercentAndLowerCaseDSideBySide)
{
    for (const char* text : {"", "%", "d", "%D", "% d", "d%", "%\r\nd", "%\nd", "100%"})
        EXPECT_FALSE(HasMarker(text)) << text;
    for (const char* text : {"%d", "%%d", "a%dD", "文件%d", "x\r\n%d"})
        EXPECT_TRUE(HasMarker(text)) << text;
}

// --- The run: counts, order of the callbacks, failures ---------------------------------

TEST(GeneratorRun, NegativeLastIndexGivesNoCommandsAndNoProgress)
{
    for (std::int32_t n : {-1, -2, Min}) {
        int calls = 0;
        GenerateCommands("%d", {}, {}, n, [&](std::string_view) { ++calls; }, [&](std::int64_t) { ++calls; });
        EXPECT_EQ(calls, 0) << n;
    }
}

TEST(GeneratorRun, EachCommandComesBeforeItsProgress)
{
    std::vector<std::string> events;
    GenerateCommands(
        "n=%d", {0}, {1}, 2, [&](std::string_view command) { events.emplace_back(command); },
        [&](std::int64_t done) { events.push_back("progress " + std::to_string(done)); });
    EXPECT_EQ(events, (std::vector<std::string>{"n=0", "progress 1", "n=1", "progress 2", "n=2",
                                                "progress 3"}));
}

TEST(GeneratorRun, ExceptionFromASinkStopsTheRun)
{
    int commands = 0;
    std::vector<std::int64_t> progress;
    const auto failOnThirdCommand = [&](std::string_view) {
        if (++commands == 3) throw std::runtime_error("full");
    };
    EXPECT_THROW(GenerateCommands("%d", {}, {}, 99, failOnThirdCommand,
                                  [&](std::int64_t done) { progress.push_back(done); }),
                 std::runtime_error);
    EXPECT_EQ(commands, 3);
    EXPECT_EQ(progress, (std::vector<std::int64_t>{1, 2}));

    commands = 0;
    const auto failOnSecondProgress = [](std::int64_t done) {
        if (done == 2) throw std::runtime_error("stop");
    };
    EXPECT_THROW(GenerateCommands("%d", {}, {}, 99, [&](std::string_view) { ++commands; },
                                  failOnSecondProgress),
                 std::runtime_error);
    EXPECT_EQ(commands, 2);
}

// --- Against a deliberately plain reference -----------------------------------------

std::string ReferenceExpand(const std::string& templ, const ParameterValues& bases,
                            const ParameterValues& steps, std::int64_t k)
{
    std::string out;
    std::size_t rest = 0;
    for (std::size_t n = 0; n < 8; ++n) {
        const std::size_t marker = templ.find("%d", rest);
        if (marker == std::string::npos) break;
        out += templ.substr(rest, marker - rest);
        constexpr std::int64_t Modulus = std::int64_t{1} << 32;
        std::int64_t value = (std::int64_t{bases[n]} + std::int64_t{steps[n]} * k) % Modulus;
        if (value < 0) value += Modulus;
        if (value > Max) value -= Modulus;
        out += std::to_string(value);
        rest = marker + 2;
    }
    return out + templ.substr(rest);
}

TEST(GeneratorReference, RandomTemplatesAndValuesAgree)
{
    std::mt19937 random(20240611u);
    const auto pick = [&](int count) { return static_cast<int>(random() % static_cast<unsigned>(count)); };
    const char* const pieces[] = {"%d", "%d", "%", "d", "D", "\r", "\n", "\r\n", "文件", "ab", " ", "\t"};
    const std::int32_t specials[] = {Min, Min + 1, -1, 0, 1, Max - 1, Max};
    const auto value = [&] {
        return pick(3) == 0 ? specials[pick(7)] : static_cast<std::int32_t>(random());
    };

    for (int round = 0; round < 4000; ++round) {
        std::string templ;
        for (int i = pick(16); i > 0; --i) templ += pieces[pick(12)];
        ParameterValues bases;
        ParameterValues steps;
        for (int n = 0; n < ParameterCount; ++n) {
            bases[static_cast<std::size_t>(n)] = value();
            steps[static_cast<std::size_t>(n)] = value();
        }
        SCOPED_TRACE(testing::Message() << "round " << round << ", template \"" << templ << '"');

        const std::int32_t k = pick(4) == 0 ? pick(3) : value();
        ASSERT_EQ(ExpandTemplate(templ, bases, steps, k), ReferenceExpand(templ, bases, steps, k)) << k;
        ASSERT_EQ(HasMarker(templ), templ.find("%d") != std::string::npos);

        const std::int32_t n = pick(4) - 1;
        const std::vector<std::string> batch = Generate(templ, bases, steps, n);
        ASSERT_EQ(batch.size(), static_cast<std::size_t>(n + 1));
        for (std::int32_t i = 0; i <= n; ++i)
            ASSERT_EQ(batch[static_cast<std::size_t>(i)], ReferenceExpand(templ, bases, steps, i));
    }
}

}  // namespace
}  // namespace vormix
