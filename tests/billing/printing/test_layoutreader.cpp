#include "billing/printing/layoutreader.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

rapidjson::Document cellOf(const char* json) {
    rapidjson::Document doc;
    doc.Parse(json);
    return doc;
}

TEST(LayoutReader, IntegerValues) {
    const struct {
        const char* cell;
        int32_t expected;
    } cases[] = {
        {R"({"v":1})", 1},
        {R"({"v":"1"})", 1},
        {R"({"v":"12"})", 12},
        {R"({"v":"-3"})", -3},
        {R"({"v":"0"})", 0},
        {R"({"v":"yes"})", 0},
        {R"({"v":"1.0"})", 0},
        {R"({"v":""})", 0},
        {R"({"v":1.6})", 2},
        {R"({"v":-2.5})", -3},
        {R"({"v":1e12})", std::numeric_limits<int32_t>::max()},
        {R"({"v":true})", 1},
        {R"({"v":false})", 0},
        {R"({"v":[1]})", 0},
        {R"({"v":{}})", 0},
        {R"({"v":null})", 99},
        {R"({"w":1})", 99},
    };
    for (const auto& c : cases)
        EXPECT_EQ(GetSafeInteger(cellOf(c.cell), "v", 99), c.expected) << c.cell;
}

TEST(LayoutReader, StringValues) {
    const struct {
        const char* cell;
        const char* expected;
    } cases[] = {
        {R"({"v":"鱼香\"茄子\\"})", "鱼香\"茄子\\"},
        {R"({"v":39.01})", "39.01"},
        {R"({"v":12})", "12"},
        {R"({"v":true})", "true"},
        {R"({"v":null})", "default"},
        {R"({"w":"x"})", "default"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(GetSafeString(cellOf(c.cell), "v", QStringLiteral("default")),
                  QString::fromUtf8(c.expected))
            << c.cell;
    }
}

TEST(LayoutReader, DocumentShape) {
    const struct {
        const char* text;
        int rows; // -1: refused
    } cases[] = {
        {"[]", 0},
        {"[[],]", 1},
        {R"([[{"title":"a"},],[{"title":"b"}],])", 2},
        {R"([[{"title":"a","isdel":"1",}],])", 1},
        {"[[],,]", -1},
        {"[,]", -1},
        {"", -1},
        {R"([[{"title":"a"}])", -1},
        {R"([[{"title":"a"}]] x)", -1},
        {R"({"rows":[]})", -1},
        {R"([{"title":"a"}])", -1},
        {R"([[1]])", -1},
        {R"([[["a"]]])", -1},
        {R"([[{"title":"a"}],null])", -1},
    };
    for (const auto& c : cases) {
        rapidjson::Document doc;
        const bool ok = ParseLayout(QString::fromUtf8(c.text), doc);
        EXPECT_EQ(ok ? int(doc.Size()) : -1, c.rows) << c.text;
    }
}

} // namespace
