#include "book/gb2010_book.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <regex>
#include <set>
#include <vector>

#include "book/book_html.h"
#include "book/book_pictures.h"
#include "engine/gb2010/gb2010_design.h"
#include "report/gb2010_report.h"

namespace tessarin {
namespace {

struct DesignCase {
    const char* name;
    Gb2010Column column;
    std::vector<LoadCombination> loads;
    bool designed;
};

Gb2010Column seismicThree() {
    Gb2010Column c;
    c.seismic = SeismicGrade::Three;
    return c;
}
Gb2010Column tallColumn() {
    Gb2010Column c;
    c.l0 = 8000.0;
    return c;
}
Gb2010Column shortColumn() {
    Gb2010Column c;
    c.l0 = 3000.0;
    return c;
}

// The start-up column (400 x 600, l0 = 6000, C30, HRB400, c = 20, ds = 8) and its variants.
// The start-up column with a middle bar allowed any number of sizes below the corner bar: the
// worked column of the book, 4C28 with C12 middle bars (the default step of 2 gives
// 4C20 + 3C16 / 2C16 instead).
Gb2010Column anyStep() {
    Gb2010Column column;
    column.barPreferences.maximumSizeStep = 10;
    return column;
}

const DesignCase kCases[] = {
    {"WorkedColumn", anyStep(), {LoadCombination{}}, true},
    {"SeismicThree", seismicThree(), {LoadCombination{}}, true},
    // lc/i = 3000/173.21 = 17.32 and 3000/115.47 = 25.98, both <= 34 - 12 x 0.5 = 28; M1/M2 =
    // 0.5 <= 0.9; N/(fcA) = 0.117: the second-order effect is ignored on both axes.
    {"FirstOrderOnly", shortColumn(), {{400.0, 244.0, 0.5, 120.0, 0.5}}, true},
    {"TwoCombinations", {}, {LoadCombination{}, {1500.0, 100.0, -0.5, 50.0, 0.3}}, true},
    {"NoLayoutCarries", {}, {{400.0, 2000.0, 1.0, 120.0, 1.0}}, false},
    // N/(fcA) = 3e6 / (14.3 x 240000) = 0.874 > 0.85 of a grade 三 frame column.
    {"AxialRatioAboveLimit", seismicThree(), {{3000.0, 244.0, 1.0, 120.0, 1.0}}, false},
    // Moments My only: ea along b alone, x checked by 6.2.15 with l0/h = 8000/600 = 13.33.
    {"UniaxialAboutY", tallColumn(), {{2800.0, 0.0, 1.0, 20.0, 1.0}}, true},
};

Gb2010Design designOf(const DesignCase& c) {
    return designGb2010(c.column, c.loads);
}

std::string htmlOf(const Gb2010Design& design) {
    return renderBookHtml(buildGb2010Book({"示例工程", "KZ1", "2026-12-09"}, design));
}

std::size_t countOf(const std::string& text, const std::string& part) {
    std::size_t count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
        ++count;
    }
    return count;
}

// The book and the report agree digit for digit: every decimal the report prints stands in the
// book; no picture of a section or contour without a design; nothing fetched from elsewhere.
TEST(Gb2010Book, HoldsEveryFigureOfTheReport) {
    const std::regex figure("-?[0-9]+\\.[0-9]+");
    for (const DesignCase& c : kCases) {
        SCOPED_TRACE(c.name);
        const Gb2010Design design = designOf(c);
        ASSERT_EQ(design.designed, c.designed);
        const std::string html = htmlOf(design);
        const std::string report = gb2010ReportText(design);
        int figures = 0;
        for (auto it = std::sregex_iterator(report.begin(), report.end(), figure);
             it != std::sregex_iterator(); ++it, ++figures) {
            EXPECT_NE(html.find(it->str()), std::string::npos) << it->str();
        }
        EXPECT_GT(figures, 40);
        EXPECT_EQ(countOf(html, "<svg"), c.designed ? 2U : 0U);
        for (const char* outside : {"src=", "href=", "url(", "<link", "<script", "@import"}) {
            EXPECT_EQ(html.find(outside), std::string::npos) << outside;
        }
        if (!c.designed) {
            EXPECT_NE(html.find("无可行的配筋方案：" + noLayoutReasonText(design)),
                      std::string::npos);
        }
    }
}

// The worked column of the README by hand:
//   i = 600/√12 = 173.21, lc/i = 34.64 > 34 − 12 × 1 = 22; N/(fcA) = 4e5 / (14.3 × 240000) = 0.117
//   a = 20 + 8 + 14 = 42, h0 = 558 (x) and 358 (y); ζc = 0.5 × 14.3 × 240000 / 4e5 = 4.29 → 1
//   ηns,x = 1 + 100 / (1300 × 630 / 558) = 1.0681, Mx = 1.0681 × 244 = 260.62
//   ηns,y = 1 + 225 / (1300 × 320 / 358) = 1.1936, My = 1.1936 × 120 = 143.24
//   ei,x = 651.56 + 20 = 671.56, N·eix = 268.62; ei,y = 358.09 + 20 = 378.09, N·eiy = 151.24
//   As = 4 × 615.75 + 6 × 113.10 = 3141.6; ρ = 1.31 %; one side b: (1231.50 + 226.19) / 240000 =
//   0.61 %, h: (1231.50 + 113.10) / 240000 = 0.56 %
//   0.9 × 0.895 × (3432000 + 360 × 3141.6) / 1000 = 3675.5 kN; Nu0 = 4563.0 kN
//   utilisation √(268.62² + 151.24²) / √(269.70² + 151.84²) = 308.27 / 309.51 = 0.996
TEST(Gb2010Book, WorkedColumnSteps) {
    const Gb2010Design design = designOf(kCases[0]);
    const std::string html = htmlOf(design);
    // NOLINTBEGIN(bugprone-suspicious-missing-comma): long lines, split for width
    for (const char* text : {
             "示例工程",
             "KZ1",
             "2026-12-09",
             "Tessarin ",
             "εcu = 0.0033 − (fcu,k − 50) × 10⁻⁵ = 0.0033 − (30 − 50) × 10⁻⁵ = 0.00350 &gt; "
             "0.0033，取 εcu = 0.00330",
             "l0/b = 6000 / 400 = 15.00",
             "φ = 0.8950",
             "N/(fcA) = 400.00 × 1000 / (14.3 × 400 × 600) = 0.117 ≤ 0.9",
             "i = D / √12 = 600 / √12 = 173.21 mm",
             "lc/i = 6000/173.21 = 34.64 &gt; 34-12(M1/M2) = 34 − 12 × 1.00 = 22.00",
             "h0 = D - a = 600 - 42.0 = 558.0 mm",
             "ζc = 0.5fcA/N = 0.5 × 14.3 × 400 × 600 / (400.00 × 1000) = 4.290 &gt; 1.0，取 ζc = "
             "1.000",
             "ηns = 1 + (lc/D)^2·ζc/(1300(M2/N + ea)/h0) = 1 + (6000/600)^2 × 1.000 / (1300 × "
             "(610.00 + 20.00) / 558.0) = 1.0681",
             "Mx = Cm·ηns·M2 = 1.0681 × 244.00 = 260.62 kN·m",
             "1 + (6000/400)^2 × 1.000 / (1300 × (300.00 + 20.00) / 358.0) = 1.1936",
             "My = Cm·ηns·M2 = 1.1936 × 120.00 = 143.24 kN·m",
             "ei = e0 + ea = 651.56 + 20.00 = 671.56 mm",
             "Mx = N·eix = 400.00 × 671.56 / 1000 = 268.62 kN·m",
             "My = N·eiy = 400.00 × 378.09 / 1000 = 151.24 kN·m",
             "选用配筋：角筋 4C28；b边每侧 2C12；h边每侧 1C12，共 10 根",
             "a = c + ds + d/2 = 20 + 8 + 28/2 = 42.0 mm",
             "As = Σ π/4 × d² = 4 × π/4 × 28² + 6 × π/4 × 12² = 3141.6 mm²",
             "ρ = As/(bh) = 3141.6 / (400 × 600) = 1.31%（0.55% ≤ ρ ≤ 5%）",
             "(2 × π/4 × 28² + 2 × π/4 × 12²) / (400 × 600) = 0.61%",
             "(2 × π/4 × 28² + 1 × π/4 × 12²) / (400 × 600) = 0.56%",
             "= √(268.62² + 151.24²) / √(269.70² + 151.84²) = 0.996 ≤ 1，满足",
             "0.9 × 0.8950 × (14.3 × 240000 + 360 × 3141.6) / 1000 = 3675.5 kN",
             "(14.3 × 240000 + 360 × 3141.6) / 1000 = 4563.0 kN",
             "利用率 |M|/|MR| = 0.996",
             "结论：角筋 4C28；b边每侧 2C12；h边每侧 1C12，满足全部荷载组合的承载力及构造要求",
         }) {
        EXPECT_NE(html.find(text), std::string::npos) << text;
    }
    // NOLINTEND(bugprone-suspicious-missing-comma)
    // The short column ignores the second order: M = M2 on both axes.
    const std::string first = htmlOf(designOf(kCases[2]));
    EXPECT_EQ(countOf(first, "三个条件均满足"), 2U);
    EXPECT_NE(first.find("Mx = M2 = 244.00 kN·m"), std::string::npos);
    EXPECT_NE(first.find("My = M2 = 120.00 kN·m"), std::string::npos);
    // The reasons of the two designs without a layout: the heaviest layout the rules allow, 5C28
    // on each 600 mm face (516 / 6 - 28 = 58 mm clear) and 3C25 on each 400 mm face (3C28 there
    // would give 20 x 784 = 15680, 5.13 % > 5 %): 4 x 784 + 6 x 625 + 10 x 784 = 14726,
    // As = 11565.8 mm², 4.82 %, written as 16G101 writes differing faces; and the axial ratio
    // above.
    EXPECT_NE(htmlOf(designOf(kCases[4]))
                  .find("即使采用构造允许的最大配筋(角筋 4C28；b边一侧中部筋 3C25；h边一侧中部筋 "
                        "5C28，ρ = 4.82%)，也不能承受第1组荷载组合(利用率 "),
              std::string::npos);
    EXPECT_NE(htmlOf(designOf(kCases[5]))
                  .find("第1组荷载组合的轴压比 μN = N/(fcA) = 0.874超过三级框架结构柱的限值 "
                        "0.85(GB 50011 表6.3.6)"),
              std::string::npos);
}

// The section picture: one circle per bar, each inside the outline at its own diameter to the
// The title page: the project's data, 设计依据 (GB 50011 only with a seismic grade), the
// signature block with the names given and lines to sign; every printed page's header names the
// project and the column and its footer counts the pages. A project name cannot break out of the
// style sheet.
TEST(Gb2010Book, TitlePageDesignBasisAndRunningHeader) {
    BookInfo info{"示例工程\"</style><b>", "KZ1", "2026-12-09"};
    info.subProject = "2号楼 / S-2026-01";
    info.designer = "王工";
    const std::string seismic = renderBookHtml(buildGb2010Book(info, designOf(kCases[1])));
    for (const char* part :
         {"<tr><th>子项 / 设计号</th><td>2号楼 / S-2026-01</td></tr>",
          "<tr><th>构件编号</th><td>KZ1</td></tr>",
          // NOLINTNEXTLINE(bugprone-suspicious-missing-comma): one item, split for width
          "<li>《混凝土结构设计规范》GB 50010-2010（2015年版）</li><li>《建筑抗震设计规范》GB "
          "50011-2010（2016年版）</li>",
          "<tr><th>设计</th><td>王工</td><td></td><td></td></tr>",
          "<tr><th>校对</th><td></td><td></td><td></td></tr>",
          "<tr><th>审核</th><td></td><td></td><td></td></tr>",
          // The quote and the '<' of the name as CSS escapes: the style element cannot end early.
          "@top-left{content:\"工程名称：示例工程\\22 \\3c /style>\\3c b>　构件编号：KZ1\"",
          "counter(page) \" 页 共 \" counter(pages)"}) {
        EXPECT_NE(seismic.find(part), std::string::npos) << part;
    }
    EXPECT_EQ(countOf(seismic, "</style>"), 1u);
    const std::string plain = htmlOf(designOf(kCases[0]));
    EXPECT_NE(plain.find("<li>《混凝土结构设计规范》GB 50010-2010（2015年版）</li></ol>"),
              std::string::npos);
    EXPECT_EQ(plain.find("GB 50011-2010（2016年版）</li>"), std::string::npos);
}

// drawing's scale, and the HTML's first picture holds the same circles.
TEST(Gb2010Book, SectionPictureDrawsEveryBar) {
    for (const DesignCase& c : kCases) {
        if (!c.designed) continue;
        SCOPED_TRACE(c.name);
        const Gb2010Design design = designOf(c);
        const auto picture = layoutPicture(design);
        ASSERT_TRUE(picture.has_value());
        const auto* outline = std::get_if<PictureRect>(&picture->shapes.front());
        ASSERT_NE(outline, nullptr);
        // b = 400 across within 100 mm, h = 600 up within 130 mm: 400/100 = 4 and 600/130 = 4.6,
        // so 1:5, 80 mm across and 120 mm up.
        EXPECT_DOUBLE_EQ(outline->w, 80.0);
        EXPECT_DOUBLE_EQ(outline->h, 120.0);
        std::vector<double> diameters;
        std::size_t circles = 0;
        for (const PictureShape& shape : picture->shapes) {
            const auto* circle = std::get_if<PictureCircle>(&shape);
            if (circle == nullptr) continue;
            ++circles;
            // The grade symbols' circles in the labels are open; the bars are filled.
            if (circle->fill.empty()) continue;
            EXPECT_GE(circle->cx - circle->r, outline->x);
            EXPECT_LE(circle->cx + circle->r, outline->x + outline->w);
            EXPECT_GE(circle->cy - circle->r, outline->y);
            EXPECT_LE(circle->cy + circle->r, outline->y + outline->h);
            diameters.push_back(circle->r * 2.0 * 5.0);
        }
        ASSERT_EQ(diameters.size(), design.layout->bars.size());
        for (std::size_t i = 0; i < diameters.size(); ++i) {
            EXPECT_NEAR(diameters[i], design.layout->bars[i].d, 1e-9);
        }
        const std::string html = htmlOf(design);
        const std::size_t start = html.find("<svg"), end = html.find("</svg>");
        EXPECT_EQ(countOf(html.substr(start, end - start), "<circle"), circles);
    }
}

// b across and h up, as the drawing has it: for every grade of the worked column (b = 400,
// h = 600, 1:5) each corner bar lies (b/2 - a)/5 across and (h/2 - a)/5 up or down from the
// centroid, a = c + ds + d/2; the axes are named as the report names them (x along h at the top
// of the vertical axis, y along b at the right end of the horizontal one), b is dimensioned below
// and h on the left; the labels carry no letter: each grade's symbol is drawn, as its own strokes
// (one vertical stroke for HPB300 and HRB335, two for HRB400 and HRB500).
TEST(Gb2010Book, SectionPictureIsBAcrossHUpWithTheGradesSymbol) {
    const struct {
        SteelGrade2010 grade;
        const char* letter;
        int stems;
    } grades[] = {
        {SteelGrade2010::HPB300, "A", 1},
        {SteelGrade2010::HRB335, "B", 1},
        {SteelGrade2010::HRB400, "C", 2},
        {SteelGrade2010::HRB500, "D", 2},
    };
    for (const auto& g : grades) {
        SCOPED_TRACE(g.letter);
        Gb2010Column column;
        column.steel = g.grade;
        const LoadCombination loads[] = {LoadCombination{}};
        const Gb2010Design design = designGb2010(column, loads);
        ASSERT_TRUE(design.layout.has_value());
        const auto picture = layoutPicture(design);
        ASSERT_TRUE(picture.has_value());
        const auto& outline = std::get<PictureRect>(picture->shapes.front());
        ASSERT_DOUBLE_EQ(outline.w, 400.0 / 5.0);
        ASSERT_DOUBLE_EQ(outline.h, 600.0 / 5.0);
        const double centreX = outline.x + outline.w / 2.0, centreY = outline.y + outline.h / 2.0;
        const double d = design.layout->choice.cornerDiameter;
        const double a = design.cover + column.stirrup + d / 2.0;
        std::set<long> across, up;
        std::vector<PictureLine> strokes;
        std::map<std::string, PictureText> texts;
        for (const PictureShape& shape : picture->shapes) {
            if (const auto* c = std::get_if<PictureCircle>(&shape)) {
                if (std::fabs(c->r * 2.0 * 5.0 - d) < 1e-9 && !c->fill.empty()) {
                    across.insert(std::lround((c->cx - centreX) * 5.0 * 100.0));
                    up.insert(std::lround((centreY - c->cy) * 5.0 * 100.0));
                }
            } else if (const auto* t = std::get_if<PictureText>(&shape)) {
                texts[t->text] = *t;
                EXPECT_EQ(t->text.find(g.letter + std::to_string(static_cast<int>(d))),
                          std::string::npos)
                    << t->text;
            } else if (const auto* l = std::get_if<PictureLine>(&shape)) {
                // The symbol's vertical strokes: as short as the digits are tall (0.72 x 3 mm).
                if (l->x1 == l->x2 && std::fabs(std::fabs(l->y2 - l->y1) - 2.16) < 1e-9) {
                    strokes.push_back(*l);
                }
            }
        }
        EXPECT_TRUE(across.count(std::lround((200.0 - a) * 100.0)) == 1 &&
                    across.count(-std::lround((200.0 - a) * 100.0)) == 1);
        EXPECT_TRUE(up.count(std::lround((300.0 - a) * 100.0)) == 1 &&
                    up.count(-std::lround((300.0 - a) * 100.0)) == 1);
        ASSERT_EQ(texts.count("x"), 1U);
        ASSERT_EQ(texts.count("y"), 1U);
        EXPECT_LT(texts["x"].y, outline.y);              // above the outline
        EXPECT_NEAR(texts["x"].x, centreX, 2.0);         // by the vertical axis
        EXPECT_GT(texts["y"].x, outline.x + outline.w);  // right of the outline
        EXPECT_NEAR(texts["y"].y, centreY, 2.0);         // by the horizontal axis
        ASSERT_EQ(texts.count("b = 400"), 1U);
        ASSERT_EQ(texts.count("h = 600"), 1U);
        EXPECT_GT(texts["b = 400"].y, outline.y + outline.h);  // below
        EXPECT_LT(texts["h = 600"].x, outline.x);              // on the left
        // The corner label and the legend's corner line each draw the symbol: 4 × 22 as "4",
        // the symbol, "22" (at least two labels, each with one or two stems).
        ASSERT_FALSE(strokes.empty());
        EXPECT_EQ(strokes.size() % static_cast<std::size_t>(g.stems), 0U);
        EXPECT_GE(strokes.size(), 2U * static_cast<std::size_t>(g.stems));
        // The HTML's picture holds the texts and the strokes, and no "4C22".
        const std::string html = htmlOf(design);
        const std::string svg =
            html.substr(html.find("<svg"), html.find("</svg>") - html.find("<svg"));
        EXPECT_NE(svg.find(">b = 400<"), std::string::npos);
        EXPECT_NE(svg.find(">h = 600<"), std::string::npos);
        EXPECT_NE(svg.find(">x<"), std::string::npos);
        EXPECT_NE(svg.find(">y<"), std::string::npos);
        EXPECT_EQ(svg.find(std::string(">4") + g.letter), std::string::npos);
    }
}

// Names given from outside go into the page as text a browser shows: NUL, controls and broken
// UTF-8 as U+FFFD, markup escaped.
TEST(Gb2010Book, OutsideNamesAreCleanedAndEscaped) {
    const Gb2010Column column;
    const LoadCombination loads[] = {{400.0, 244.0, 1.0, 120.0, 1.0}};
    const std::string html = renderBookHtml(buildGb2010Book(
        {std::string("P\0<b>\x01", 6), "KZ\xFF\x1B", "2026-12-09"}, designGb2010(column, loads)));
    EXPECT_EQ(html.find('\0'), std::string::npos);
    EXPECT_EQ(html.find('\x01'), std::string::npos);
    EXPECT_EQ(html.find('\x1B'), std::string::npos);
    EXPECT_EQ(html.find('\xFF'), std::string::npos);
    EXPECT_NE(html.find("P\uFFFD&lt;b&gt;\uFFFD"), std::string::npos);
    EXPECT_NE(html.find("KZ\uFFFD\uFFFD"), std::string::npos);
}

}  // namespace
}  // namespace tessarin

