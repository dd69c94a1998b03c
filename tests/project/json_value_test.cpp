#include "project/json_value.h"

#include <gtest/gtest.h>

#include <string>

namespace tessarin {
namespace {

// What the strict reader accepts, and the value it gives.
TEST(JsonValue, ReadsWhatTheGrammarAllows) {
    const auto reading = readJson(
        " {\"a\": [1, -0.5, 2e3, 1E-2, true, false, null],\n \"s\": "
        "\"\\u67f1\\ud83d\\ude00\\n\"} ");
    ASSERT_TRUE(reading.value) << reading.error.reason;
    const JsonValue& root = *reading.value;
    ASSERT_EQ(root.kind, JsonValue::Kind::Object);
    const JsonValue* a = root.find("a");
    ASSERT_NE(a, nullptr);
    ASSERT_EQ(a->items.size(), 7U);
    EXPECT_EQ(a->items[0].number, 1.0);
    EXPECT_EQ(a->items[1].number, -0.5);
    EXPECT_EQ(a->items[2].number, 2000.0);
    EXPECT_EQ(a->items[3].number, 0.01);
    EXPECT_TRUE(a->items[4].boolean);
    EXPECT_EQ(a->items[6].kind, JsonValue::Kind::Null);
    // U+67F1 柱, then U+1F600 from its surrogate pair, then a line feed.
    EXPECT_EQ(root.find("s")->text, "柱\xF0\x9F\x98\x80\n");
    EXPECT_EQ(root.find("s")->line, 2);
}

// Each fault: where the reader stops (line, column) and what it says.
TEST(JsonValue, RefusesWithLineColumnAndReason) {
    struct Case {
        std::string text;
        int line;
        int column;
        const char* reason;
    };
    const Case cases[] = {
        {"", 1, 1, "意外结束"},
        {"{\"a\": 1,}", 1, 9, "带引号的名称"},
        {"[1, 2,]", 1, 7, "无法识别的值"},
        {"{\n  \"a\": 01}", 2, 9, "不能以 0 开头"},
        {"{\"a\": 1} x", 1, 10, "多余的内容"},
        {"{\"a\": 1, \"a\": 2}", 1, 10, "\"a\" 重复"},
        {"[1e400]", 1, 2, "超出范围"},
        {"[NaN]", 1, 2, "无法识别的值"},
        {"[\"tab\there\"]", 1, 6, "控制字符"},
        {"[\"\\ud800\"]", 1, 9, "高位代理"},
        {"[\"\\udc00\"]", 1, 9, "低位代理"},
        {"[\"\\x\"]", 1, 4, "无效的转义"},
        {"[\"\xC0\xAF\"]", 1, 3, "UTF-8"},      // an overlong '/'
        {"[\"\xED\xA0\x80\"]", 1, 3, "UTF-8"},  // a surrogate written as UTF-8
        {"[\"abc", 1, 6, "结束的引号"},
        {"// note\n{}", 1, 1, "无法识别的值"},
        {"['a']", 1, 2, "无法识别的值"},
        {"[1.]", 1, 4, "小数点之后"},
        {"[-]", 1, 3, "数字不完整"},
        {"{\"a\" 1}", 1, 6, "冒号"},
    };
    for (const Case& c : cases) {
        const auto reading = readJson(c.text);
        EXPECT_FALSE(reading.value) << c.text;
        EXPECT_EQ(reading.error.line, c.line) << c.text;
        EXPECT_EQ(reading.error.column, c.column) << c.text;
        EXPECT_NE(reading.error.reason.find(c.reason), std::string::npos)
            << c.text << ": " << reading.error.reason;
    }
}

// Nesting stops at kJsonMaxDepth rather than at the end of the stack.
TEST(JsonValue, DeepNestingIsRefused) {
    const std::string ok = std::string(kJsonMaxDepth, '[') + std::string(kJsonMaxDepth, ']');
    EXPECT_TRUE(readJson(ok).value);
    const std::string deep = std::string(100000, '[');
    const auto reading = readJson(deep);
    EXPECT_FALSE(reading.value);
    EXPECT_NE(reading.error.reason.find("嵌套"), std::string::npos);
}

// A string written and read back is the same bytes: quotes, backslashes, control characters.
TEST(JsonValue, StringsRoundTrip) {
    const std::string texts[] = {"", "KZ1", "某\"住宅\"\\楼", std::string("a\x01\x1f\tb\r\n", 7)};
    for (const std::string& text : texts) {
        std::string json;
        appendJsonString(json, text);
        const auto reading = readJson(json);
        ASSERT_TRUE(reading.value) << json;
        EXPECT_EQ(reading.value->text, text);
    }
    std::string json;
    appendJsonString(json, std::string("\x01", 1));
    EXPECT_EQ(json, "\"\\u0001\"");
}

}  // namespace
}  // namespace tessarin
