#include "book/grade_symbol.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <variant>

#include "book/book_pictures.h"

namespace tessarin {
namespace {

// The strokes of each grade's symbol as the Chinese drawings print it: HPB300 a circle with one
// vertical stroke; HRB335 the same with a foot; HRB400 two vertical strokes and the foot; HRB500
// two strokes, the foot and a bar on top.
struct SymbolCase {
    SteelGrade2010 grade;
    int verticals;
    bool foot;  // a horizontal stroke on the baseline
    bool top;   // a horizontal stroke at the strokes' top
};
constexpr SymbolCase kSymbols[] = {
    {SteelGrade2010::HPB300, 1, false, false},
    {SteelGrade2010::HRB335, 1, true, false},
    {SteelGrade2010::HRB400, 2, true, false},
    {SteelGrade2010::HRB500, 2, true, true},
};

TEST(GradeSymbol, EachGradeHasItsOwnStrokes) {
    for (const SymbolCase& c : kSymbols) {
        SCOPED_TRACE(static_cast<int>(c.grade));
        const GradeSymbolShape shape = gradeSymbolShape(c.grade);
        int verticals = 0;
        bool foot = false, top = false;
        double stemTop = 0.0;
        for (const GradeSymbolShape::Stroke& s : shape.strokes) {
            if (s.x1 == s.x2) {
                ++verticals;
                stemTop = std::max(s.y1, s.y2);
                // Every vertical stroke runs through the circle from the baseline.
                EXPECT_EQ(std::min(s.y1, s.y2), 0.0);
                EXPECT_LT(std::fabs(s.x1 - shape.circleX), shape.radius);
            } else {
                ASSERT_EQ(s.y1, s.y2) << "a stroke neither vertical nor horizontal";
                if (s.y1 == 0.0) foot = true;
                if (s.y1 > 0.0) top = true;
            }
        }
        EXPECT_EQ(verticals, c.verticals);
        EXPECT_EQ(foot, c.foot);
        EXPECT_EQ(top, c.top);
        // The circle lies between the baseline and the strokes' top and within the advance.
        EXPECT_GT(shape.circleY - shape.radius, 0.0);
        EXPECT_LT(shape.circleY + shape.radius, stemTop);
        EXPECT_GT(shape.circleX - shape.radius, 0.0);
        EXPECT_LT(shape.circleX + shape.radius, shape.advance);
    }
}

TEST(GradeSymbol, TheFourShapesDiffer) {
    const auto key = [](SteelGrade2010 g) {
        const GradeSymbolShape s = gradeSymbolShape(g);
        std::string k;
        for (const auto& t : s.strokes) {
            k += std::to_string(t.x1) + "," + std::to_string(t.y1) + "," + std::to_string(t.x2) +
                 "," + std::to_string(t.y2) + ";";
        }
        return k;
    };
    EXPECT_NE(key(SteelGrade2010::HPB300), key(SteelGrade2010::HRB335));
    EXPECT_NE(key(SteelGrade2010::HRB335), key(SteelGrade2010::HRB400));
    EXPECT_NE(key(SteelGrade2010::HRB400), key(SteelGrade2010::HRB500));
}

TEST(GradeSymbol, LettersOfThePlainText) {
    const struct {
        char letter;
        std::optional<SteelGrade2010> grade;
    } cases[] = {
        {'A', SteelGrade2010::HPB300}, {'B', SteelGrade2010::HRB335}, {'C', SteelGrade2010::HRB400},
        {'D', SteelGrade2010::HRB500}, {'E', std::nullopt},           {'c', std::nullopt},
        {'4', std::nullopt},           {'\0', std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(gradeOfSymbolLetter(c.letter), c.grade) << c.letter;
}

TEST(GradeSymbol, EstimatedTextWidths) {
    // Size 3: a CJK character 3 mm, anything else 0.55 × 3 = 1.65 mm.
    const struct {
        const char* text;
        double width;
    } cases[] = {
        {"", 0.0},
        {"4", 1.65},
        {"28", 3.3},
        {"角筋 4", 3.0 + 3.0 + 1.65 + 1.65},          // 角 筋 space 4
        {"b边每侧 3", 1.65 + 3.0 * 3 + 1.65 + 1.65},  // b 边每侧 space 3
    };
    for (const auto& c : cases) EXPECT_NEAR(estimatedTextWidth(c.text, 3.0), c.width, 1e-12);
}

// "4", the symbol, "28" at size 3: "4" is 1.65 mm, the symbol 0.8 × 3 = 2.4 mm, "28" 3.3 mm,
// 7.35 mm in all. The symbol's left edge is the anchor plus 1.65 (start), plus 1.65 − 7.35 / 2
// (middle), plus 1.65 − 7.35 (end); its circle's centre 0.4 × 3 = 1.2 mm right of that and
// 0.36 × 3 = 1.08 mm above the baseline, radius 0.25 × 3 = 0.75 mm.
TEST(GradeSymbol, BarLabelPutsTheSymbolBetweenCountAndDiameter) {
    const struct {
        TextAnchor anchor;
        double symbolLeft;
    } cases[] = {
        {TextAnchor::Start, 10.0 + 1.65},
        {TextAnchor::Middle, 10.0 + 1.65 - 3.675},
        {TextAnchor::End, 10.0 + 1.65 - 7.35},
    };
    for (const auto& c : cases) {
        BookPicture p;
        addBarLabel(p, {10.0, 20.0, "4", SteelGrade2010::HRB400, "28", 3.0, c.anchor, "#b02020"});
        // "4", the circle, two stems and the foot, "28".
        ASSERT_EQ(p.shapes.size(), 6U);
        const auto& count = std::get<PictureText>(p.shapes[0]);
        EXPECT_EQ(count.text, "4");
        EXPECT_EQ(count.anchor, TextAnchor::End);
        EXPECT_NEAR(count.x, c.symbolLeft, 1e-9);
        const auto& circle = std::get<PictureCircle>(p.shapes[1]);
        EXPECT_NEAR(circle.cx, c.symbolLeft + 1.2, 1e-9);
        EXPECT_NEAR(circle.cy, 20.0 - 1.08, 1e-9);
        EXPECT_NEAR(circle.r, 0.75, 1e-9);
        EXPECT_EQ(circle.fill, "");
        EXPECT_EQ(circle.stroke, "#b02020");
        for (int i = 2; i < 5; ++i) {
            const auto& stroke = std::get<PictureLine>(p.shapes[static_cast<std::size_t>(i)]);
            // Every stroke between the baseline and 0.72 × 3 = 2.16 mm above it.
            EXPECT_LE(std::max(stroke.y1, stroke.y2), 20.0 + 1e-9);
            EXPECT_GE(std::min(stroke.y1, stroke.y2), 20.0 - 2.16 - 1e-9);
        }
        const auto& diameter = std::get<PictureText>(p.shapes[5]);
        EXPECT_EQ(diameter.text, "28");
        EXPECT_EQ(diameter.anchor, TextAnchor::Start);
        EXPECT_NEAR(diameter.x, c.symbolLeft + 2.4, 1e-9);
        EXPECT_EQ(diameter.y, 20.0);
    }
}

// A label without a count (a single bar's diameter) starts with the symbol.
TEST(GradeSymbol, BarLabelWithoutCount) {
    BookPicture p;
    addBarLabel(p, {5.0, 8.0, "", SteelGrade2010::HPB300, "8", 3.0, TextAnchor::Start, "#000000"});
    // The circle, one stroke, "8".
    ASSERT_EQ(p.shapes.size(), 3U);
    EXPECT_NEAR(std::get<PictureCircle>(p.shapes[0]).cx, 5.0 + 1.2, 1e-9);
    EXPECT_NEAR(std::get<PictureText>(p.shapes[2]).x, 5.0 + 2.4, 1e-9);
}

}  // namespace
}  // namespace tessarin
