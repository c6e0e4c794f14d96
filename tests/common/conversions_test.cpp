#include "common/conversions.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
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
#include "support/fakes.h"

namespace zeko {
namespace {

using testing::error_of;

constexpr int kOverflow = static_cast<int>(Err::Overflow);

TEST(Val, TakesTheNumberTheTextBeginsWith) {
    EXPECT_EQ(Val("  12abc"), 12);
    EXPECT_EQ(Val("abc"), 0);
    EXPECT_EQ(Val(""), 0);
    EXPECT_EQ(Val("1.2.3"), 1.2);
    EXPECT_EQ(Val("1,000"), 1);
    EXPECT_EQ(Val("+7"), 7);
    EXPECT_EQ(Val("-"), 0);
    EXPECT_EQ(Val("."), 0);
    EXPECT_EQ(Val("--5"), 0);
    EXPECT_EQ(Val(".5"), 0.5);
    EXPECT_EQ(Val("-.25x"), -0.25);
    EXPECT_EQ(Val("7."), 7);
}

TEST(Val, SkipsBlanksTabsAndLineFeedsAnywhere) {
    EXPECT_EQ(Val("1 2 3"), 123);
    EXPECT_EQ(Val("\t1\n2 x 3"), 12);
    EXPECT_EQ(Val("- 5"), -5);
    EXPECT_EQ(Val("1 . 5"), 1.5);
    EXPECT_EQ(Val("& H F F"), 255);
}

TEST(Val, ReadsExponents) {
    EXPECT_EQ(Val("-3.5e2"), -350);
    EXPECT_EQ(Val("1E+2"), 100);
    EXPECT_EQ(Val("2D3"), 2000);
    EXPECT_DOUBLE_EQ(Val("3e-1"), 0.3);
    // An exponent mark without digits is not part of the number.
    EXPECT_EQ(Val("1e"), 1);
    EXPECT_EQ(Val("4e+x"), 4);
    EXPECT_EQ(Val("1000e-310"), 1e-307);
    EXPECT_EQ(Val("1e400"), std::numeric_limits<double>::infinity());
    EXPECT_EQ(Val("-0.0001e99999999999999999999"), -std::numeric_limits<double>::infinity());
    EXPECT_EQ(Val("1e-400"), 0);
    EXPECT_EQ(Val("-0.001e-330"), 0);
    EXPECT_EQ(Val("0e999"), 0);
}

TEST(Val, ReadsHexadecimalAndOctalAsTwosComplementOfTheirWidth) {
    EXPECT_EQ(Val("&HFF"), 255);
    EXPECT_EQ(Val("&hff"), 255);
    EXPECT_EQ(Val("&H7FFF"), 32767);
    EXPECT_EQ(Val("&H8000"), -32768);
    EXPECT_EQ(Val("&HFFFF"), -1);
    EXPECT_EQ(Val("&H0FFFF"), 65535);
    EXPECT_EQ(Val("&H10000"), 65536);
    EXPECT_EQ(Val("&HFFFFFFFF"), -1);
    EXPECT_EQ(Val("&H80FF80"), 0x80FF80);
    EXPECT_EQ(Val("&HFFzz"), 255);
    EXPECT_EQ(Val("&O17"), 15);
    EXPECT_EQ(Val("&O178"), 15);
    EXPECT_EQ(Val("&O177777"), -1);
    EXPECT_EQ(Val("&H"), 0);
    EXPECT_EQ(Val("&X12"), 0);
}

// The window toolkit takes the user's locale for everything; a German one writes "3,5".
// Numbers in files and pages are always written with a point, whatever the locale.
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
    EXPECT_EQ(Val("-3.5e2"), -350);
    EXPECT_EQ(Val("3,5"), 3);
    EXPECT_EQ(Str(0.5), " .5");
    EXPECT_EQ(Str(-1.25), "-1.25");
}

TEST(CInt, RoundsHalvesToEvenAndOverflowsOutside16Bits) {
    EXPECT_EQ(CInt(2.5), 2);
    EXPECT_EQ(CInt(3.5), 4);
    EXPECT_EQ(CInt(-2.5), -2);
    EXPECT_EQ(CInt(-3.5), -4);
    EXPECT_EQ(CInt(0.5), 0);
    EXPECT_EQ(CInt(1.5), 2);
    EXPECT_EQ(CInt(2.5000001), 3);
    EXPECT_EQ(CInt(-0.4), 0);
    EXPECT_EQ(CInt(32767.49), 32767);
    EXPECT_EQ(CInt(-32768.5), -32768);
    EXPECT_EQ(error_of([] { CInt(32767.5); }), kOverflow);
    EXPECT_EQ(error_of([] { CInt(-32768.51); }), kOverflow);
    EXPECT_EQ(error_of([] { CInt(1e300); }), kOverflow);
    EXPECT_EQ(error_of([] { CInt(std::numeric_limits<double>::quiet_NaN()); }), kOverflow);
    EXPECT_EQ(error_of([] { CInt(-std::numeric_limits<double>::infinity()); }), kOverflow);
}

TEST(CLng, RoundsHalvesToEvenAndOverflowsOutside32Bits) {
    EXPECT_EQ(CLng(2.5), 2);
    EXPECT_EQ(CLng(-3.5), -4);
    EXPECT_EQ(CLng(100000.5), 100000);
    EXPECT_EQ(CLng(-2147483648.5), std::numeric_limits<int32_t>::min());
    EXPECT_EQ(CLng(2147483647.0), std::numeric_limits<int32_t>::max());
    EXPECT_EQ(error_of([] { CLng(2147483647.5); }), kOverflow);
    EXPECT_EQ(error_of([] { CLng(-2147483649.0); }), kOverflow);
    EXPECT_EQ(error_of([] { CLng(std::numeric_limits<double>::quiet_NaN()); }), kOverflow);
}

TEST(Int, RoundsDown) {
    EXPECT_EQ(Int(2.7), 2);
    EXPECT_EQ(Int(-2.3), -3);
    EXPECT_EQ(Int(-2.0), -2);
    EXPECT_EQ(Int(4.999999), 4);
}

TEST(Str, NonNegativeNumbersGetALeadingBlank) {
    EXPECT_EQ(Str(5), " 5");
    EXPECT_EQ(Str(-5), "-5");
    EXPECT_EQ(Str(0), " 0");
    EXPECT_EQ(Str(int16_t{-32768}), "-32768");
    EXPECT_EQ(Str(int64_t{5000000000}), " 5000000000");
    EXPECT_EQ(Str(3.0), " 3");
    EXPECT_EQ(Str(-0.0), " 0");
    EXPECT_EQ(Str(0.5), " .5");
    EXPECT_EQ(Str(-0.25), "-.25");
    EXPECT_EQ(Str(1.5), " 1.5");
    EXPECT_EQ(Str(123456.789), " 123456.789");
    // Fifteen significant digits, as the classic conversion writes doubles.
    EXPECT_EQ(Str(1.0 / 3.0), " .333333333333333");
    EXPECT_EQ(Str(0.1 + 0.2), " .3");
    EXPECT_EQ(Str(1e15), " 1E+15");
    EXPECT_EQ(Str(-1e20), "-1E+20");
    EXPECT_EQ(Str(0.00001), " 1E-05");
    EXPECT_EQ(Str(123456789012345.0), " 123456789012345");
}

TEST(Str, WhatItWritesValReadsBack) {
    for (double v : {0.0, 7.0, -7.0, 0.5, -0.25, 12.75, 1e15, 2.5e-7, -31999.0})
        EXPECT_EQ(Val(Str(v)), v) << Str(v);
}

TEST(UCase, UpperCasesAsciiAndCodePageLetters) {
    EXPECT_EQ(UCase("abc xyz 09_!"), "ABC XYZ 09_!");
    EXPECT_EQ(UCase("Élodie à l'été"), "ÉLODIE À L'ÉTÉ");
    EXPECT_EQ(UCase("ñ ø þ"), "Ñ Ø Þ");
    EXPECT_EQ(UCase("š œ ž ÿ"), "Š Œ Ž Ÿ");
    // These have no capital in the code page.
    EXPECT_EQ(UCase("ß µ ÷ ª"), "ß µ ÷ ª");
    EXPECT_EQ(UCase("ā あ 😀"), "ā あ 😀");
    EXPECT_EQ(UCase("a\xFF"
                    "b"),
              "A\xFF"
              "B");
}

TEST(Arithmetic16, RaisesOverflowInsteadOfWrapping) {
    EXPECT_EQ(add16(32766, 1), 32767);
    EXPECT_EQ(error_of([] { add16(32767, 1); }), kOverflow);
    EXPECT_EQ(add16(-32768, 0), -32768);
    EXPECT_EQ(sub16(-32767, 1), -32768);
    EXPECT_EQ(error_of([] { sub16(-32768, 1); }), kOverflow);
    EXPECT_EQ(error_of([] { sub16(0, -32768); }), kOverflow);
    EXPECT_EQ(mul16(-256, 128), -32768);
    EXPECT_EQ(error_of([] { mul16(256, 128); }), kOverflow);
    EXPECT_EQ(error_of([] { mul16(std::numeric_limits<int32_t>::max(), -65536); }), kOverflow);
    EXPECT_EQ(abs16(-32767), 32767);
    EXPECT_EQ(abs16(12), 12);
    EXPECT_EQ(error_of([] { abs16(-32768); }), kOverflow);
    EXPECT_EQ(error_of([] { abs16(std::numeric_limits<int32_t>::min()); }), kOverflow);
    EXPECT_EQ(to16(-32768), -32768);
    EXPECT_EQ(error_of([] { to16(32768); }), kOverflow);
    EXPECT_EQ(error_of([] { to16(int64_t{1} << 40); }), kOverflow);
}

TEST(RecordCount, RoundsTheRecordsHalfToEven) {
    EXPECT_EQ(record_count(0, 165), 0);
    EXPECT_EQ(record_count(82, 165), 0);
    EXPECT_EQ(record_count(83, 165), 1);
    EXPECT_EQ(record_count(200, 165), 1);
    EXPECT_EQ(record_count(248, 165), 2);
    EXPECT_EQ(record_count(250, 165), 2);
    EXPECT_EQ(record_count(330, 165), 2);
    EXPECT_EQ(record_count(5, 2), 2);
    EXPECT_EQ(record_count(7, 2), 4);
    EXPECT_EQ(record_count(int64_t{165} * 32767, 165), 32767);
    EXPECT_EQ(error_of([] { record_count(int64_t{165} * 32768, 165); }), kOverflow);
    EXPECT_EQ(error_of([] { record_count(int64_t{1} << 40, 165); }), kOverflow);
}

TEST(Errors, KeepTheClassicNumbersAndDescriptions) {
    EXPECT_EQ(error_description(6), "Overflow");
    EXPECT_EQ(error_description(9), "Subscript out of range");
    EXPECT_EQ(error_description(53), "File not found");
    EXPECT_EQ(error_description(75), "Path/File access error");
    EXPECT_EQ(error_description(74), "Can't rename with different drive");
    EXPECT_EQ(error_description(0), "Application-defined or object-defined error");
    EXPECT_EQ(error_description(1234), "Application-defined or object-defined error");

    RuntimeError e(Err::FileNotFound);
    EXPECT_EQ(e.number(), 53);
    EXPECT_EQ(e.description(), "File not found");
    EXPECT_STREQ(e.what(), "File not found");
    RuntimeError own(1001, "Something else");
    EXPECT_EQ(own.number(), 1001);
    EXPECT_EQ(own.description(), "Something else");
    EXPECT_THROW(raise(Err::Overflow), RuntimeError);
    EXPECT_EQ(error_of([] { raise(Err::DiskFull); }), 61);
}

TEST(Errors, FileSystemFailuresMapToTheErrorThePlayerSees) {
    auto number = [](int e) { return static_cast<int>(error_from_errno(e)); };
    EXPECT_EQ(number(ENOENT), 53);
    EXPECT_EQ(number(EACCES), 70);
    EXPECT_EQ(number(EPERM), 70);
    EXPECT_EQ(number(EROFS), 70);
    EXPECT_EQ(number(ENOTDIR), 76);
    EXPECT_EQ(number(ENOSPC), 61);
    EXPECT_EQ(number(EMFILE), 67);
    EXPECT_EQ(number(EEXIST), 58);
    EXPECT_EQ(number(EXDEV), 74);
    EXPECT_EQ(number(EIO), 57);
    EXPECT_EQ(number(EISDIR), 75);
    EXPECT_EQ(number(0), 75);
    EXPECT_EQ(number(99999), 75);
    EXPECT_EQ(error_of([] { raise_errno(ENOENT); }), 53);
}

TEST(Errors, AnythingThrownBecomesAReportableError) {
    auto convert = [](auto&& step) {
        try {
            step();
        } catch (...) {
            return as_runtime_error(std::current_exception());
        }
        ADD_FAILURE() << "nothing was thrown";
        return RuntimeError(0, "");
    };
    RuntimeError own = convert([] { throw RuntimeError(1001, "Something else"); });
    EXPECT_EQ(own.number(), 1001);
    EXPECT_EQ(own.description(), "Something else");
    EXPECT_EQ(convert([] { raise(Err::DiskFull); }).number(), 61);
    RuntimeError memory = convert([] { throw std::bad_alloc(); });
    EXPECT_EQ(memory.number(), 7);
    EXPECT_EQ(memory.description(), "Out of memory");
    EXPECT_EQ(convert([] {
                  throw std::filesystem::filesystem_error(
                      "copy", std::make_error_code(std::errc::no_such_file_or_directory));
              }).number(),
              53);
    EXPECT_EQ(convert([] { std::vector<int>(3).at(3); }).number(), 9);
    EXPECT_EQ(convert([] { throw std::runtime_error("odd"); }).number(), 5);
    EXPECT_EQ(convert([] { throw 42; }).number(), 5);
}

TEST(VbArray, IndexesFromItsLowerBoundAndRefusesOthers) {
    VbArray<int> a(105, 107);
    EXPECT_EQ(a.lbound(), 105);
    EXPECT_EQ(a.ubound(), 107);
    EXPECT_EQ(a.size(), 3);
    EXPECT_EQ(a(105), 0);
    a(105) = 1;
    a(107) = 3;
    EXPECT_EQ(std::vector<int>(a.begin(), a.end()), (std::vector<int>{1, 0, 3}));
    EXPECT_EQ(error_of([&] { a(104); }), 9);
    EXPECT_EQ(error_of([&] { a(108); }), 9);
    const VbArray<int>& c = a;
    EXPECT_EQ(c(107), 3);
    EXPECT_EQ(error_of([&] { c(0); }), 9);

    a.redim(-2, 2);
    EXPECT_EQ(a.size(), 5);
    EXPECT_EQ(a(-2), 0);
    EXPECT_EQ(a(2), 0);
    a.redim(1, 0);
    EXPECT_TRUE(a.empty());
    EXPECT_EQ(a.ubound(), 0);
    EXPECT_EQ(error_of([&] { a(1); }), 9);
    EXPECT_EQ(error_of([&] { a(0); }), 9);

    VbArray<std::string> none;
    EXPECT_TRUE(none.empty());
    EXPECT_EQ(error_of([&] { none(0); }), 9);
}

TEST(ShowProcedureError, NamesTheNumberAndTheProcedure) {
    testing::ScriptedPrompts prompts;
    show_procedure_error(prompts, RuntimeError(Err::Overflow), "LOAD_DB");
    show_procedure_error(prompts, RuntimeError(Err::PathFileAccessError), "SAVE_SETTINGS");
    ASSERT_EQ(prompts.shown.size(), 2u);
    EXPECT_EQ(prompts.shown[0],
              (testing::ShownBox{"An error occused in 'LOAD_DB', please report the error number "
                                 "and where it occured.",
                                 MsgButtons::OK, MsgIcon::Information, "Error #6"}));
    EXPECT_EQ(prompts.shown[1],
              (testing::ShownBox{"An error occused in 'SAVE_SETTINGS', please report the error "
                                 "number and where it occured.",
                                 MsgButtons::OK, MsgIcon::Information, "Error #75"}));
}

TEST(LcgRandom, FollowsTheClassicSequence) {
    LcgRandom r;
    EXPECT_EQ(r.next(), 11837123 / 16777216.0f);
    EXPECT_EQ(r.next(), 8949370 / 16777216.0f);
    EXPECT_EQ(r.next(), 9722709 / 16777216.0f);
}

TEST(LcgRandom, StaysInUnitIntervalAndRepeatsForTheSameSeed) {
    LcgRandom a;
    LcgRandom b;
    LcgRandom c;
    a.seed(76543.21);
    b.seed(76543.21);
    c.seed(76544.21);
    bool differs = false;
    for (int i = 0; i < 10000; ++i) {
        float x = a.next();
        ASSERT_GE(x, 0.0f);
        ASSERT_LT(x, 1.0f);
        EXPECT_EQ(x, b.next());
        differs = differs || x != c.next();
    }
    EXPECT_TRUE(differs);
}

}  // namespace
}  // namespace zeko
