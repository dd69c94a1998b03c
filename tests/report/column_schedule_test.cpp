#include "book/column_schedule.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "book/book.h"

namespace tessarin {
namespace {

// A column "designed" by hand: the layout and stirrup as given, so that each case states exactly
// what the schedule must write for it.
struct Given {
    double b = 500.0;
    double h = 600.0;
    SteelGrade2010 steel = SteelGrade2010::HRB400;
    LayoutChoice layout;
    bool stirrups = true;  // a designed stirrup
    SteelGrade2010 stirrupSteel = SteelGrade2010::HRB400;
    int stirrupDiameter = 10;
    int legsX = 4;
    int legsY = 4;
    double dense = 100.0;
    double outside = 200.0;
};

ColumnWithStirrups columnOf(const Given& g) {
    ColumnWithStirrups whole;
    Gb2010Design& design = whole.longitudinal;
    design.column.b = g.b;
    design.column.h = g.h;
    design.column.steel = g.steel;
    design.cover = 20.0;
    design.designed = true;
    design.layout = BarLayout{};
    design.layout->choice = g.layout;
    StirrupDesign stirrup;
    stirrup.column.stirrupSteel = g.stirrupSteel;
    stirrup.designed = g.stirrups;
    stirrup.choice.diameter = g.stirrupDiameter;
    stirrup.choice.legsX = g.legsX;
    stirrup.choice.legsY = g.legsY;
    stirrup.choice.denseSpacing = g.dense;
    stirrup.choice.spacing = g.outside;
    if (!g.stirrups) stirrup.failure.kind = StirrupFailureKind::NoStirrupFits;
    whole.stirrups = stirrup;
    whole.stirrupDiameterUsed = g.stirrupDiameter;
    return whole;
}

struct RowCase {
    const char* what;
    Given given;
    GradeSymbols symbols;
    // b×h, 全部纵筋, 角筋, b边一侧中部筋, h边一侧中部筋, 箍筋类型号, 箍筋
    std::vector<std::string> cells;
};

// 16G101-1 2.2.2-4: 全部纵筋 only when every bar has one diameter and each face the same count;
// the total is 4 corners + 2 faces × the middle bars of b + 2 × those of h. Otherwise the corner
// bars (always 4) and one face of each kind. Grade letters A B C D for HPB300 ... HRB500, the
// drafting codes %%130 ... %%133 in a drawing. 箍筋类型号 1(m×n): m legs along b (legsX), n along
// h. 箍筋 "C10@100/200": grade, diameter, dense-zone spacing / spacing outside it.
const RowCase kRowCases[] = {
    {"one diameter, 2 middle bars on every face: 4 + 2×2 + 2×2 = 12",
     {.layout = {25, 25, 2, 2}},
     GradeSymbols::Letters,
     {"500×600", "12C25", "", "", "", "1(4×4)", "C10@100/200"}},
    {"corner bars thicker than the middle bars",
     {.layout = {25, 20, 2, 2}},
     GradeSymbols::Letters,
     {"500×600", "", "4C25", "2C20", "2C20", "1(4×4)", "C10@100/200"}},
    {"one diameter, faces of b with 1 and of h with 3 middle bars: the counts differ",
     {.b = 400.0, .h = 700.0, .layout = {22, 22, 1, 3}, .legsX = 3, .legsY = 5},
     GradeSymbols::Letters,
     {"400×700", "", "4C22", "1C22", "3C22", "1(3×5)", "C10@100/200"}},
    {"four corner bars alone: one diameter, no middle bars on any face",
     {.b = 300.0, .h = 300.0, .layout = {20, 20, 0, 0}, .legsX = 2, .legsY = 2},
     GradeSymbols::Letters,
     {"300×300", "4C20", "", "", "", "1(2×2)", "C10@100/200"}},
    {"middle bars only on the faces of h: b's cell stays empty",
     {.layout = {25, 20, 0, 3}, .legsX = 2, .legsY = 3},
     GradeSymbols::Letters,
     {"500×600", "", "4C25", "", "3C20", "1(2×3)", "C10@100/200"}},
    {"HRB500 bars, HPB300 stirrups, one spacing over the whole height",
     {.steel = SteelGrade2010::HRB500,
      .layout = {28, 28, 1, 1},
      .stirrupSteel = SteelGrade2010::HPB300,
      .stirrupDiameter = 8,
      .legsX = 3,
      .legsY = 3,
      .dense = 100.0,
      .outside = 100.0},
     GradeSymbols::Letters,
     {"500×600", "8D28", "", "", "", "1(3×3)", "A8@100"}},
    {"the same in a drawing: %%133 for HRB500, %%130 for HPB300",
     {.steel = SteelGrade2010::HRB500,
      .layout = {28, 28, 1, 1},
      .stirrupSteel = SteelGrade2010::HPB300,
      .stirrupDiameter = 8,
      .legsX = 3,
      .legsY = 3,
      .dense = 100.0,
      .outside = 100.0},
     GradeSymbols::Dxf,
     {"500×600", "8%%13328", "", "", "", "1(3×3)", "%%1308@100"}},
    {"HRB335 bars and HRB400 stirrups in a drawing: %%131 and %%132",
     {.steel = SteelGrade2010::HRB335, .layout = {25, 20, 2, 2}},
     GradeSymbols::Dxf,
     {"500×600", "", "4%%13125", "2%%13120", "2%%13120", "1(4×4)", "%%13210@100/200"}},
};

TEST(ScheduleRow, CellsFollowTheListNotation) {
    for (const RowCase& c : kRowCases) {
        const ScheduleRow row = scheduleRow("KZ1", columnOf(c.given), c.symbols);
        const std::vector<std::string> cells = scheduleCells(row, true);
        ASSERT_EQ(cells.size(), kScheduleHeader.size()) << c.what;
        EXPECT_EQ(cells[0], "KZ1") << c.what;
        for (std::size_t i = 0; i < c.cells.size(); ++i) {
            EXPECT_EQ(cells[i + 1], c.cells[i]) << c.what << ": " << kScheduleHeader[i + 1];
        }
        EXPECT_EQ(cells[8], "") << c.what << ": a designed column has no note";
    }
}

// A column that is not drawable says so in its row, and gives no bar or stirrup it does not have.
TEST(ScheduleRow, ColumnsWithoutADesignSaySo) {
    ColumnWithStirrups noLayout = columnOf({});
    noLayout.longitudinal.designed = false;
    noLayout.longitudinal.layout.reset();
    noLayout.stirrups.reset();
    Given failing;
    failing.stirrups = false;
    failing.layout = {25, 25, 2, 2};
    Gb2010Column given;
    given.b = 350.0;
    given.h = 450.0;
    struct Case {
        const char* what;
        ScheduleRow row;
        std::vector<std::string> cells;  // b×h, 全部纵筋, 角筋, b边, h边, 类型号, 箍筋, 备注
    } cases[] = {
        {"no layout",
         scheduleRow("KZ2", noLayout),
         {"500×600", "", "", "", "", "", "", "无可用配筋"}},
        {"bars but no stirrup",
         scheduleRow("KZ3", columnOf(failing)),
         {"500×600", "12C25", "", "", "", "", "", "箍筋不满足"}},
        {"input refused, its section read",
         rejectedScheduleRow("KZ4", &given, "b 有误"),
         {"350×450", "", "", "", "", "", "", "输入有误"}},
        {"input refused, nothing read",
         rejectedScheduleRow("KZ5", nullptr, "行无法读取"),
         {"", "", "", "", "", "", "", "输入有误"}},
    };
    for (const Case& c : cases) {
        const std::vector<std::string> cells = scheduleCells(c.row, false);
        for (std::size_t i = 0; i < c.cells.size(); ++i) {
            EXPECT_EQ(cells[i + 1], c.cells[i]) << c.what << ": " << kScheduleHeader[i + 1];
        }
    }
    EXPECT_EQ(scheduleCells(cases[2].row, true)[8], "输入有误：b 有误");
    EXPECT_FALSE(scheduleRow("KZ3", columnOf(failing)).reason.empty())
        << "the stirrup failure's reason is kept for the book";
}

// Columns come in the order of their first combination, whatever the order they were designed in
// (the batch designs them grouped by a hash of their id).
TEST(ColumnSchedule, RowsInTheOrderOfTheColumns) {
    ColumnSchedule schedule;
    schedule.add(30, "KZ3", columnOf({.layout = {25, 25, 2, 2}}));
    schedule.addRejected(2, "KZ1", nullptr, "行无法读取");
    schedule.add(12, "KZ2", columnOf({.layout = {20, 20, 1, 1}}));
    const std::vector<ScheduleRow> rows = schedule.rows();
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].mark, "KZ1");
    EXPECT_EQ(rows[1].mark, "KZ2");
    EXPECT_EQ(rows[2].mark, "KZ3");
    EXPECT_EQ(rows[1].allBars, "8C20");  // 4 + 2×1 + 2×1
}

// The book: the key of the letters and one table row per column, the note with its reason.
TEST(ColumnSchedule, BookHoldsTheTable) {
    ColumnSchedule schedule;
    schedule.add(2, "KZ1", columnOf({.layout = {25, 20, 2, 2}}));
    schedule.addRejected(5, "KZ2", nullptr, "行无法读取");
    const Book book = schedule.book(BookInfo{"某办公楼", "", "2026-12-09"});
    const BookTable* table = nullptr;
    for (const BookBlock& block : book.blocks) {
        if (const auto* t = std::get_if<BookTable>(&block)) table = t;
    }
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->header.size(), kScheduleHeader.size());
    ASSERT_EQ(table->rows.size(), 2u);
    EXPECT_EQ(table->rows[0][3], "4C25");
    EXPECT_EQ(table->rows[1][8], "输入有误：行无法读取");
    EXPECT_EQ(book.cover.project, "某办公楼");
}

}  // namespace
}  // namespace tessarin
