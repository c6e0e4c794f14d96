#include "common/conversions.h"

#include <gtest/gtest.h>

#include <clocale>
#include <exception>
#include <filesystem>
#include <limits>
#include <new>
#include <stdexcept>
#include <string>
#include <system_error>
#include <vector>

#include "common/errors.h"
#include "common/prompts.h"
#include "common/services.h"
#include "support/world.h"

namespace zeko {
namespace {

using testing::error_of;

constexpr int kOverflow = static_cast<int>(Err::Overflow);
constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

TEST(Val, ReadsTheLeadingNumberInEveryClassicForm) {
    const std::pair<const char*, double> cases[] = {
        {"  12abc", 12},    {"1.2.3", 1.2},     {"1,000", 1},     {"--5", 0},
        {"-.25x", -0.25},   {"\t1\n2 x 3", 12}, {"-3.5e2", -350}, {"2D3", 2000},
        {"4e+x", 4},        {"1e400", kInf},    {"& H f f", 255}, {"&H8000", -32768},
        {"&H0FFFF", 65535}, {"&HFFFFFFFF", -1}, {"&O178", 15},    {"&X12", 0},
    };
    for (const auto& [text, value] : cases)
        EXPECT_EQ(Val(text), value) << text;
    EXPECT_EQ(Val("-0.0001e99999999999999999999"), -kInf);
}

TEST(Str, WritesTheClassicFormAndValReadsItBack) {
    const std::pair<double, const char*> cases[] = {
        {-0.0, " 0"},       {-0.25, "-.25"},  {1.0 / 3.0, " .333333333333333"},
        {0.1 + 0.2, " .3"}, {1e15, " 1E+15"}, {0.00001, " 1E-05"}};
    for (const auto& [value, text] : cases)
        EXPECT_EQ(Str(value), text);
    EXPECT_EQ(Str(int16_t{-32768}), "-32768");
    for (double v : {0.0, -7.0, 0.5, 12.75, 1e15, 2.5e-7, -31999.0})
        EXPECT_EQ(Val(Str(v)), v) << Str(v);

    // The window toolkit takes the user's locale for everything; a German one writes "3,5".
    const std::string saved = std::setlocale(LC_NUMERIC, nullptr);
    if (!std::setlocale(LC_NUMERIC, "de_DE.UTF-8") && !std::setlocale(LC_NUMERIC, "de_DE.utf8"))
        return;
    EXPECT_EQ(Val("3.5"), 3.5);
    EXPECT_EQ(Val("3,5"), 3);
    EXPECT_EQ(Str(-1.25), "-1.25");
    std::setlocale(LC_NUMERIC, saved.c_str());
}

TEST(Arithmetic, HalvesRoundToEvenAndOverflowIsRaisedInsteadOfWrapping) {
    EXPECT_EQ(CInt(2.5), 2);
    EXPECT_EQ(CInt(-3.5), -4);
    EXPECT_EQ(CLng(-2147483648.5), std::numeric_limits<int32_t>::min());
    EXPECT_EQ(Int(-2.3), -3);
    EXPECT_EQ(record_count(int64_t{165} * 32767 + 82, 165), 32767);
    EXPECT_EQ(mul16(-256, 128), -32768);
    for (double v : {32767.5, -32768.51, kNaN, -kInf})
        EXPECT_EQ(error_of([=] { CInt(v); }), kOverflow) << v;
    for (double v : {2147483647.5, kNaN})
        EXPECT_EQ(error_of([=] { CLng(v); }), kOverflow) << v;
    EXPECT_EQ(error_of([] { add16(32767, 1); }), kOverflow);
    EXPECT_EQ(error_of([] { sub16(0, -32768); }), kOverflow);
    EXPECT_EQ(error_of([] { abs16(-32768); }), kOverflow);
    EXPECT_EQ(error_of([] { to16(int64_t{1} << 40); }), kOverflow);
    EXPECT_EQ(error_of([] { mul16(std::numeric_limits<int32_t>::max(), -65536); }), kOverflow);
    EXPECT_EQ(error_of([] { record_count(int64_t{165} * 32768, 165); }), kOverflow);
}

TEST(UCase, UpperCasesAsciiAndCodePageLettersOnly) {
    EXPECT_EQ(UCase("abc 09_! à l'été ñ þ š œ ž ÿ"), "ABC 09_! À L'ÉTÉ Ñ Þ Š Œ Ž Ÿ");
    EXPECT_EQ(UCase("ß µ ÷ ā あ 😀"), "ß µ ÷ ā あ 😀");
    EXPECT_EQ(UCase("a\xFF\x62"), "A\xFF\x42");
}

TEST(Errors, ClassicNumbersForEveryKindOfFailure) {
    EXPECT_EQ(error_description(1234), "Application-defined or object-defined error");
    const std::pair<int, int> from_errno[] = {
        {ENOENT, 53}, {EACCES, 70}, {ENOSPC, 61}, {99999, 75}};
    for (const auto& [e, number] : from_errno)
        EXPECT_EQ(static_cast<int>(error_from_errno(e)), number) << e;

    const auto no_file = std::make_error_code(std::errc::no_such_file_or_directory);
    const std::pair<std::exception_ptr, int> thrown[] = {
        {std::make_exception_ptr(std::bad_alloc()), 7},
        {std::make_exception_ptr(std::filesystem::filesystem_error("copy", no_file)), 53},
        {std::make_exception_ptr(std::out_of_range("at")), 9},
        {std::make_exception_ptr(42), 5}};
    for (const auto& [thrown_one, number] : thrown)
        EXPECT_EQ(as_runtime_error(thrown_one).number(), number);

    testing::ScriptedPrompts prompts;
    show_procedure_error(prompts, RuntimeError(Err::PathFileAccessError), "SAVE_SETTINGS");
    EXPECT_EQ(prompts.shown, std::vector{testing::error_box(75, "SAVE_SETTINGS")});
}

TEST(LcgRandom, FollowsTheClassicSequenceAndItsSeed) {
    LcgRandom r;
    EXPECT_EQ(r.next(), 11837123 / 16777216.0f);
    EXPECT_EQ(r.next(), 8949370 / 16777216.0f);
    LcgRandom seeded;
    seeded.seed(76543.21);
    EXPECT_NE(seeded.next(), 11837123 / 16777216.0f);
    for (int i = 0; i < 10000; ++i)
        ASSERT_LT(seeded.next(), 1.0f);
}

}  // namespace
}  // namespace zeko
