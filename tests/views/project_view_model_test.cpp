#include "views/project_view_model.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>

#include "project/project_file.h"
#include "tests/support/scratch_directory.h"
#include "text/gbk_text.h"

namespace tessarin {
namespace {

std::vector<std::string> marks(const ProjectViewModel& vm) {
    std::vector<std::string> result;
    for (std::size_t i = 0; i < vm.columnCount(); ++i) result.push_back(vm.row(i).mark);
    return result;
}

// A new column starts from the last one's data with a fresh mark and one empty combination of
// its own; the first starts from the project's seismic data.
TEST(ProjectViewModel, NewColumnStartsFromTheLastOne) {
    ProjectViewModel vm;
    vm.editInfo(InfoField::Seismic, "二级");
    vm.addColumn();
    EXPECT_EQ(vm.fieldText(ColumnField::Mark), "KZ1");
    EXPECT_EQ(vm.fieldText(ColumnField::Seismic), "二级");
    EXPECT_EQ(vm.editField(ColumnField::B, "550"), "");
    EXPECT_EQ(vm.editField(ColumnField::Concrete, "C40"), "");
    vm.addColumn();
    EXPECT_EQ(vm.selected(), 1U);
    EXPECT_EQ(vm.fieldText(ColumnField::Mark), "KZ2");
    EXPECT_EQ(vm.fieldText(ColumnField::B), "550");
    EXPECT_EQ(vm.fieldText(ColumnField::Concrete), "C40");
    ASSERT_EQ(vm.combinationCount(), 1U);
    EXPECT_EQ(vm.cellText(0, 0), "0");
    EXPECT_EQ(vm.cellFinding(0, 0), "第1组荷载组合：轴向压力N应为大于零的数(kN)");
    // A mark another column has is refused.
    EXPECT_EQ(vm.editField(ColumnField::Mark, "KZ1"), "构件编号：“KZ1” 已被第 1 根柱使用");
    EXPECT_EQ(vm.fieldText(ColumnField::Mark), "KZ2");
}

// Every change is one step: undone in reverse order and redone, with its name.
TEST(ProjectViewModel, UndoAndRedoEveryChange) {
    ProjectViewModel vm;
    vm.addColumn();
    vm.addColumn();
    vm.addColumn();
    EXPECT_EQ(marks(vm), (std::vector<std::string>{"KZ1", "KZ2", "KZ3"}));
    vm.select(2);
    vm.moveUp();
    EXPECT_EQ(marks(vm), (std::vector<std::string>{"KZ1", "KZ3", "KZ2"}));
    EXPECT_EQ(vm.selected(), 1U);
    vm.copyColumn();
    EXPECT_EQ(marks(vm), (std::vector<std::string>{"KZ1", "KZ3", "KZ3-2", "KZ2"}));
    vm.select(0);
    vm.deleteColumn();
    EXPECT_EQ(vm.editField(ColumnField::H, "700"), "");
    EXPECT_EQ(vm.paste(0, 0, "1000\t100\t50\n2000\t200\t80\n"), "");
    EXPECT_EQ(vm.combinationCount(), 2U);
    EXPECT_EQ(vm.undoText(), "撤销 粘贴 KZ3 的 2 行荷载组合");
    vm.undo();
    EXPECT_EQ(vm.combinationCount(), 1U);
    EXPECT_EQ(vm.undoText(), "撤销 编辑 KZ3 截面高度 h");
    vm.undo();
    EXPECT_EQ(vm.fieldText(ColumnField::H), "600");
    vm.undo();  // the deletion
    EXPECT_EQ(marks(vm), (std::vector<std::string>{"KZ1", "KZ3", "KZ3-2", "KZ2"}));
    EXPECT_EQ(vm.selected(), 0U);
    vm.undo();  // the copy
    vm.undo();  // the move
    EXPECT_EQ(marks(vm), (std::vector<std::string>{"KZ1", "KZ2", "KZ3"}));
    EXPECT_EQ(vm.redoText(), "重做 上移柱 KZ3");
    for (int i = 0; i < 5; ++i) vm.redo();
    EXPECT_EQ(marks(vm), (std::vector<std::string>{"KZ3", "KZ3-2", "KZ2"}));
    EXPECT_EQ(vm.combinationCount(), 2U);
    EXPECT_FALSE(vm.commands().redo);
    // A new change after an undo drops what could be redone.
    vm.undo();
    vm.addCombination();
    EXPECT_FALSE(vm.commands().redo);
}

// What each command may do, by the state of the list.
TEST(ProjectViewModel, CommandsEnabledByTheList) {
    ProjectViewModel vm;
    CommandState empty = vm.commands();
    EXPECT_FALSE(empty.designAll);
    EXPECT_FALSE(empty.deleteColumn);
    EXPECT_FALSE(empty.undo);
    EXPECT_FALSE(empty.exportResults);
    vm.addColumn();
    vm.addColumn();
    vm.select(0);
    const CommandState first = vm.commands();
    EXPECT_FALSE(first.moveUp);
    EXPECT_TRUE(first.moveDown);
    EXPECT_TRUE(first.designAll);
    EXPECT_TRUE(first.undo);
    vm.select(1);
    EXPECT_TRUE(vm.commands().moveUp);
    EXPECT_FALSE(vm.commands().moveDown);
    vm.select(std::nullopt);
    EXPECT_FALSE(vm.commands().deleteColumn);
    EXPECT_FALSE(vm.commands().addCombination);
    EXPECT_TRUE(vm.commands().designAll);
}

// Designed, input error, no layout and not designed, each with its status word; an edit makes a
// column undesigned again, and a design run over data that changed meanwhile is not taken.
// The selected column's summary names its bar preferences and whether they are the project's:
// the defaults, written as barPreferencesSummary writes them.
TEST(ProjectViewModel, SummaryNamesTheBarPreferences) {
    ProjectViewModel vm;
    vm.addColumn();
    vm.select(0);
    const std::vector<std::string> lines = vm.summaryLines();
    ASSERT_GE(lines.size(), 2U);
    EXPECT_EQ(lines[1],
              "配筋参数：12,14,16,18,20,22,25,28,32,36,40；中部筋≥12；级差≤2；b/h中部筋可不同；"
              "方柱四边相同（工程）");
}

TEST(ProjectViewModel, DesignStatusPerColumn) {
    ProjectViewModel vm;
    vm.addColumn();  // KZ1: the start-up case of the current-code dialog
    EXPECT_EQ(vm.paste(0, 0, "400\t244\t120\n"), "");
    vm.addColumn();  // KZ2: N left at 0
    vm.addColumn();  // KZ3: seismic grade 一 at an axial ratio far above 0.65
    EXPECT_EQ(vm.editField(ColumnField::Seismic, "一级"), "");
    EXPECT_EQ(vm.paste(0, 0, "20000\t10\t10"), "");
    vm.addColumn();  // KZ4: not designed at all
    EXPECT_EQ(vm.paste(0, 0, "400\t244\t120"), "");
    auto snapshot = vm.designSnapshot();
    snapshot.pop_back();
    const std::atomic<bool> cancel{false};
    vm.applyDesign(snapshot, designProjectColumns(snapshot, cancel));
    EXPECT_EQ(vm.row(0).status, "已设计");
    EXPECT_EQ(vm.row(0).kind, ColumnStatus::Designed);
    EXPECT_FALSE(vm.row(0).layout.empty());
    EXPECT_EQ(vm.row(1).status, "输入有误");
    EXPECT_EQ(vm.row(2).status, "无可用配筋");
    EXPECT_EQ(vm.row(2).axialRatio.substr(vm.row(2).axialRatio.size() - 7), " / 0.65");
    EXPECT_EQ(vm.row(3).status, "未设计");
    EXPECT_EQ(vm.designSummary(), "共 4 根柱：已设计 1，无可用配筋 1，输入有误 1，未设计 1");
    vm.select(1);
    EXPECT_EQ(vm.summaryLines().back(), "输入有误：第1组荷载组合：轴向压力N应为大于零的数(kN)");
    EXPECT_EQ(vm.inputFinding(), "第1组荷载组合：轴向压力N应为大于零的数(kN)");
    vm.select(0);
    EXPECT_EQ(vm.inputFinding(), "");
    vm.select(1);
    vm.select(2);
    EXPECT_NE(vm.summaryLines().back().find("无可用配筋：第1组荷载组合的轴压比"),
              std::string::npos);

    // The window shows what the batch prints for the same column: As and rho of the layout row.
    TemporaryDirectory dir;
    ASSERT_EQ(vm.exportResults(dir.file("r.csv")).status, BatchOutcome::Status::SomeRejected);
    // For Excel: a UTF-8 byte-order mark, then the batch's header line ("line,id,kind,...").
    const std::string csv = readFileBytes(dir.file("r.csv"));
    EXPECT_EQ(csv.substr(0, 16), "\xEF\xBB\xBFline,id,kind,");
    // A folder where the file should go: refused, named, and the folder left as it was.
    std::filesystem::create_directory(dir.file("taken.csv"));
    const BatchOutcome refused = vm.exportResults(dir.file("taken.csv"));
    EXPECT_EQ(refused.status, BatchOutcome::Status::FileFailed);
    EXPECT_NE(refused.message.find(dir.file("taken.csv")), std::string::npos) << refused.message;
    EXPECT_TRUE(std::filesystem::is_directory(dir.file("taken.csv")));
    std::istringstream results(csv.substr(3));
    std::string line;
    std::string layoutRow;
    while (std::getline(results, line)) {
        if (line.rfind("2,KZ1,layout", 0) == 0) layoutRow = line;
    }
    ASSERT_FALSE(layoutRow.empty());
    const ColumnRow kz1 = vm.row(0);
    EXPECT_NE(layoutRow.find("," + kz1.layout + ","), std::string::npos) << layoutRow;
    // With the default bar preferences (a middle bar at most two sizes below the corner bar) the
    // batch chose 4C20 with 3C16 on each b face and 2C16 on each h face:
    // As = pi/4 (4 * 20^2 + 10 * 16^2) = 1040 pi = 3267.26 mm2, rho = 1040 pi / (400 * 600) =
    // 1.361 %.
    ASSERT_NE(layoutRow.find("角筋 4C20；b边每侧 3C16；h边每侧 2C16"), std::string::npos);
    EXPECT_EQ(kz1.steelArea, "3267");
    EXPECT_EQ(kz1.ratio, "1.36%");

    // Its section as the drawing has it: b = 400 across, h = 600 up. The faces of length b (top
    // and bottom) carry the 2 corner bars and 3 web bars each, the faces of length h 2 web bars
    // between the corners: 5 bars near the top face, 4 near the left face. A bar's centre sits
    // c + ds + d/2 from its faces: 20 + 8 + 8 = 36 mm for a C16 web bar, 38 mm for a C20 corner.
    vm.select(0);
    const SectionPicture picture = vm.picture();
    EXPECT_EQ(picture.width, 400.0);
    EXPECT_EQ(picture.height, 600.0);
    EXPECT_EQ(picture.stirrupInset, 24.0);  // c + ds / 2
    ASSERT_EQ(picture.bars.size(), 14U);
    std::vector<double> ys;
    std::vector<double> xs;
    for (const SectionPicture::Circle& bar : picture.bars) {
        if (bar.y > 300.0 - 50.0) ys.push_back(bar.y);
        if (bar.x < -200.0 + 50.0) xs.push_back(bar.x);
    }
    std::sort(ys.begin(), ys.end());
    std::sort(xs.begin(), xs.end());
    EXPECT_EQ(ys, (std::vector<double>{262.0, 262.0, 264.0, 264.0, 264.0}));
    EXPECT_EQ(xs, (std::vector<double>{-164.0, -164.0, -162.0, -162.0}));
    // The notation the picture draws with HRB400's symbol, the end of its plain-text caption.
    EXPECT_EQ(picture.notation, "角筋 4C20；b边每侧 3C16；h边每侧 2C16");
    EXPECT_EQ(picture.steel, SteelGrade2010::HRB400);
    EXPECT_EQ(picture.caption, "KZ1  400×600  " + picture.notation);

    // The window's report and book are the whole column's (the stirrups too), and the book's
    // title page carries the project's 子项/设计号 and names.
    vm.editInfo(InfoField::Number, "S-2026-01");
    vm.editInfo(InfoField::Checker, "李工");
    vm.select(0);
    EXPECT_NE(vm.reportText().find("箍筋"), std::string::npos);
    const std::string book = vm.bookHtml();
    EXPECT_NE(book.find("<tr><th>子项 / 设计号</th><td>S-2026-01</td></tr>"), std::string::npos);
    EXPECT_NE(book.find("<tr><th>校对</th><td>李工</td>"), std::string::npos);
    EXPECT_NE(book.find("箍筋设计</h2>"), std::string::npos);

    // An edit: the column is undesigned; a stale run does not bring its design back.
    const auto stale = vm.designSnapshot();
    vm.select(0);
    EXPECT_EQ(vm.editField(ColumnField::B, "450"), "");
    EXPECT_EQ(vm.row(0).status, "未设计");
    vm.applyDesign(stale, designProjectColumns(stale, cancel));
    EXPECT_EQ(vm.row(0).status, "未设计");
    EXPECT_EQ(vm.row(3).status, "已设计");
    // Undo brings back the column as it was, with its design.
    vm.undo();
    EXPECT_EQ(vm.row(0).status, "已设计");
}

TEST(ProjectViewModel, CancelledDesignStopsBeforeTheNextColumn) {
    std::vector<ProjectColumn> columns(3, ProjectColumn{"KZ", {}, {LoadCombination{}}});
    std::atomic<bool> cancel{false};
    std::size_t told = 0;
    const auto outcomes = designProjectColumns(columns, cancel, [&](std::size_t done, std::size_t) {
        told = done;
        if (done == 2) cancel = true;
    });
    EXPECT_EQ(outcomes.size(), 2U);
    EXPECT_EQ(told, 2U);
}

// The grid's new columns through the view model: a whole Excel row with shears and kind, the
// stirrup steel, all kept by a save and an open, the paste undone as one step.
TEST(ProjectViewModel, ShearsKindsAndStirrupSteelKeptBySaveAndOpen) {
    TemporaryDirectory dir;
    ProjectViewModel vm;
    vm.addColumn();
    EXPECT_EQ(vm.editField(ColumnField::StirrupSteel, "HPB300"), "");
    EXPECT_EQ(vm.paste(0, 0, "2500\t180.5\t95\t1\t1\t120\t45\t地震\n800\t30\t20\t1\t1\t10\t0\t\n"),
              "");
    ASSERT_EQ(vm.combinationCount(), 2U);
    EXPECT_EQ(vm.cellText(0, 5), "120");
    EXPECT_EQ(vm.cellText(0, kKindCell), "地震");
    EXPECT_EQ(vm.cellText(1, kKindCell), "");
    const std::string path = dir.file("v.tsn");
    ASSERT_TRUE(vm.saveAs(path).ok);
    ProjectViewModel other;
    ASSERT_EQ(other.open(path), "");
    EXPECT_EQ(other.fieldText(ColumnField::StirrupSteel), "HPB300");
    EXPECT_EQ(other.cellText(0, 6), "45");
    EXPECT_EQ(other.cellText(0, kKindCell), "地震");
    EXPECT_TRUE(other.project() == vm.project());
    vm.undo();
    EXPECT_EQ(vm.combinationCount(), 1U);
    EXPECT_EQ(vm.cellText(0, kKindCell), "");
}

// Saved and opened again; a damaged file leaves the window's project as it was; the title and the
// recent files follow.
TEST(ProjectViewModel, SaveOpenAndTitle) {
    TemporaryDirectory dir;
    ProjectViewModel vm;
    EXPECT_EQ(vm.windowTitle(), "未命名工程 - Tessarin 柱设计");
    vm.editInfo(InfoField::Name, "某住宅楼");
    vm.addColumn();
    EXPECT_EQ(vm.windowTitle(), "未命名工程* - Tessarin 柱设计");
    const std::string path = dir.file("住宅.tsn");
    ASSERT_TRUE(vm.saveAs(path).ok);
    EXPECT_EQ(vm.windowTitle(), "住宅.tsn - Tessarin 柱设计");
    EXPECT_EQ(vm.recentFiles(), std::vector<std::string>{path});

    writeFileBytes(dir.file("bad.tsn"), "{\"schema\": 9, \"columns\": []}");
    ProjectViewModel other;
    ASSERT_EQ(other.open(path), "");
    EXPECT_EQ(other.infoText(InfoField::Name), "某住宅楼");
    EXPECT_EQ(other.selected(), 0U);
    const std::string refused = other.open(dir.file("bad.tsn"));
    EXPECT_EQ(refused.rfind("无法打开工程文件 " + dir.file("bad.tsn") + "：第 1 行：schema：", 0),
              0U)
        << refused;
    EXPECT_EQ(other.path(), path);
    EXPECT_EQ(other.columnCount(), 1U);
    EXPECT_EQ(readFileBytes(dir.file("bad.tsn")), "{\"schema\": 9, \"columns\": []}");
}

// The books and drawings of an export are named as the batch names them and carry the project's
// name; an import adds the cases' columns and is undone as one step.
TEST(ProjectViewModel, ExportsAndImport) {
    TemporaryDirectory dir;
    writeFileBytes(dir.file("c.csv"),
                   "id,l0,b,h,M0x,M0y,N,concrete,steel\nKZ7,6000,400,600,244,120,400,C30,HRB400\n"
                   "KZ8,4500,500,500,200,200,1000,C35,HRB400\n");
    ProjectViewModel vm;
    vm.editInfo(InfoField::Name, "某综合楼");
    ASSERT_EQ(vm.importCases(dir.file("c.csv")), "");
    EXPECT_EQ(marks(vm), (std::vector<std::string>{"KZ7", "KZ8"}));
    EXPECT_NE(vm.importCases(dir.file("c.csv")).find("构件编号 “KZ7” 已在工程中"),
              std::string::npos);
    // A row that cannot be read: nothing is added, the file and line are named.
    writeFileBytes(dir.file("bad.csv"),
                   "id,l0,b,h,M0x,M0y,N,concrete,steel\nKZ9,6000,400,600,2x4,120,400,C30,HRB400\n");
    EXPECT_EQ(vm.importCases(dir.file("bad.csv")),
              "无法导入 CSV：" + dir.file("bad.csv") + ": line 2: M0x: \"2x4\" is not a number");
    EXPECT_EQ(vm.columnCount(), 2U);
    ASSERT_EQ(vm.exportBooks(dir.file("books")).status, BatchOutcome::Status::AllAccepted);
    EXPECT_NE(readFileBytes(dir.file("books/KZ8-3.html")).find("某综合楼"), std::string::npos);
    ASSERT_EQ(vm.exportDrawings(dir.file("dxf")).status, BatchOutcome::Status::AllAccepted);
    EXPECT_NE(readFileBytes(dir.file("dxf/KZ7-2.dxf")).find("SECTION"), std::string::npos);
    vm.undo();
    EXPECT_EQ(vm.columnCount(), 0U);
}

// 导出柱表 by the file's suffix. KZ7 is the worked start-up column (400 x 600, l0 6000, C30,
// HRB400, N 400, M 244 / 120) with a middle bar allowed any number of sizes below the corner bar
// (max_size_step 10), whose layout is 4C28 at the corners, 2C12 on each face of b and 1C12 on each
// face of h (the current-code book's worked steps): in a drawing 4%%13228, 2%%13212,
// 1%%13212
// (%%132 HRB400), in a book 4C28. KZ9 has a negative b: its row says 输入有误. A PDF needs the
// command line's writer, and an unknown suffix is refused, neither writing anything; an unwritable
// path is a file failure.
TEST(ProjectViewModel, ExportSchedule) {
    TemporaryDirectory dir;
    writeFileBytes(dir.file("c.csv"),
                   "id,l0,b,h,M0x,M0y,N,concrete,steel,max_size_step\n"
                   "KZ7,6000,400,600,244,120,400,C30,HRB400,10\n"
                   "KZ9,6000,-400,600,244,120,400,C30,HRB400,10\n");
    ProjectViewModel vm;
    vm.editInfo(InfoField::Name, "某综合楼");
    ASSERT_EQ(vm.importCases(dir.file("c.csv")), "");
    ASSERT_EQ(vm.exportSchedule(dir.file("s.dxf")).status, BatchOutcome::Status::SomeRejected);
    const std::string dxf = readFileBytes(dir.file("s.dxf"));
    for (const std::string& text :
         {std::string("4%%13228"), std::string("2%%13212"), std::string("1%%13212"),
          utf8ToGbk("某综合楼  柱表"), utf8ToGbk("输入有误"), utf8ToGbk("b边一侧中部筋")}) {
        EXPECT_NE(dxf.find(text), std::string::npos) << text;
    }
    ASSERT_EQ(vm.exportSchedule(dir.file("s.html")).status, BatchOutcome::Status::SomeRejected);
    const std::string html = readFileBytes(dir.file("s.html"));
    for (const char* text : {"某综合楼", "4C28", "2C12", "1C12", "输入有误："}) {
        EXPECT_NE(html.find(text), std::string::npos) << text;
    }
    ASSERT_EQ(vm.exportSchedule(dir.file("s.docx")).status, BatchOutcome::Status::SomeRejected);
    EXPECT_EQ(readFileBytes(dir.file("s.docx")).substr(0, 2), "PK");
    for (const char* name : {"s.pdf", "s.txt"}) {
        const BatchOutcome refused = vm.exportSchedule(dir.file(name));
        EXPECT_EQ(refused.status, BatchOutcome::Status::Unusable) << name;
        EXPECT_NE(refused.message.find("柱表文件名应以 .dxf"), std::string::npos) << name;
        EXPECT_FALSE(std::filesystem::exists(dir.file(name))) << name;
    }
    // With the front end's PDF writer a .pdf name is written through it (the standard face's
    // writer starts its file "%PDF-"); a writer that fails leaves no file and says why.
    ASSERT_EQ(vm.exportSchedule(dir.file("s.pdf"), renderStandardPdf).status,
              BatchOutcome::Status::SomeRejected);
    EXPECT_EQ(readFileBytes(dir.file("s.pdf")).substr(0, 5), "%PDF-");
    const PdfRenderer broken = [](const Book&, std::string&, std::string& reason) {
        reason = "no PDF writer here";
        return false;
    };
    const BatchOutcome unwritten = vm.exportSchedule(dir.file("t.pdf"), broken);
    EXPECT_EQ(unwritten.status, BatchOutcome::Status::FileFailed);
    EXPECT_NE(unwritten.message.find("no PDF writer here"), std::string::npos) << unwritten.message;
    EXPECT_FALSE(std::filesystem::exists(dir.file("t.pdf")));
    const BatchOutcome failed = vm.exportSchedule(dir.file("missing/s.dxf"));
    EXPECT_EQ(failed.status, BatchOutcome::Status::FileFailed);
    EXPECT_NE(failed.message.find("cannot write " + dir.file("missing/s.dxf")), std::string::npos)
        << failed.message;
}

// What an export tells the engineer, for each way the batch can end; both front ends show these
// words (the texts of the status colours: red input error, orange no layout).
TEST(ProjectViewModel, ExportOutcomeTexts) {
    using Status = BatchOutcome::Status;
    const struct {
        Status status;
        const char* message;
        const char* expected;
    } cases[] = {
        {Status::AllAccepted, "", ""},
        {Status::SomeRejected, "", "计算书已导出；部分柱输入有误，未设计（见列表中红色的柱）"},
        {Status::SomeWithoutLayout, "", "计算书已导出；部分柱无可用配筋（见列表中橙色的柱）"},
        {Status::FileFailed, "D:/工程/KZ1.html: 拒绝访问。",
         "计算书导出失败：D:/工程/KZ1.html: 拒绝访问。"},
        {Status::Unusable, "the output is the input itself",
         "计算书导出失败：the output is the input itself"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(exportOutcomeText(BatchOutcome{c.status, c.message}, "计算书"), c.expected)
            << static_cast<int>(c.status);
    }
}

}  // namespace
}  // namespace tessarin

namespace tessarin {
namespace {

// Each field of the bar preferences as text, refused with the field's name and the reader's
// reason; the whole set checked once every field is read. The messages are the field table's
// labels followed by readBarPreference's and barPreferencesProblem's words.
TEST(ProjectViewModel, BarPreferenceFieldsRefusedWithTheirNames) {
    struct Case {
        std::size_t field;
        const char* text;
        const char* message;  // empty: taken
        const char* shown;    // the field's text afterwards
    };
    const Case cases[] = {
        {0, "16，20 25", "", "16,20,25"},  // Chinese comma and space separate like commas
        {0, "16,x", "可用直径：\"x\" 不是钢筋直径（整数毫米，以逗号分隔）", "16,20,25"},
        {0, "16,16", "可用直径：直径重复", "16,20,25"},
        {0, "16,19",
         "可用直径：19 不是可用的钢筋直径（12、14、16、18、20、22、25、28、32、36、40）",
         "16,20,25"},
        {1, "0", "最小中部筋直径：\"0\" 不是钢筋直径（整数毫米）", "12"},
        {1, "13",
         "最小中部筋直径：13 不是可用的钢筋直径（12、14、16、18、20、22、25、28、32、36、40）",
         "12"},
        {1, "16", "", "16"},
        {2, "11", "角筋与中部筋最大级差：应为 0～10 档", "2"},
        {2, "-1", "角筋与中部筋最大级差：\"-1\" 不是 0～10 的整数", "2"},
        {2, "3", "", "3"},
        {3, "maybe", "b边与h边中部筋可不同：\"maybe\" 应为 yes 或 no", "yes"},
        {3, "no", "", "no"},
        {4, "no", "", "no"},
        {5, "18", "优先直径：18 不在可用直径之中", "none"},
        {5, "20", "", "20"},
        // The list no longer holding the preferred 20: the whole set is refused.
        {0, "16,25", "优先直径：20 不在可用直径之中", "16,20,25"},
        {5, "none", "", "none"},
    };
    for (const PreferenceScope scope : {PreferenceScope::Project, PreferenceScope::Column}) {
        ProjectViewModel vm;
        vm.addColumn();
        for (const Case& c : cases) {
            EXPECT_EQ(vm.editPreference(scope, c.field, c.text), c.message) << c.text;
            EXPECT_EQ(vm.preferenceText(scope, c.field), c.shown) << c.text;
        }
    }
    // Without a selected column there are no column preferences to edit.
    ProjectViewModel empty;
    EXPECT_EQ(empty.editPreference(PreferenceScope::Column, 0, "16"), "请先在列表中选择一根柱");
    EXPECT_EQ(empty.preferenceText(PreferenceScope::Column, 0), "");
    EXPECT_FALSE(empty.columnFollowsProject());
}

// A change of the project's preferences carries to the columns that follow the project (their
// design undone), not to a column with its own; every edit is one step to undo, and the summary
// says whose preferences apply.
TEST(ProjectViewModel, ProjectPreferencesCarryToFollowingColumns) {
    ProjectViewModel vm;
    vm.addColumn();  // KZ1
    vm.addColumn();  // KZ2
    vm.addColumn();  // KZ3
    EXPECT_EQ(vm.paste(0, 0, "400\t244\t120"), "");
    const auto snapshot = vm.designSnapshot();
    const std::atomic<bool> cancel{false};
    vm.applyDesign(snapshot, designProjectColumns(snapshot, cancel));
    EXPECT_EQ(vm.row(2).status, "已设计");
    vm.select(1);
    EXPECT_TRUE(vm.columnFollowsProject());
    EXPECT_EQ(vm.editPreference(PreferenceScope::Column, 2, "4"), "");
    EXPECT_EQ(vm.undoText(), "撤销 编辑 KZ2 的配筋参数");
    EXPECT_FALSE(vm.columnFollowsProject());
    EXPECT_EQ(vm.summaryLines()[1],
              "配筋参数：12,14,16,18,20,22,25,28,32,36,40；中部筋≥12；级差≤4；b/h中部筋可不同；"
              "方柱四边相同（本柱）");

    EXPECT_EQ(vm.editPreference(PreferenceScope::Project, 1, "14"), "");
    EXPECT_EQ(vm.undoText(), "撤销 编辑 工程的配筋参数");
    const struct {
        std::size_t column;
        const char* smallest;
        const char* step;
        const char* status;
    } after[] = {{0, "14", "2", "未设计"}, {1, "12", "4", "未设计"}, {2, "14", "2", "未设计"}};
    for (const auto& expected : after) {
        vm.select(expected.column);
        EXPECT_EQ(vm.preferenceText(PreferenceScope::Column, 1), expected.smallest);
        EXPECT_EQ(vm.preferenceText(PreferenceScope::Column, 2), expected.step);
        EXPECT_EQ(vm.row(expected.column).status, expected.status);
    }
    vm.select(0);
    EXPECT_TRUE(vm.columnFollowsProject());
    EXPECT_EQ(vm.summaryLines()[1].substr(vm.summaryLines()[1].size() - 12), "（工程）");

    // Undo: the project's and the following columns' preferences back, KZ3 designed again.
    vm.undo();
    EXPECT_EQ(vm.preferenceText(PreferenceScope::Project, 1), "12");
    EXPECT_EQ(vm.row(2).status, "已设计");
    vm.select(2);
    EXPECT_EQ(vm.preferenceText(PreferenceScope::Column, 1), "12");
    vm.redo();
    vm.select(2);
    EXPECT_EQ(vm.preferenceText(PreferenceScope::Column, 1), "14");

    // KZ2 follows the project again: one step, undone to its own.
    vm.select(1);
    vm.followProject();
    EXPECT_EQ(vm.undoText(), "撤销 KZ2 采用工程的配筋参数");
    EXPECT_TRUE(vm.columnFollowsProject());
    EXPECT_EQ(vm.preferenceText(PreferenceScope::Column, 1), "14");
    EXPECT_EQ(vm.preferenceText(PreferenceScope::Column, 2), "2");
    vm.undo();
    EXPECT_EQ(vm.preferenceText(PreferenceScope::Column, 2), "4");

    // The dialog's six texts at once: read in order, one step; a refused set changes nothing.
    const std::vector<std::string> refused = {"16,20", "16", "2", "yes", "yes", "25"};
    EXPECT_EQ(vm.editPreferences(PreferenceScope::Project, refused),
              "优先直径：25 不在可用直径之中");
    EXPECT_EQ(vm.preferenceText(PreferenceScope::Project, 0), "12,14,16,18,20,22,25,28,32,36,40");
    const std::vector<std::string> taken = {"16,20,25", "16", "1", "no", "no", "20"};
    EXPECT_EQ(vm.editPreferences(PreferenceScope::Project, taken), "");
    for (std::size_t i = 0; i < taken.size(); ++i) {
        EXPECT_EQ(vm.preferenceText(PreferenceScope::Project, i), taken[i]);
    }
    vm.undo();
    EXPECT_EQ(vm.preferenceText(PreferenceScope::Project, 5), "none");
}

// The design takes a column's own preferences: the start-up column (400×600, C30, HRB400,
// N = 400, M2x = 244, M2y = 120) with the defaults is 4C20 + 3C16 per b face + 2C16 per h face
// (Σd² = 4 × 400 + 10 × 256 = 4160). Allowing middle bars ten sizes below the corner lets the
// lighter 4C28 + 2C12 per b face + 1C12 per h face (Σd² = 4 × 784 + 6 × 144 = 4000) through.
// The window's design and the exported results (the batch) agree.
TEST(ProjectViewModel, ColumnPreferencesChangeItsLayout) {
    ProjectViewModel vm;
    vm.addColumn();
    EXPECT_EQ(vm.paste(0, 0, "400\t244\t120"), "");
    vm.addColumn();
    EXPECT_EQ(vm.paste(0, 0, "400\t244\t120"), "");
    EXPECT_EQ(vm.editPreference(PreferenceScope::Column, 2, "10"), "");
    const auto snapshot = vm.designSnapshot();
    const std::atomic<bool> cancel{false};
    vm.applyDesign(snapshot, designProjectColumns(snapshot, cancel));
    EXPECT_EQ(vm.row(0).steelArea, "3267");  // 1040 pi
    EXPECT_EQ(vm.row(1).steelArea, "3142");  // 1000 pi = 3141.59
    TemporaryDirectory dir;
    ASSERT_EQ(vm.exportResults(dir.file("r.csv")).status, BatchOutcome::Status::AllAccepted);
    const std::string csv = readFileBytes(dir.file("r.csv"));
    const struct {
        const char* mark;
        const char* layout;
    } layouts[] = {{",KZ1,layout", "角筋 4C20；b边每侧 3C16；h边每侧 2C16"},
                   {",KZ2,layout", "角筋 4C28；b边每侧 2C12；h边每侧 1C12"}};
    for (const auto& expected : layouts) {
        const std::size_t at = csv.find(expected.mark);
        ASSERT_NE(at, std::string::npos) << expected.mark;
        const std::string line = csv.substr(at, csv.find('\n', at) - at);
        EXPECT_NE(line.find(expected.layout), std::string::npos) << line;
    }
}

}  // namespace
}  // namespace tessarin

namespace tessarin {
namespace {

// The dialog's OK: a column following the project ignores the texts; otherwise they are read.
TEST(ProjectViewModel, PreferenceDialogAccept) {
    ProjectViewModel vm;
    EXPECT_EQ(vm.preferencesTitle(PreferenceScope::Project), "工程的配筋参数");
    EXPECT_EQ(vm.acceptPreferences(PreferenceScope::Column, true, {}), "请先在列表中选择一根柱");
    vm.addColumn();
    EXPECT_EQ(vm.preferencesTitle(PreferenceScope::Column), "KZ1 的配筋参数");
    const std::vector<std::string> own = {"14,16,20", "14", "2", "yes", "yes", "none"};
    EXPECT_EQ(vm.acceptPreferences(PreferenceScope::Column, false, own), "");
    EXPECT_FALSE(vm.columnFollowsProject());
    EXPECT_EQ(vm.preferenceText(PreferenceScope::Column, 0), "14,16,20");
    // Refused texts do not matter once the column follows the project.
    const std::vector<std::string> bad = {"x", "", "", "", "", ""};
    EXPECT_EQ(vm.acceptPreferences(PreferenceScope::Column, false, bad),
              "可用直径：\"x\" 不是钢筋直径（整数毫米，以逗号分隔）");
    EXPECT_EQ(vm.acceptPreferences(PreferenceScope::Column, true, bad), "");
    EXPECT_TRUE(vm.columnFollowsProject());
    EXPECT_EQ(vm.preferenceText(PreferenceScope::Column, 0), "12,14,16,18,20,22,25,28,32,36,40");
}

}  // namespace
}  // namespace tessarin