namespace tessarin {
namespace {

struct StirrupCase {
    const char* name;
    Gb2010Column column;
    std::vector<LoadCombination> loads;
};

Gb2010Column gradeTwo() {
    Gb2010Column c;
    c.seismic = SeismicGrade::Two;
    c.hn = 3000.0;
    return c;
}

// The column with its stirrups: the report's 箍筋 block, the kinds, the shears and gammaRE stand in
// the book digit for digit, as the rest of the report does.
TEST(Gb2010Book, StirrupChapterHoldsEveryFigureOfTheReport) {
    using K = CombinationKind;
    const StirrupCase cases[] = {
        // Non-seismic with biaxial shear.
        {"BiaxialShear", {}, {{400.0, 244.0, 1.0, 120.0, 1.0, 150.0, 80.0, K::Unspecified}}},
        // Grade 二, a seismic and a non-seismic combination.
        {"GradeTwoKinds",
         gradeTwo(),
         {{400.0, 244.0, 1.0, 120.0, 1.0, 150.0, 80.0, K::Seismic},
          {900.0, 150.0, 0.5, 60.0, 0.5, 60.0, 30.0, K::NonSeismic}}},
        // Grade 二 without kinds: both shear checks, no gammaRE.
        {"GradeTwoUnspecified", gradeTwo(), {{400.0, 244.0, 1.0, 120.0, 1.0, 90.0, 0.0}}},
        // 0.25 x 14.3 x 400 x 558 = 797.9 kN < 2000 kN: the section limit fails.
        {"SectionLimit", {}, {{400.0, 244.0, 1.0, 120.0, 1.0, 2000.0, 0.0}}},
    };
    const std::regex figure("-?[0-9]+\\.[0-9]+");
    for (const StirrupCase& c : cases) {
        SCOPED_TRACE(c.name);
        const ColumnWithStirrups whole = designColumnWithStirrups(c.column, c.loads);
        ASSERT_TRUE(whole.longitudinal.designed);
        ASSERT_TRUE(whole.stirrups.has_value());
        const std::string html =
            renderBookHtml(buildGb2010Book({"示例工程", "KZ1", "2026-12-09"}, whole));
        const std::string report = gb2010ReportText(whole);
        int figures = 0;
        for (auto it = std::sregex_iterator(report.begin(), report.end(), figure);
             it != std::sregex_iterator(); ++it, ++figures) {
            EXPECT_NE(html.find(it->str()), std::string::npos) << it->str();
        }
        EXPECT_GT(figures, 80);
        EXPECT_NE(report.find("---------------箍筋设计"), std::string::npos);
        EXPECT_NE(html.find("箍筋设计"), std::string::npos);
        const StirrupDesign& s = *whole.stirrups;
        if (s.designed) {
            EXPECT_NE(html.find(stirrupNotation(s.column.stirrupSteel, s.choice)),
                      std::string::npos);
        } else {
            EXPECT_NE(report.find("箍筋结论：不满足，第1组荷载组合的剪力超过受剪截面限制条件"),
                      std::string::npos);
        }
    }
}

// The whole column's book closes with its row of the schedule (柱表). The worked column's layout
// is 4C28 at the corners, 2C12 on each face of b and 1C12 on each face of h (WorkedColumnSteps):
// the diameters differ, so 全部纵筋 stays empty and the corner and middle bars are given apart.
TEST(Gb2010Book, ConclusionHoldsTheScheduleRow) {
    const ColumnWithStirrups whole =
        designColumnWithStirrups(anyStep(), std::vector{LoadCombination{}});
    const Book book = buildGb2010Book({"示例工程", "KZ1", "2026-12-09"}, whole);
    const BookTable* last = nullptr;
    for (const BookBlock& block : book.blocks) {
        if (const auto* table = std::get_if<BookTable>(&block)) last = table;
    }
    ASSERT_NE(last, nullptr);
    const std::vector<std::string> header = {"柱号",       "b×h",           "全部纵筋",
                                             "角筋",       "b边一侧中部筋", "h边一侧中部筋",
                                             "箍筋类型号", "箍筋",          "备注"};
    EXPECT_EQ(last->header, header);
    ASSERT_EQ(last->rows.size(), 1u);
    const std::vector<std::string> first(last->rows[0].begin(), last->rows[0].begin() + 6);
    EXPECT_EQ(first, (std::vector<std::string>{"KZ1", "400×600", "", "4C28", "2C12", "1C12"}));
    ASSERT_TRUE(whole.stirrups && whole.stirrups->designed);
    // The stirrup cells: type 1 with the legs along b × along h, the notation with its letter.
    const StirrupChoice& c = whole.stirrups->choice;
    EXPECT_EQ(last->rows[0][6],
              "1(" + std::to_string(c.legsX) + "×" + std::to_string(c.legsY) + ")");
    EXPECT_EQ(last->rows[0][7].substr(0, 1), "C");  // HRB400 stirrups by default
    EXPECT_EQ(last->rows[0][8], "");
}

}  // namespace
}  // namespace tessarin
