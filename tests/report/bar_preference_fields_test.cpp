#include "report/bar_preference_fields.h"

#include <gtest/gtest.h>

#include <string>

#include "report/gb2010_report.h"

namespace tessarin {
namespace {

// The notation: today's words while the b and h faces share their middle bars, 16G101-1's
// ("b边一侧中部筋") when they differ; a face without middle bars is left out.
TEST(BarNotation, SixteenG101WordsOnlyWhenTheFacesDiffer) {
    struct Case {
        LayoutChoice choice;
        SteelGrade2010 steel;
        const char* text;
    };
    const Case cases[] = {
        {{25, 20, 3, 2}, SteelGrade2010::HRB400, "角筋 4C25；b边每侧 3C20；h边每侧 2C20"},
        {{25, 20, 3, 18, 2},
         SteelGrade2010::HRB400,
         "角筋 4C25；b边一侧中部筋 3C20；h边一侧中部筋 2C18"},
        // One face without middle bars: nothing differs.
        {{25, 20, 0, 18, 2}, SteelGrade2010::HRB500, "角筋 4D25；h边每侧 2D18"},
        {{16, 16, 0, 0}, SteelGrade2010::HRB335, "角筋 4B16"},
    };
    for (const Case& c : cases) EXPECT_EQ(layoutNotation(c.choice, c.steel), c.text);
}

// Each field's text read into its place, written back the same, and the texts refused.
TEST(BarPreferenceFields, TextsReadAndWrittenBack) {
    struct Case {
        const char* key;
        const char* text;
        const char* written;  // what barPreferenceText gives back; nullptr: refused
        const char* why;
    };
    const Case cases[] = {
        {"diameters", " 20，16 25\t18 ", "16,18,20,25", ""},
        {"diameters", "16,,20", "16,20", ""},
        {"diameters", "16,20,16", nullptr, "直径重复"},
        {"diameters", "16;20", nullptr, "\"16;20\" 不是钢筋直径（整数毫米，以逗号分隔）"},
        {"diameters", "", nullptr, "至少给出一种直径"},
        {"smallestMiddleBar", "14", "14", ""},
        {"smallestMiddleBar", "1e1", nullptr, "\"1e1\" 不是钢筋直径（整数毫米）"},
        {"maximumSizeStep", "0", "0", ""},
        {"maximumSizeStep", "2.0", nullptr, "\"2.0\" 不是 0～10 的整数"},
        {"middleBarsMayDiffer", "no", "no", ""},
        {"middleBarsMayDiffer", "No", nullptr, "\"No\" 应为 yes 或 no"},
        {"sameBarsOnSquare", "yes", "yes", ""},
        {"preferredDiameter", "none", "none", ""},
        {"preferredDiameter", "22", "22", ""},
        {"preferredDiameter", "0", nullptr, "\"0\" 不是钢筋直径（整数毫米）"},
    };
    for (const Case& c : cases) {
        const BarPreferenceField* field = nullptr;
        for (const BarPreferenceField& f : kBarPreferenceFields) {
            if (std::string(f.key) == c.key) field = &f;
        }
        ASSERT_NE(field, nullptr) << c.key;
        BarPreferences p;
        const BarPreferences before = p;
        const std::string why = readBarPreference(*field, c.text, p);
        EXPECT_EQ(why, c.why) << c.key << " " << c.text;
        if (c.written != nullptr) {
            EXPECT_EQ(barPreferenceText(*field, p), c.written) << c.key << " " << c.text;
        } else {
            EXPECT_TRUE(p == before) << c.key << " " << c.text;  // left as it was
        }
    }
}

// The preferences as a whole: what one field cannot say alone.
TEST(BarPreferenceFields, WholePreferencesChecked) {
    const auto problem = [](auto change) {
        BarPreferences p;
        change(p);
        return barPreferencesProblem(p);
    };
    EXPECT_EQ(problem([](BarPreferences&) {}), "");
    EXPECT_EQ(problem([](BarPreferences& p) {
                  p.diameters = {12, 15};
              }),
              "可用直径：15 不是可用的钢筋直径（12、14、16、18、20、22、25、28、32、36、40）");
    EXPECT_EQ(
        problem([](BarPreferences& p) { p.smallestMiddleBar = 13; }),
        "最小中部筋直径：13 不是可用的钢筋直径（12、14、16、18、20、22、25、28、32、36、40）");
    EXPECT_EQ(problem([](BarPreferences& p) { p.maximumSizeStep = 11; }),
              "角筋与中部筋最大级差：应为 0～10 档");
    EXPECT_EQ(problem([](BarPreferences& p) {
                  p.diameters = {20, 25};
                  p.preferredDiameter = 22;
              }),
              "优先直径：22 不在可用直径之中");
    // The step counts sizes of the allowed list: with 16, 20, 25 a C16 middle bar stands two
    // sizes below a C25 corner, with the whole list four (16, 18, 20, 22, 25).
    BarPreferences sparse;
    sparse.diameters = {16, 20, 25};
    EXPECT_TRUE(middleBarAllowed(sparse, 25, 16));
    EXPECT_FALSE(middleBarAllowed(BarPreferences{}, 25, 16));
    EXPECT_TRUE(middleBarAllowed(BarPreferences{}, 25, 20));
    EXPECT_FALSE(middleBarAllowed(BarPreferences{}, 20, 25));  // never above the corner
}

// The rows of one column id must give the same preferences.
TEST(BarPreferenceFields, RowsOfOneColumnMustAgree) {
    BarPreferences a;
    BarPreferences b;
    EXPECT_FALSE(barPreferencesDiffer(a, b, 2));
    b.maximumSizeStep = 3;
    EXPECT_EQ(barPreferencesDiffer(a, b, 2).value_or(""),
              "max_size_step: \"3\" differs from \"2\" on line 2; the rows of an id share one "
              "column and its bar preferences");
    BarPreferenceColumns at{};
    findBarPreferenceColumns({"id", " max_size_step ", "bars", "x"}, at);
    EXPECT_EQ(at[0], 2);   // bars
    EXPECT_EQ(at[1], -1);  // min_middle_bar
    EXPECT_EQ(at[2], 1);   // max_size_step
}

}  // namespace
}  // namespace tessarin
