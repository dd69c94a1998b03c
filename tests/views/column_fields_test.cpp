#include "views/column_fields.h"

#include <gtest/gtest.h>

namespace tessarin {
namespace {

ProjectColumn kz1() {
    ProjectColumn column;
    column.mark = "KZ1";
    column.combinations = {LoadCombination{}};
    return column;
}

// Each field as the engineer leaves it: refused text keeps the old value; a value that breaks a
// rule is kept with the rule's message; the message names the field.
TEST(ColumnFields, EditsAsTheEngineerLeavesAField) {
    struct Case {
        ColumnField field;
        const char* text;
        bool accepted;
        const char* shown;    // the field's text afterwards
        const char* message;  // part of the message; "" for none
    };
    const Case cases[] = {
        {ColumnField::B, "500", true, "500", ""},
        {ColumnField::B, " 4.5e2 ", true, "450", ""},
        {ColumnField::B, "6OO", false, "400", "截面宽度 b：“6OO” 不是数值"},
        {ColumnField::B, "", false, "400", "截面宽度 b：不能为空"},
        {ColumnField::B, "-1", true, "-1", "柱截面宽度b应为大于零的数"},
        {ColumnField::H, "1,000", false, "600", "截面高度 h：“1,000” 不是数值"},
        {ColumnField::LcX, "", true, "", ""},
        {ColumnField::LcX, "5200", true, "5200", ""},
        {ColumnField::LcX, "0", true, "0", "x方向构件支撑点之间的长度lc应为大于零的数"},
        {ColumnField::Hn, "3600", true, "3600", ""},
        {ColumnField::Cover, "80", true, "80", "应在15～75mm之间"},
        {ColumnField::Cover, "", true, "", ""},
        {ColumnField::Stirrup, "20", true, "20", "箍筋直径应在6～16mm之间"},
        {ColumnField::Concrete, "C45", true, "C45", ""},
        {ColumnField::Concrete, "C15", false, "C30", "混凝土强度等级：“C15” 不是可选的值"},
        {ColumnField::Steel, "HRB500", true, "HRB500", ""},
        {ColumnField::Seismic, "二级", true, "二级", ""},
        {ColumnField::Mark, "  KZ2 ", true, "KZ2", ""},
        {ColumnField::Mark, " ", false, "KZ1", "构件编号：不能为空"},
    };
    for (const Case& c : cases) {
        ProjectColumn column = kz1();
        const FieldEdit edit = editColumnField(column, c.field, c.text);
        EXPECT_EQ(edit.accepted, c.accepted) << c.text;
        EXPECT_EQ(columnFieldText(column, c.field), c.shown) << c.text;
        if (*c.message == '\0') {
            EXPECT_EQ(edit.message, "") << c.text;
        } else {
            EXPECT_NE(edit.message.find(c.message), std::string::npos)
                << c.text << " -> " << edit.message;
        }
    }
}

// A frame-supporting column must be of grade 一 or 二 (GB 50011 table 6.3.6): the finding shows
// on the structure field, whichever of the two was changed last.
TEST(ColumnFields, SeismicAndStructureCheckedTogether) {
    ProjectColumn column = kz1();
    ASSERT_TRUE(editColumnField(column, ColumnField::Seismic, "三级").message.empty());
    const FieldEdit edit =
        editColumnField(column, ColumnField::Structure, "部分框支抗震墙结构的框支柱");
    EXPECT_TRUE(edit.accepted);
    EXPECT_NE(edit.message.find("一级或二级"), std::string::npos) << edit.message;
    EXPECT_NE(columnFieldFinding(column, ColumnField::Seismic).find("一级或二级"),
              std::string::npos);
    EXPECT_TRUE(editColumnField(column, ColumnField::Seismic, "二级").message.empty());
}

// Cells: the message names the combination's row and the quantity.
TEST(ColumnFields, CombinationCells) {
    ProjectColumn column = kz1();
    column.combinations.resize(3);
    EXPECT_EQ(editCombinationCell(column, 2, 0, "abc").message,
              "第3组荷载组合：轴向压力 N：“abc” 不是数值");
    const FieldEdit negative = editCombinationCell(column, 2, 0, "-5");
    EXPECT_TRUE(negative.accepted);
    EXPECT_EQ(negative.message, "第3组荷载组合：轴向压力N应为大于零的数(kN)");
    const FieldEdit ratio = editCombinationCell(column, 1, 3, "1.5");
    EXPECT_NE(ratio.message.find("第2组荷载组合：x方向杆端弯矩比M1/M2应在-1～1之间"),
              std::string::npos);
    EXPECT_TRUE(editCombinationCell(column, 0, 4, "-0.5").message.empty());
    EXPECT_EQ(column.combinations[0].m1m2Y, -0.5);
}

// Several Excel rows (CR LF, a line break after the last) at the second row: the rows below
// are added, the cells outside the block of a new row start at 0 (1 for a ratio); copied back
// they give the same cells.
TEST(ColumnFields, PastesExcelRowsAndCopiesThemBack) {
    ProjectColumn column = kz1();
    const std::string block = "2500\t180.5\t95\r\n1200\t60\t40.25\r\n800\t30\t20\r\n";
    const PasteResult pasted = pasteCombinations(column, 1, 0, block);
    ASSERT_TRUE(pasted.accepted) << pasted.message;
    EXPECT_EQ(pasted.rows, 3U);
    ASSERT_EQ(column.combinations.size(), 4U);
    EXPECT_EQ(column.combinations[0].N, 400.0);  // untouched
    EXPECT_EQ(column.combinations[1].M2x, 180.5);
    EXPECT_EQ(column.combinations[2].M2y, 40.25);
    EXPECT_EQ(column.combinations[3].N, 800.0);
    EXPECT_EQ(column.combinations[3].m1m2X, 1.0);
    EXPECT_EQ(copyCombinations(column, 1, 3, 0, 2),
              "2500\t180.5\t95\n1200\t60\t40.25\n800\t30\t20\n");
    // A block of ratios into the last two columns of the first row.
    ASSERT_TRUE(pasteCombinations(column, 0, 3, "-0.4\t0.6").accepted);
    EXPECT_EQ(column.combinations[0].m1m2X, -0.4);
    EXPECT_EQ(column.combinations[0].m1m2Y, 0.6);
}

// One bad cell refuses the whole block: nothing changes.
TEST(ColumnFields, RefusedPasteChangesNothing) {
    struct Case {
        const char* text;
        std::size_t cell;
        const char* message;
    };
    const Case cases[] = {
        {"2500\t180\t95\n1200\t6O\t40\n", 0,
         "粘贴的第2行第2列（x向杆端较大弯矩 M2x）：“6O” 不是数值"},
        {"1\t2\t3\t4\n", 5, "粘贴的第1行有4列，超出表格（从Vx (kN)起最多3列）"},
        {"1\t2\t3\t4\t5\t6\t7\t地震\t9\n", 0, "粘贴的第1行有9列，超出表格（从N (kN)起最多8列）"},
        {"100\t50\t风荷载\n", 5,
         "粘贴的第1行第3列（组合类别）：“风荷载” 不是组合类别（可填：地震、非地震，空白为未指明）"},
        {"1\t\t3\n", 0, "粘贴的第1行第2列"},
        {"", 0, "剪贴板中没有可粘贴的数值"},
    };
    for (const Case& c : cases) {
        ProjectColumn column = kz1();
        const PasteResult pasted = pasteCombinations(column, 0, c.cell, c.text);
        EXPECT_FALSE(pasted.accepted);
        EXPECT_NE(pasted.message.find(c.message), std::string::npos) << pasted.message;
        ASSERT_EQ(column.combinations.size(), 1U);
        EXPECT_TRUE(column.combinations[0] == LoadCombination{});
    }
}

// A whole row of an analysis program's table: N, M2x, M2y, the two ratios, Vx, Vy and the kind
// in the grid's order; the kind as 地震 / 非地震 / blank (the file's words are taken too). Copied
// back it gives the grid's words.
TEST(ColumnFields, PastesShearsAndKindsAndCopiesThemBack) {
    ProjectColumn column = kz1();
    const std::string block =
        "2500\t180.5\t95\t1\t1\t120\t45.5\t地震\r\n"
        "1200\t60\t40.25\t0.5\t-1\t0\t30\t非地震\r\n"
        "800\t30\t20\t1\t1\t10\t0\t\r\n"
        "900\t30\t20\t1\t1\t10\t0\tnon-seismic\r\n";
    const PasteResult pasted = pasteCombinations(column, 0, 0, block);
    ASSERT_TRUE(pasted.accepted) << pasted.message;
    ASSERT_EQ(column.combinations.size(), 4U);
    struct Row {
        double Vx, Vy;
        CombinationKind kind;
    };
    const Row rows[] = {{120.0, 45.5, CombinationKind::Seismic},
                        {0.0, 30.0, CombinationKind::NonSeismic},
                        {10.0, 0.0, CombinationKind::Unspecified},
                        {10.0, 0.0, CombinationKind::NonSeismic}};
    for (std::size_t r = 0; r < 4; ++r) {
        EXPECT_EQ(column.combinations[r].Vx, rows[r].Vx) << r;
        EXPECT_EQ(column.combinations[r].Vy, rows[r].Vy) << r;
        EXPECT_EQ(column.combinations[r].kind, rows[r].kind) << r;
    }
    EXPECT_EQ(copyCombinations(column, 0, 3, 5, 7),
              "120\t45.5\t地震\n0\t30\t非地震\n10\t0\t\n10\t0\t非地震\n");
    // One cell: the kind cleared back to unspecified, a word refused with the row named.
    EXPECT_TRUE(editCombinationCell(column, 0, kKindCell, " ").accepted);
    EXPECT_EQ(column.combinations[0].kind, CombinationKind::Unspecified);
    const FieldEdit wrong = editCombinationCell(column, 1, kKindCell, "是");
    EXPECT_FALSE(wrong.accepted);
    EXPECT_EQ(wrong.message,
              "第2组荷载组合：组合类别：“是” 不是组合类别（可填：地震、非地震，空白为未指明）");
    EXPECT_EQ(column.combinations[1].kind, CombinationKind::NonSeismic);
    EXPECT_EQ(combinationColumnLabel(5), std::string("Vx (kN)"));
    EXPECT_EQ(combinationColumnLabel(kKindCell), std::string("组合类别"));
    // The kind is picked from its words, each of which the cell takes back; a number cell has none.
    const std::vector<std::string> kinds = combinationCellChoices(kKindCell);
    ASSERT_EQ(kinds, (std::vector<std::string>{"", "地震", "非地震"}));
    for (const std::string& word : kinds) {
        ASSERT_TRUE(editCombinationCell(column, 0, kKindCell, word).accepted) << word;
        EXPECT_EQ(combinationCellText(column.combinations[0], kKindCell), word);
    }
    EXPECT_TRUE(combinationCellChoices(5).empty());
}

// The stirrup steel is a choice of the four grades; another text is refused.
TEST(ColumnFields, StirrupSteelIsAChoice) {
    ProjectColumn column = kz1();
    EXPECT_EQ(columnFieldText(column, ColumnField::StirrupSteel), "HRB400");
    EXPECT_TRUE(editColumnField(column, ColumnField::StirrupSteel, "HPB300").accepted);
    EXPECT_EQ(column.column.stirrupSteel, SteelGrade2010::HPB300);
    const FieldEdit wrong = editColumnField(column, ColumnField::StirrupSteel, "Q235");
    EXPECT_FALSE(wrong.accepted);
    EXPECT_EQ(wrong.message, "箍筋牌号：“Q235” 不是可选的值");
    EXPECT_EQ(column.column.stirrupSteel, SteelGrade2010::HPB300);
}

}  // namespace
}  // namespace tessarin
