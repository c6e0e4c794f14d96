#include "common/conversions.h"

#include <gtest/gtest.h>

#include <clocale>
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
#include "common/vb_array.h"
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
    EXPECT_EQ(Str(int16_t{-32768}), "-32768");
    EXPECT_EQ(Str(-0.0), " 0");
    EXPECT_EQ(Str(-0.25), "-.25");
    // Fifteen significant digits, as the classic conversion writes doubles.
    EXPECT_EQ(Str(1.0 / 3.0), " .333333333333333");
    EXPECT_EQ(Str(0.1 + 0.2), " .3");
    EXPECT_EQ(Str(1e15), " 1E+15");
    EXPECT_EQ(Str(0.00001), " 1E-05");
    for (double v : {0.0, -7.0, 0.5, 12.75, 1e15, 2.5e-7, -31999.0})
        EXPECT_EQ(Val(Str(v)), v) << Str(v);
}

// The window toolkit takes the user's locale for everything; a German one writes "3,5".
class WithCommaLocale : public ::testing::Test {
  protected:
    void SetUp() override {
        saved_ = std::setlocale(LC_NUMERIC, nullptr);
        for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "fr_FR.utf8"})
            if (std::setlocale(LC_NUMERIC, name)) return;
        GTEST_SKIP() << "no locale with a decimal comma is installed";
    }
    void TearDown() override { std::setlocale(LC_NUMERIC, saved_.c_str()); }

  private:
    std::string saved_;
};

TEST_F(WithCommaLocale, NumbersKeepTheirDecimalPoint) {
    EXPECT_EQ(Val("3.5"), 3.5);
    EXPECT_EQ(Val("3,5"), 3);
    EXPECT_EQ(Str(0.5), " .5");
    EXPECT_EQ(Str(-1.25), "-1.25");
}

TEST(Rounding, HalvesToEvenAndOverflowOutsideTheType) {
    EXPECT_EQ(CInt(2.5), 2);
    EXPECT_EQ(CInt(-3.5), -4);
    EXPECT_EQ(CInt(-32768.5), -32768);
    for (double v : {32767.5, -32768.51, 1e300, kNaN, -kInf})
        EXPECT_EQ(error_of([=] { CInt(v); }), kOverflow) << v;
    EXPECT_EQ(CLng(-2147483648.5), std::numeric_limits<int32_t>::min());
    EXPECT_EQ(error_of([] { CLng(2147483647.5); }), kOverflow);
    EXPECT_EQ(error_of([] { CLng(kNaN); }), kOverflow);
    EXPECT_EQ(Int(-2.3), -3);

    EXPECT_EQ(record_count(248, 165), 2);
    EXPECT_EQ(record_count(int64_t{165} * 32767, 165), 32767);
    EXPECT_EQ(error_of([] { record_count(int64_t{165} * 32768, 165); }), kOverflow);
}

TEST(Arithmetic16, RaisesOverflowInsteadOfWrapping) {
    EXPECT_EQ(add16(32766, 1), 32767);
    EXPECT_EQ(sub16(-32767, 1), -32768);
    EXPECT_EQ(mul16(-256, 128), -32768);
    EXPECT_EQ(abs16(-32767), 32767);
    EXPECT_EQ(to16(-32768), -32768);
    EXPECT_EQ(error_of([] { add16(32767, 1); }), kOverflow);
    EXPECT_EQ(error_of([] { sub16(0, -32768); }), kOverflow);
    EXPECT_EQ(error_of([] { mul16(std::numeric_limits<int32_t>::max(), -65536); }), kOverflow);
    EXPECT_EQ(error_of([] { abs16(-32768); }), kOverflow);
    EXPECT_EQ(error_of([] { abs16(std::numeric_limits<int32_t>::min()); }), kOverflow);
    EXPECT_EQ(error_of([] { to16(int64_t{1} << 40); }), kOverflow);
}

TEST(UCase, UpperCasesAsciiAndCodePageLettersOnly) {
    EXPECT_EQ(UCase("abc 09_! à l'été ñ þ š œ ž ÿ"), "ABC 09_! À L'ÉTÉ Ñ Þ Š Œ Ž Ÿ");
    EXPECT_EQ(UCase("ß µ ÷ ā あ 😀"), "ß µ ÷ ā あ 😀");
    EXPECT_EQ(UCase("a\xFF"
                    "b"),
              "A\xFF"
              "B");
}

TEST(Errors, ClassicNumbersForEveryKindOfFailure) {
    EXPECT_EQ(error_description(1234), "Application-defined or object-defined error");
    EXPECT_EQ(static_cast<int>(error_from_errno(ENOENT)), 53);
    EXPECT_EQ(static_cast<int>(error_from_errno(EACCES)), 70);
    EXPECT_EQ(static_cast<int>(error_from_errno(ENOSPC)), 61);
    EXPECT_EQ(static_cast<int>(error_from_errno(99999)), 75);  // anything else

    auto convert = [](auto&& step) {
        try {
            step();
        } catch (...) {
            return as_runtime_error(std::current_exception());
        }
        return RuntimeError(0, "nothing was thrown");
    };
    EXPECT_EQ(convert([] { throw RuntimeError(1001, "Own"); }).description(), "Own");
    EXPECT_EQ(convert([] { throw std::bad_alloc(); }).description(), "Out of memory");
    EXPECT_EQ(convert([] {
                  throw std::filesystem::filesystem_error(
                      "copy", std::make_error_code(std::errc::no_such_file_or_directory));
              }).number(),
              53);
    EXPECT_EQ(convert([] { std::vector<int>(3).at(3); }).number(), 9);
    EXPECT_EQ(convert([] { throw 42; }).number(), 5);
}

TEST(Errors, TheProcedureBoxNamesTheNumberAndTheProcedure) {
    testing::ScriptedPrompts prompts;
    show_procedure_error(prompts, RuntimeError(Err::PathFileAccessError), "SAVE_SETTINGS");
    EXPECT_EQ(prompts.shown, std::vector{testing::error_box(75, "SAVE_SETTINGS")});
}

TEST(VbArray, IndexesFromItsLowerBoundAndRefusesOthers) {
    VbArray<int> a(105, 107);
    a(107) = 3;
    EXPECT_EQ(std::vector<int>(a.begin(), a.end()), (std::vector<int>{0, 0, 3}));
    EXPECT_EQ(error_of([&] { a(104); }), 9);
    EXPECT_EQ(error_of([&] { a(108); }), 9);
    a.redim(1, 0);
    EXPECT_TRUE(a.empty());
    EXPECT_EQ(error_of([&] { a(1); }), 9);
    EXPECT_EQ(error_of([&] { a(0); }), 9);
}

TEST(LcgRandom, FollowsTheClassicSequenceAndItsSeed) {
    LcgRandom r;
    EXPECT_EQ(r.next(), 11837123 / 16777216.0f);
    EXPECT_EQ(r.next(), 8949370 / 16777216.0f);
    LcgRandom seeded;
    seeded.seed(76543.21);
    EXPECT_NE(seeded.next(), 11837123 / 16777216.0f);  // the seed moves the sequence
    r.seed(76543.21);
    for (int i = 0; i < 10000; ++i) {
        const float x = r.next();
        ASSERT_TRUE(x >= 0.0f && x < 1.0f) << x;
    }
}

}  // namespace
}  // namespace zeko
