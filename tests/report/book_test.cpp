#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <regex>
#include <set>

#include "book/book_file.h"
#include "book/book_html.h"
#include "book/book_pictures.h"
#include "book/book_serial.h"
#include "book/column_books.h"
#include "book/design_book.h"
#include "engine/section/section_check.h"
#include "report/report_text.h"
#include "tests/engine/design_cases.h"
#include "tests/support/scratch_directory.h"

namespace tessarin {
namespace {

struct SchemeCase {
    const char* name;
    DesignCase design;
    int scheme;
    double diameter, ratioX, ratioY;
};

const SchemeCase kCases[] = {
    {"StartUpScheme1D22", {}, 1, 22.0, 0.0, 0.0},
    {"StartUpScheme2Half", {}, 2, 20.0, 0.5, 0.5},
    // Small eccentricity in both directions, five passes each.
    {"SmallEccentricity", {.M0x = 150.0, .M0y = 60.0, .N = 2500.0}, 1, 25.0, 0.0, 0.0},
    // Negative areas and a change of branch in x.
    {"NegativeAreas", {.M0x = 50.0, .M0y = 20.0, .N = 1000.0}, 2, 20.0, 0.3, 0.25},
};

BookCase designed(const SchemeCase& c) {
    ColumnCalculator record = step1(c.design);
    record.computeStep2(c.scheme, c.diameter, c.ratioX, c.ratioY);
    return BookCase{record.design(), c.diameter, c.ratioX, c.ratioY, 0, std::nullopt};
}

std::string htmlOf(const BookCase& bookCase, const BookInfo& info = {"", "", "2026-12-09"}) {
    return renderBookHtml(buildDesignBook(info, {&bookCase, 1}));
}

// Every "%f" figure of a report, in the order printed.
std::vector<std::string> reportFigures(const ColumnDesign& d) {
    const std::string report = step1ReportText(d.firstStep()) + step2ReportText(d.step2);
    const std::regex figure("-?[0-9]+\\.[0-9]{6}");
    std::vector<std::string> figures;
    for (auto it = std::sregex_iterator(report.begin(), report.end(), figure);
         it != std::sregex_iterator(); ++it) {
        figures.push_back(it->str());
    }
    return figures;
}

TEST(DesignBook, HoldsEveryFigureOfTheReport) {
    for (const SchemeCase& c : kCases) {
        SCOPED_TRACE(c.name);
        const BookCase bookCase = designed(c);
        const std::string html = htmlOf(bookCase);
        const std::vector<std::string> figures = reportFigures(bookCase.design);
        // Step 1: eight inputs, grade and fc, fy, then 16 results (27); step 2: Asc and the four
        // areas (5), or the four areas alone for scheme 2.
        EXPECT_EQ(figures.size(), c.scheme == 1 ? 32U : 31U);
        for (const std::string& figure : figures) {
            EXPECT_NE(html.find(figure), std::string::npos) << figure;
        }
    }
}

TEST(DesignBook, ShowsTheStartUpStepsWithTheirNumbers) {
    const std::string html = htmlOf(designed(kCases[0]), {"<示例&工程>", "KZ1", "2026-12-09"});
    // Hand calculation: e0x = 244 × 1000 / 400 = 610; h0x = 600 − 40 = 560; balanced depth
    // 560 × 0.5176470588 = 289.882353; the split beta = 0.5163428 (worked example), so
    // Nx = 400 / 0.5163428 = 774.679 kN; Asc = 22² × 0.78539815 = 380.132705.
    for (const char* text :
         {"e0x = M0x × 1000 / N = 244.000000 × 1000 / 400.000000 = 610.000000 mm",
          "h0x = h − ax = 600.000000 − 40.000000 = 560.000000 mm", "= 289.882353 mm",
          "β = (2 × rx / (rx + ry) + 1) × 0.25", "= 0.516343", "Nx = N / β = 400.000000 / 0.516343",
          "Asc = d² × 0.78539815 = 22.000000² × 0.78539815 = 380.132705 mm²",
          "&lt;示例&amp;工程&gt;", "KZ1", "2026-12-09", "Tessarin 1.0"}) {
        EXPECT_NE(html.find(text), std::string::npos) << text;
    }
    // Self-contained: the section picture inline, nothing fetched from elsewhere.
    EXPECT_NE(html.find("<svg"), std::string::npos);
    EXPECT_EQ(html.find("src="), std::string::npos);
    EXPECT_EQ(html.find("href="), std::string::npos);
}

// The 2002 book ends on a conclusion: the areas of the start-up case as Result.txt prints them
// (tests/data/startup_scheme1_d22.gbk: Asc = 380.132705, Asx = 1468.011042, Asy = 1127.782023),
// with the section check's verdict (utilisation 0.933, as the README's start-up check) or the
// note that no check was made; negative areas say the concrete alone suffices.
TEST(DesignBook, EndsOnAConclusion) {
    const std::string plain = htmlOf(designed(kCases[0]), {"示例工程", "KZ1", "2026-12-09"});
    EXPECT_NE(
        plain.find("<h2>9 结论</h2>\n<p>结论：按 GB 50010-2002 双向偏心受压直接计算，单边纵向钢筋"
                   "面积 Asx = 1468.011042 mm²，Asy = 1127.782023 mm²（其中角部钢筋 Asc = "
                   "380.132705 mm²）。</p>\n<p>本计算书为简化的直接计算法，未作截面验算"),
        std::string::npos)
        << plain.substr(plain.rfind("<h2>"));
    BookCase checked = designed(kCases[0]);
    checked.check = SectionCheck(checked.design).run(SectionCheck::Contour::Skipped);
    const std::string withCheck = htmlOf(checked, {"示例工程", "KZ1", "2026-12-09"});
    EXPECT_NE(withCheck.find("<p>截面验算（应变协调法）：利用率 |M|/|MR| = 0.933 ≤ 1，满足。</p>"),
              std::string::npos);
    const std::string negative = htmlOf(designed(kCases[3]), {"示例工程", "KZ1", "2026-12-09"});
    EXPECT_NE(negative.find("计算面积有负值：混凝土截面本身已足够，纵筋按构造要求配置。"),
              std::string::npos);
}

TEST(DesignBook, TracesTheIterationTheEngineRan) {
    for (const SchemeCase& c : kCases) {
        SCOPED_TRACE(c.name);
        const ColumnDesign design = designed(c).design;
        const Step1Result& s = design.step1;
        for (const Direction direction : {Direction::X, Direction::Y}) {
            const bool x = direction == Direction::X;
            const auto passes = traceEquivalentSteel(design, direction);
            ASSERT_FALSE(passes.empty());
            EXPECT_EQ(static_cast<int>(passes.size()), x ? s.passesX : s.passesY);
            const double mean = (passes.back().next + passes.back().previous) * 0.5;
            EXPECT_EQ(mean, x ? s.Asex : s.Asey);
            EXPECT_EQ(passes.back().Nu, x ? s.Nux : s.Nuy);
        }
    }
    // The worked example of the start-up case, x direction: start 1779.556; pass 1 Nux 715850.3 N,
    // x 125.149 mm, large eccentricity, new 1654.158; pass 2 Nux 714790.2 N, x 124.963 mm, new
    // 1651.355. The y direction: start 1716.000, pass 1 Nuy 759724.6 N, x 88.546 mm, new 1464.911.
    const auto x = traceEquivalentSteel(designed(kCases[0]).design, Direction::X);
    ASSERT_EQ(x.size(), 2U);
    EXPECT_NEAR(x[0].previous, 1779.556, 5e-4);
    EXPECT_NEAR(x[0].Nu, 715850.3, 0.05);
    EXPECT_NEAR(x[0].x, 125.149, 5e-4);
    EXPECT_FALSE(x[0].small);
    EXPECT_NEAR(x[0].next, 1654.158, 5e-4);
    EXPECT_NEAR(x[1].Nu, 714790.2, 0.05);
    EXPECT_NEAR(x[1].x, 124.963, 5e-4);
    EXPECT_NEAR(x[1].next, 1651.355, 5e-4);
    const auto y = traceEquivalentSteel(designed(kCases[0]).design, Direction::Y);
    ASSERT_EQ(y.size(), 2U);
    EXPECT_NEAR(y[0].previous, 1716.000, 5e-4);
    EXPECT_NEAR(y[0].Nu, 759724.6, 0.05);
    EXPECT_NEAR(y[0].x, 88.546, 5e-4);
    EXPECT_NEAR(y[0].next, 1464.911, 5e-4);
    // Case 2 of the worked examples: five small-eccentricity passes in x, the last from 2694.358.
    const auto small = traceEquivalentSteel(designed(kCases[2]).design, Direction::X);
    ASSERT_EQ(small.size(), 5U);
    for (const IterationPass& pass : small) EXPECT_TRUE(pass.small);
    EXPECT_NEAR(small.back().previous, 2694.358, 5e-4);
    EXPECT_NEAR(small.back().next, 2700.998, 5e-4);
}

TEST(DesignBook, SeveralCombinationsGetAChapterEachAndTheGoverningAreas) {
    const BookCase cases[] = {designed(kCases[0]), designed(kCases[2])};
    BookCase second = cases[1];
    second.line = 3;
    const BookCase withLines[] = {cases[0], second};
    const std::string html = renderBookHtml(buildDesignBook({"P", "KZ1", "2026-12-09"}, withLines));
    EXPECT_NE(html.find("荷载组合 1"), std::string::npos);
    EXPECT_NE(html.find("荷载组合 2（输入第 3 行）"), std::string::npos);
    // The closing table names the larger Asex of the two: 2697.677658 (case 2) over 1652.756707.
    const std::size_t closing = html.find("各荷载组合的钢筋面积及控制值");
    ASSERT_NE(closing, std::string::npos);
    EXPECT_NE(html.find("<td>最大值</td><td>2697.677658</td>", closing), std::string::npos);
}

TEST(ColumnBooks, OneBookPerIdWithItsCombinationsInFileOrder) {
    struct Written {
        std::string path;
        std::string html;
    };
    std::vector<Written> written;
    bool fail = false;
    ColumnBooks books(
        "P", "2026-12-09",
        [](const std::string& id, long long line) {
            return "books/" + id + "-" + std::to_string(line) + ".html";
        },
        [&](const Book& book, const std::string& path) {
            if (fail) return FileResult::refusal(path, FileAction::Write, "disk full");
            written.push_back({path, renderBookHtml(book)});
            return FileResult::success();
        });
    BookCase a1 = designed(kCases[0]), b = designed(kCases[1]), a2 = designed(kCases[2]);
    a1.line = 2;
    b.line = 3;
    a2.line = 4;
    books.add("KZ1", a1);
    books.add("KZ2", b);
    books.add("KZ1", a2);  // the ids do not stand together
    EXPECT_TRUE(books.close("KZ2").ok);
    EXPECT_TRUE(books.close("KZ9").ok);  // nothing held: nothing written
    ASSERT_EQ(written.size(), 1U);
    EXPECT_EQ(written[0].path, "books/KZ2-3.html");
    EXPECT_EQ(written[0].html.find("荷载组合"), std::string::npos);  // a single combination
    EXPECT_TRUE(books.closeAll().ok);
    ASSERT_EQ(written.size(), 2U);
    EXPECT_EQ(written[1].path, "books/KZ1-2.html");
    const std::string& kz1 = written[1].html;
    EXPECT_NE(kz1.find("<td>KZ1</td>"), std::string::npos);
    EXPECT_LT(kz1.find("荷载组合 1（输入第 2 行）"), kz1.find("荷载组合 2（输入第 4 行）"));
    EXPECT_TRUE(books.closeAll().ok);  // all written once
    EXPECT_EQ(written.size(), 2U);
    // A book that cannot be written is reported and the rest stay unwritten.
    books.add("KZ3", a1);
    books.add("KZ4", b);
    fail = true;
    const FileResult failed = books.closeAll();
    EXPECT_FALSE(failed.ok);
    EXPECT_EQ(failed.fileName, "books/KZ3-2.html");
    EXPECT_EQ(written.size(), 2U);
}

TEST(BookPictures, SectionIsDrawnToItsScaleWithEveryBar) {
    const BookCase bookCase = designed(kCases[0]);
    const auto picture = sectionPicture(bookCase);
    ASSERT_TRUE(picture);
    // b across, h up: b = 400 mm within 80 mm of paper needs 1:5, h = 600 mm within 110 mm
    // needs 1:10 (1:5 would take 120 mm): outline 40 mm across, 60 mm up.
    EXPECT_NE(picture->caption.find("1:10"), std::string::npos);
    const auto& outline = std::get<PictureRect>(picture->shapes.front());
    EXPECT_DOUBLE_EQ(outline.w, 40.0);
    EXPECT_DOUBLE_EQ(outline.h, 60.0);
    // 16 bars and three legend dots; a corner bar of 380.13 mm² is 22 mm across, 1.1 mm at 1:10.
    std::vector<PictureCircle> circles;
    for (const auto& shape : picture->shapes) {
        if (const auto* c = std::get_if<PictureCircle>(&shape)) circles.push_back(*c);
    }
    ASSERT_EQ(circles.size(), 19U);
    EXPECT_NEAR(circles[0].r, 1.1, 1e-6);
    // The corner bar at u = 600/2 − 40 = 260 mm along h from the centre: 26 mm above or below.
    const double centreY = outline.y + 30.0;
    std::set<long> offsets;
    for (int i = 0; i < 4; ++i) offsets.insert(std::lround((circles[i].cy - centreY) * 10.0));
    EXPECT_EQ(offsets, (std::set<long>{-260, 260}));
}

TEST(BookPictures, ContourOnlyWhereThereIsOne) {
    SectionCheckResult result;
    result.axialCapacityExceeded = true;
    EXPECT_FALSE(contourPicture(result));
    result.axialCapacityExceeded = false;
    result.N = 400.0;
    result.Mx = 268.0;
    result.My = 151.14;
    result.MxR = 287.33;
    result.MyR = 162.04;
    result.utilisation = 0.933;
    for (int i = 0; i < 72; ++i) {
        const double a = i * 5.0 * 3.141592653589793 / 180.0;
        result.contour.push_back({i * 5.0, 420.0 * std::cos(a), 260.0 * std::sin(a)});
    }
    const auto picture = contourPicture(result);
    ASSERT_TRUE(picture);
    bool polygon = false;
    for (const auto& shape : picture->shapes) {
        if (const auto* p = std::get_if<PicturePolyline>(&shape)) {
            polygon = p->closed && p->points.size() == 144;
        }
    }
    EXPECT_TRUE(polygon);
    result.contour[7].MyR = NAN;
    EXPECT_FALSE(contourPicture(result));
}

TEST(BookPictures, ScalesAndTicks) {
    struct Case {
        double size, room, scale;
    };
    // 600/110 = 5.45 needs 1:10; 400/80 = 5 is 1:5 exactly; 3000/110 = 27.3 needs 1:50;
    // 260/110 = 2.36 needs 1:2.5; a small part stays 1:1.
    for (const Case& c :
         {Case{600, 110, 10}, Case{400, 80, 5}, Case{3000, 110, 50}, Case{260, 110, 2.5},
          Case{100, 110, 1}, Case{0, 110, 0}, Case{NAN, 110, 0}, Case{INFINITY, 110, 0}}) {
        EXPECT_EQ(drawingScale(c.size, c.room), c.scale) << c.size << " in " << c.room;
    }
    // A step of 1, 2 or 5 times a power of ten leaving at most four ticks: 287/4 = 71.8 -> 100,
    // 162/4 = 40.5 -> 50, 0.9/4 -> 0.5.
    for (const Case& c : {Case{287.33, 0, 100}, Case{162.04, 0, 50}, Case{0.9, 0, 0.5},
                          Case{-1, 0, 0}, Case{INFINITY, 0, 0}}) {
        EXPECT_DOUBLE_EQ(tickStep(c.size), c.scale) << c.size;
    }
}

TEST(BookSerial, RoundTripsEveryBlockAndRejectsWhatItNeverWrites) {
    const BookCase bookCase = designed(kCases[1]);
    BookInfo info{"a\tb\\c\nd", "KZ1", "2026-12-09"};
    info.checker = "李工";
    Book book = buildDesignBook(info, {&bookCase, 1});
    const std::string text = serializeBook(book);
    const auto back = parseBook(text);
    ASSERT_TRUE(back);
    EXPECT_EQ(serializeBook(*back), text);
    EXPECT_EQ(renderBookHtml(*back), renderBookHtml(book));
    EXPECT_EQ(back->cover.project, "a\tb\\c\nd");
    EXPECT_EQ(back->cover.checker, "李工");
    EXPECT_EQ(back->cover.designBasis, std::vector<std::string>{kBasis2002});
    for (const char* bad : {"", "P\tno title\n", "T\tx", "T\tx\nZ\ty\n", "T\tx\nL\t1\t2\n",
                            "T\tx\nG\t10\t10\t\nL\t1\t2\t3\tfour\t#000\t1\t0\n", "T\tx\nR\tcell\n",
                            "T\tbad \\q escape\n", "T\tx\nT\ty\n", "T\tx\nV\tp\n",
                            "T\tx\nP\tp\nV\tp\t\t\t\t\t\t\t\t\n",
                            "T\tx\nV\tp\t\t\t\t\t\t\t\t\nV\tp\t\t\t\t\t\t\t\t\n"}) {
        EXPECT_FALSE(parseBook(bad)) << bad;
    }
}

TEST(BookFile, RefusesWhatCannotTakeABook) {
    ScratchDirectory scratch;
    namespace fs = std::filesystem;
    writeFileBytes("book.html", "earlier");
    EXPECT_TRUE(checkWritablePath("book.html").ok);
    fs::create_directory("folder.html");
    struct Case {
        const char* path;
        const char* reason;
    };
    for (const Case& c : {Case{"folder.html", "Is a directory"},
                          Case{"missing/book.html", "No such file or directory"},
                          Case{"/dev/full", "not a regular file"}}) {
        SCOPED_TRACE(c.path);
        const FileResult checked = checkWritablePath(c.path);
        EXPECT_FALSE(checked.ok);
        EXPECT_EQ(checked.fileName, c.path);
        EXPECT_NE(checked.reason.find(c.reason), std::string::npos) << checked.reason;
    }
    // Nothing was made or changed by the checks.
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(".")) names.insert(entry.path().filename());
    EXPECT_EQ(names, (std::set<std::string>{"book.html", "folder.html"}));
    EXPECT_TRUE(fs::is_empty("folder.html"));
    EXPECT_EQ(readFileBytes("book.html"), "earlier");

    for (const auto& [path, format] : {std::pair{"a.html", BookFormat::Html},
                                       {"A.HTM", BookFormat::Html},
                                       {"x/b.Pdf", BookFormat::Pdf},
                                       {"kz1.docx", BookFormat::Docx},
                                       {"KZ1.DOCX", BookFormat::Docx},
                                       {"old.doc", BookFormat::Unknown},
                                       {"c.txt", BookFormat::Unknown},
                                       {"pdf", BookFormat::Unknown}}) {
        EXPECT_EQ(bookFormatOf(path), format) << path;
    }
}

}  // namespace
}  // namespace tessarin
