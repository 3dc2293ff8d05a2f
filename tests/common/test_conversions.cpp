#include "common/myfun.h"

#include "printqstring.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

// Runs f and returns what it wrote to standard error (the debug output channel).
template <typename F> QString debugOutputOf(F f) {
    testing::internal::CaptureStderr();
    f();
    return QString::fromStdString(testing::internal::GetCapturedStderr());
}

TEST(SplitStrings, SplitsAtEveryExactDelimiter) {
    struct Case {
        QString source, deli;
        QStringList parts;
    };
    const Case cases[] = {
        {"a,b,", ",", {"a", "b", ""}}, {"", ",", {""}},
        {"a,,b", ",", {"a", "", "b"}}, {"a::b:c", "::", {"a", "b:c"}},
        {":::", "::", {"", ":"}},      {"aXb", "x", {"aXb"}},
        {"a,b", "", {"a,b"}},          {"桌1|桌2", "|", {"桌1", "桌2"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SplitStrings(c.source, c.deli), c.parts) << c.source.toStdString();
}

TEST(FormatPno, CutsOrPadsTheShortestDecimalText) {
    struct Case {
        double price;
        int ws;
        const char* text;
    };
    const Case cases[] = {
        {12.345, 2, "12.34"}, {5, 2, "5.00"},       {0.5, 2, "0.50"},
        {-3.1, 2, "-3.10"},   {2.675, 2, "2.67"},   {-2.675, 2, "-2.67"},
        {7, 0, "7."},         {12.5, 0, "12."},     {0.1 + 0.2, 2, "0.30"},
        {0, 2, "0.00"},       {99.999, 2, "99.99"}, {123456.789, 1, "123456.7"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FormatPno(c.price, c.ws), QString::fromUtf8(c.text)) << c.price << " " << c.ws;
}

TEST(SafeStrToFloat, ConvertsTrimmedTextWithCommaOrPoint) {
    struct Case {
        QString value;
        double result;
    };
    const Case cases[] = {
        {" 3,5 ", 3.5}, {"12.5", 12.5},   {"\t-7\r\n", -7}, {"+.5", 0.5}, {"1.", 1},
        {"1e3", 1000},  {"2.5E-1", 0.25}, {"0", 0},         {"", 0},      {"  \t ", 0},
    };
    for (const Case& c : cases) {
        double result = -1;
        const QString output = debugOutputOf([&] { result = SafeStrToFloat(c.value); });
        EXPECT_DOUBLE_EQ(result, c.result) << c.value.toStdString();
        EXPECT_TRUE(output.isEmpty()) << output.toStdString();
    }
}

TEST(SafeStrToFloat, FailureGivesZeroAndOneDebugLineQuotingTheValue) {
    const QString output = debugOutputOf([] { EXPECT_EQ(SafeStrToFloat("abc"), 0.0); });
    EXPECT_EQ(output, "SafeStrToFloat Error: 'abc' is not a valid floating point value "
                      "for value: \"abc\"\n");

    // The message quotes the converted text, the tail the value as passed in.
    const QString mixed = debugOutputOf([] { EXPECT_EQ(SafeStrToFloat(" 1,234.5 "), 0.0); });
    EXPECT_EQ(mixed, "SafeStrToFloat Error: '1.234.5' is not a valid floating point value "
                     "for value: \" 1,234.5 \"\n");
}

TEST(SafeStrToFloat, RejectsAnythingButSignDigitsPointAndExponent) {
    for (const QString value :
         {"1 2", "0x10", "1e", "e3", ".", "-", "1e999", "inf", "nan", "12abc", "１２", "1.2.3"}) {
        double result = -1;
        const QString output = debugOutputOf([&] { result = SafeStrToFloat(value); });
        EXPECT_EQ(result, 0.0) << value.toStdString();
        EXPECT_EQ(output.count(QLatin1Char('\n')), 1) << value.toStdString();
        EXPECT_TRUE(output.startsWith("SafeStrToFloat Error: ")) << output.toStdString();
    }
}

TEST(SafeStrToCurr, RoundsTheDecimalTextToFourPlaces) {
    struct Case {
        QString value;
        int64_t raw;
    };
    const Case cases[] = {
        {"2.675", 26750},
        {" 12,5 ", 125000},
        {"1.00005", 10001}, // exactly half, away from zero (a double would give 1.0000)
        {"-1.00005", -10001},
        {"1.000049999", 10000},
        {"1,23456", 12346},
        {"5e-5", 1},
        {"4e-5", 0},
        {"12.5e2", 12500000},
        {"-0", 0},
        {"", 0},
        {"922337203685477.5807", std::numeric_limits<int64_t>::max()},
        {"-922337203685477.5808", std::numeric_limits<int64_t>::min()},
        {"0.000000000000000000000000001", 0},
    };
    for (const Case& c : cases) {
        TCurrency result{-1};
        const QString output = debugOutputOf([&] { result = SafeStrToCurr(c.value); });
        EXPECT_EQ(result.raw, c.raw) << c.value.toStdString();
        EXPECT_TRUE(output.isEmpty()) << output.toStdString();
    }
    EXPECT_DOUBLE_EQ(SafeStrToCurr("19.99").ToDouble(), 19.99);
}

TEST(SafeStrToCurr, FailureGivesZeroAndOneDebugLine) {
    const QString output = debugOutputOf([] { EXPECT_EQ(SafeStrToCurr(" abc").raw, 0); });
    EXPECT_EQ(output, "SafeStrToCurr Error: 'abc' is not a valid floating point value "
                      "for value: \" abc\"\n");

    // Out of the 64-bit range of ten-thousandths.
    for (const QString value :
         {"922337203685477.5808", "-922337203685477.58085", "1e30", "1e99999999999999999999"}) {
        TCurrency result{-1};
        const QString line = debugOutputOf([&] { result = SafeStrToCurr(value); });
        EXPECT_EQ(result.raw, 0) << value.toStdString();
        EXPECT_TRUE(line.startsWith("SafeStrToCurr Error: ")) << value.toStdString();
    }
}

TEST(IsIntAndIsNumeric, AcceptStrictNumbersOnly) {
    struct Case {
        QString text;
        bool isInt, isNumeric;
    };
    const Case cases[] = {
        {"0", true, true},
        {"+5", true, true},
        {"-2147483648", true, true},
        {"2147483647", true, true},
        {"2147483648", false, true}, // beyond 32 bits, still a number
        {"-2147483649", false, true},
        {"99999999999999999999", false, true},
        {"1.5", false, true},
        {"-.5", false, true},
        {"1.", false, true},
        {"1e3", false, true},
        {"1E-3", false, true},
        {"", false, false},
        {" ", false, false},
        {" 5", false, false},
        {"5 ", false, false},
        {"1,5", false, false},
        {"1e", false, false},
        {".", false, false},
        {"0x10", false, false},
        {"1e999", false, false},
        {"inf", false, false},
        {"12abc", false, false},
        {"５", false, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IsInt(c.text), c.isInt) << c.text.toStdString();
        EXPECT_EQ(IsNumeric(c.text), c.isNumeric) << c.text.toStdString();
    }
}

TEST(getcaipinstat, NamesTheFourCodesAndNothingElse) {
    EXPECT_EQ(getcaipinstat(0), "待制作");
    EXPECT_EQ(getcaipinstat(3), "已出菜");
    EXPECT_EQ(getcaipinstat(7), "已退菜");
    EXPECT_EQ(getcaipinstat(8), "已删除");
    for (int code : {1, 2, 4, 5, 6, 9, -1})
        EXPECT_EQ(getcaipinstat(code), "未知状态") << code;
}

} // namespace
