#include <gtest/gtest.h>

#include <sstream>

#include "cli/cli_exit.h"
#include "cli/cli_main.h"
#include "cli/cli_options.h"
#include "project/project_file.h"
#include "tests/support/scratch_directory.h"

namespace tessarin {
namespace {

struct CliRun {
    int exit = -1;
    std::string out;
    std::string err;
};

CliRun cli(const std::vector<std::string>& args) {
    std::ostringstream out;
    std::ostringstream err;
    CliRun run;
    run.exit = runCli(args, out, err, {});
    run.out = out.str();
    run.err = err.str();
    return run;
}

// A current-code cases file that uses every optional column: end-moment ratios, lengths per
// axis, the clear height, cover, stirrup and the seismic data, with blanks between.
constexpr const char* kCases =
    "id,l0,b,h,M0x,M0y,N,concrete,steel,m1m2_x,m1m2_y,lc_x,lc_y,hn,cover,stirrup,seismic,"
    "structure,position\n"
    "KZ1,4200,500,500,180,90,2200,C35,HRB400,-0.4,0.6,,,3600,,,2,frame,\n"
    "KZ1,4200,500,500,120,140,2600,C35,HRB400,0.5,-0.3,,,3600,,,2,frame,\n"
    "KZ2,6000,400,600,244,120,400,C30,HRB400,,,6500,5800,,30,10,,,corner\n"
    "\"KZ,3\",3600,400,400,80,60,900,C30,HRB500,1,1,,,,,,3,dual,middle\n";

// The fields of a CSV line (quoted fields with commas, no line breaks inside).
std::vector<std::string> csvFields(const std::string& line) {
    std::vector<std::string> fields(1);
    bool quoted = false;
    for (const char c : line) {
        if (c == '"') {
            quoted = !quoted;
        } else if (c == ',' && !quoted) {
            fields.emplace_back();
        } else {
            fields.back() += c;
        }
    }
    return fields;
}

// Results with every echoed input that a cases file may leave blank written as the default a
// blank gives (m1m2 1, stirrup 8, seismic none, structure frame, position middle).
std::string withDefaultsFilled(const std::string& results) {
    const std::vector<std::pair<std::size_t, std::string>> defaults = {
        {11, "1"}, {12, "1"}, {17, "8"}, {18, "none"}, {19, "frame"}, {20, "middle"}};
    std::istringstream in(results);
    std::string line;
    std::string out;
    while (std::getline(in, line)) {
        std::vector<std::string> fields = csvFields(line);
        if (fields.size() > 2 && fields[2] == "combination") {
            for (const auto& [column, text] : defaults) {
                if (fields[column].empty()) fields[column] = text;
            }
        }
        for (const std::string& field : fields) out += field + "|";
        out += '\n';
    }
    return out;
}

// A cases file that leaves every default blank gives the batch's results byte for byte.
TEST(ProjectCli, ExampleCasesGiveTheBatchBytes) {
    TemporaryDirectory dir;
    const std::string project = dir.file("p.tsn");
    const std::string cases = std::string(TESSARIN_EXAMPLES_DIR) + "/columns.csv";
    ASSERT_EQ(cli({"--batch", cases, "--code", "2010", "--save-project", project}).exit, kExitDone);
    const CliRun batch = cli({"--batch", cases, "--code", "2010"});
    const CliRun open = cli({"--open", project});
    EXPECT_EQ(open.exit, batch.exit);
    EXPECT_EQ(open.out, batch.out);
}

// A project made from a cases file designs to the batch's results: every figure the same,
// whether the results go to stdout or to --out, and the same exit code. The echoed inputs differ
// only where the cases file wrote a default out (a project holds the value, not how it was
// typed).
TEST(ProjectCli, ProjectFromCasesDesignsToTheBatchResults) {
    TemporaryDirectory dir;
    const std::string cases = dir.file("cases.csv");
    writeFileBytes(cases, kCases);
    const std::string project = dir.file("p.tsn");
    const CliRun save = cli(
        {"--batch", cases, "--code", "2010", "--save-project", project, "--project", "某综合楼"});
    ASSERT_EQ(save.exit, kExitDone) << save.err;
    EXPECT_TRUE(save.out.empty());
    const ProjectReading reading = loadProjectFile(project);
    ASSERT_TRUE(reading.project) << reading.error;
    EXPECT_EQ(reading.project->info.name, "某综合楼");
    ASSERT_EQ(reading.project->columns.size(), 3U);
    EXPECT_EQ(reading.project->columns[0].combinations.size(), 2U);
    EXPECT_EQ(reading.project->columns[2].mark, "KZ,3");

    const CliRun batch = cli({"--batch", cases, "--code", "2010"});
    const CliRun open = cli({"--open", project});
    EXPECT_EQ(open.exit, batch.exit) << open.err;
    EXPECT_EQ(withDefaultsFilled(open.out), withDefaultsFilled(batch.out));
    EXPECT_NE(open.out, batch.out);  // "frame" and "1,1" were written out in the cases
    EXPECT_NE(batch.out.find(",designed,"), std::string::npos);  // the schedule cells follow
    // --code 2010 may be said; the results file is what stdout shows.
    ASSERT_EQ(cli({"--open", project, "--code", "2010", "--out", dir.file("o.csv")}).exit,
              batch.exit);
    EXPECT_EQ(readFileBytes(dir.file("o.csv")), open.out);
}

// Input errors and columns without a layout: the same rows, statuses and exit codes as the batch
// (4 some rejected, 5 no layout).
TEST(ProjectCli, RejectedAndNoLayoutAsTheBatch) {
    TemporaryDirectory dir;
    const std::pair<const char*, int> files[] = {
        {"id,l0,b,h,M0x,M0y,N,concrete,steel,cover\n"
         "KZ1,6000,400,600,244,120,400,C30,HRB400,80\nKZ2,6000,400,600,244,120,400,C30,HRB400,\n",
         kExitSomeRejected},
        {"id,l0,b,h,M0x,M0y,N,concrete,steel,seismic\n"
         "KZ1,6000,400,600,244,120,20000,C30,HRB400,1\n",
         kExitNoLayout},
    };
    for (const auto& [text, exit] : files) {
        writeFileBytes(dir.file("c.csv"), text);
        ASSERT_EQ(cli({"--batch", dir.file("c.csv"), "--code", "2010", "--save-project",
                       dir.file("p.tsn")})
                      .exit,
                  kExitDone);
        const CliRun batch = cli({"--batch", dir.file("c.csv"), "--code", "2010"});
        const CliRun open = cli({"--open", dir.file("p.tsn")});
        EXPECT_EQ(batch.exit, exit) << text;
        EXPECT_EQ(open.exit, exit) << text;
        EXPECT_EQ(withDefaultsFilled(open.out), withDefaultsFilled(batch.out));
    }
}

// The files per column follow the batch's names, and the books carry the project's name.
TEST(ProjectCli, ReportsDrawingsAndBooksPerColumn) {
    TemporaryDirectory dir;
    writeFileBytes(dir.file("cases.csv"), kCases);
    const std::string project = dir.file("p.tsn");
    ASSERT_EQ(cli({"--batch", dir.file("cases.csv"), "--code", "2010", "--save-project", project,
                   "--project", "某综合楼"})
                  .exit,
              kExitDone);
    const CliRun open = cli({"--open", project, "--out", dir.file("o.csv"), "--reports",
                             dir.file("r"), "--dxf", dir.file("d"), "--books", dir.file("b")});
    ASSERT_EQ(open.exit, kExitDone) << open.err;
    // KZ1 starts on line 2, KZ2 on line 4 of the project's cases text.
    EXPECT_FALSE(readFileBytes(dir.file("r/KZ1-2.txt")).empty());
    EXPECT_FALSE(readFileBytes(dir.file("d/KZ2-4.dxf")).empty());
    const std::string book = readFileBytes(dir.file("b/KZ1-2.html"));
    EXPECT_NE(book.find("某综合楼"), std::string::npos);
}

// The whole column's inputs carry over from the cases file to the project and back to the
// design: the stirrup steel, each combination's shears and kind. The project designs to the
// batch's results byte for byte (no default is written out in the cases), and the kinds matter:
// the same cases without them design otherwise (a seismic grade 二 column's seismic combination
// is checked with gammaRE = 0.80 at N/(fcA) = 2600e3 / (16.7 x 250000) = 0.62, and the axial-ratio
// limit is not applied to the non-seismic one).
TEST(ProjectCli, ShearsKindsAndStirrupSteelCarryOver) {
    TemporaryDirectory dir;
    const std::string header =
        "id,l0,b,h,M0x,M0y,N,concrete,steel,hn,seismic,stirrup_steel,vx,vy,kind\n";
    const std::string rows =
        "KZ1,4200,500,500,180,90,2200,C35,HRB400,3600,2,HPB300,150,60.5,non-seismic\n"
        "KZ1,4200,500,500,120,140,2600,C35,HRB400,3600,2,HPB300,,95,seismic\n"
        "KZ2,6000,400,600,244,0,400,C30,HRB400,,,,80,,\n";
    writeFileBytes(dir.file("cases.csv"), header + rows);
    const std::string project = dir.file("p.tsn");
    ASSERT_EQ(
        cli({"--batch", dir.file("cases.csv"), "--code", "2010", "--save-project", project}).exit,
        kExitDone);
    const ProjectReading reading = loadProjectFile(project);
    ASSERT_TRUE(reading.project) << reading.error;
    const std::vector<ProjectColumn>& columns = reading.project->columns;
    ASSERT_EQ(columns.size(), 2U);
    EXPECT_EQ(columns[0].column.stirrupSteel, SteelGrade2010::HPB300);
    EXPECT_EQ(columns[1].column.stirrupSteel, SteelGrade2010::HRB400);
    struct Load {
        std::size_t column, row;
        double Vx, Vy;
        CombinationKind kind;
    };
    const Load loads[] = {{0, 0, 150.0, 60.5, CombinationKind::NonSeismic},
                          {0, 1, 0.0, 95.0, CombinationKind::Seismic},
                          {1, 0, 80.0, 0.0, CombinationKind::Unspecified}};
    for (const Load& l : loads) {
        const LoadCombination& c = columns[l.column].combinations.at(l.row);
        EXPECT_EQ(c.Vx, l.Vx);
        EXPECT_EQ(c.Vy, l.Vy);
        EXPECT_EQ(c.kind, l.kind);
    }

    const CliRun batch = cli({"--batch", dir.file("cases.csv"), "--code", "2010"});
    const CliRun open = cli({"--open", project});
    EXPECT_EQ(open.exit, batch.exit) << open.err;
    EXPECT_EQ(open.out, batch.out);
    EXPECT_NE(open.out.find("HPB300"), std::string::npos);

    // Without the kinds the seismic column is designed otherwise.
    std::string plainRows = rows;
    for (const char* kind : {",non-seismic\n", ",seismic\n"}) {
        plainRows.replace(plainRows.find(kind), std::string(kind).size(), ",\n");
    }
    writeFileBytes(dir.file("plain.csv"), header + plainRows);
    const CliRun plain = cli({"--batch", dir.file("plain.csv"), "--code", "2010"});
    EXPECT_NE(withDefaultsFilled(plain.out), withDefaultsFilled(open.out));
}

// The books of a project carry its title block as the project window's do: 工程名称,
// 子项/设计号 and the names of 设计, 校对 and 审核; --project names the project instead.
TEST(ProjectCli, BooksCarryTheProjectsTitleBlock) {
    TemporaryDirectory dir;
    writeFileBytes(dir.file("cases.csv"), kCases);
    const std::string project = dir.file("p.tsn");
    ASSERT_EQ(
        cli({"--batch", dir.file("cases.csv"), "--code", "2010", "--save-project", project}).exit,
        kExitDone);
    ProjectReading reading = loadProjectFile(project);
    ASSERT_TRUE(reading.project) << reading.error;
    reading.project->info.name = "某住宅楼";
    reading.project->info.number = "2026-017 / 1#楼";
    reading.project->info.designer = "张设计";
    reading.project->info.checker = "李校对";
    reading.project->info.reviewer = "王审核";
    ASSERT_TRUE(saveProjectFile(project, *reading.project).ok);

    const CliRun open = cli({"--open", project, "--books", dir.file("b")});
    ASSERT_EQ(open.exit, kExitDone) << open.err;
    const std::string book = readFileBytes(dir.file("b/KZ1-2.html"));
    for (const char* text : {"某住宅楼", "2026-017 / 1#楼", "张设计", "李校对", "王审核", "KZ1"}) {
        EXPECT_NE(book.find(text), std::string::npos) << text;
    }
    const CliRun named =
        cli({"--open", project, "--books", dir.file("n"), "--project", "另一工程"});
    ASSERT_EQ(named.exit, kExitDone) << named.err;
    const std::string other = readFileBytes(dir.file("n/KZ2-4.html"));
    EXPECT_NE(other.find("另一工程"), std::string::npos);
    EXPECT_EQ(other.find("某住宅楼"), std::string::npos);
    EXPECT_NE(other.find("张设计"), std::string::npos);
}

// A damaged project is refused with its name and line (exit 3) and left as it was; an output
// that is the project itself is refused before anything is written.
TEST(ProjectCli, DamagedProjectAndOutputOverTheProject) {
    TemporaryDirectory dir;
    const std::string project = dir.file("p.tsn");
    writeFileBytes(project, "{\"schema\": 1,\n\"columns\": [\n");
    const CliRun damaged = cli({"--open", project});
    EXPECT_EQ(damaged.exit, kExitFile);
    EXPECT_NE(damaged.err.find(project + "：第 3 行"), std::string::npos) << damaged.err;
    EXPECT_EQ(readFileBytes(project), "{\"schema\": 1,\n\"columns\": [\n");

    writeFileBytes(project, projectJson(Project{}));
    const CliRun over = cli({"--open", project, "--out", project});
    EXPECT_EQ(over.exit, kExitUsage) << over.err;
    EXPECT_EQ(readFileBytes(project), projectJson(Project{}));
}

// A cases file that cannot become a project: no project file is written.
TEST(ProjectCli, SaveProjectRefusesUnreadableCases) {
    TemporaryDirectory dir;
    struct Case {
        const char* text;
        int exit;
        const char* message;
    };
    const Case cases[] = {
        {"id,l0,b,h,M0x,M0y,N,concrete,steel\nKZ1,6000,400,600,2x4,120,400,C30,HRB400\n",
         kExitRejected, "line 2: M0x: \"2x4\" is not a number"},
        {"id,l0,b,h,M0x,M0y,N,concrete,steel\nKZ1,6000,400,600,244,120,400,C30,HRB400\n"
         "KZ1,6000,400,650,244,120,400,C30,HRB400\n",
         kExitRejected, "line 3: h: \"650\" differs from \"600\" on line 2"},
        {"id,l0,b\n", kExitUsage, "lacks the required column"},
    };
    for (const Case& c : cases) {
        writeFileBytes(dir.file("c.csv"), c.text);
        const CliRun run = cli(
            {"--batch", dir.file("c.csv"), "--code", "2010", "--save-project", dir.file("p.tsn")});
        EXPECT_EQ(run.exit, c.exit) << c.text;
        EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
        EXPECT_TRUE(readFileBytes(dir.file("p.tsn")).empty());
    }
    EXPECT_EQ(cli({"--batch", dir.file("none.csv"), "--code", "2010", "--save-project",
                   dir.file("p.tsn")})
                  .exit,
              kExitFile);
}

TEST(ProjectCli, UsageErrors) {
    const std::pair<std::vector<std::string>, const char*> cases[] = {
        {{"--open", "p.tsn", "--N", "5"}, "--N does not go with --open"},
        {{"--open", "p.tsn", "--batch", "x.csv"}, "--batch does not go with --open"},
        {{"--batch", "x.csv", "--save-project", "p.tsn"}, "--save-project goes with --batch and"},
        {{"--save-project", "p.tsn"}, "--save-project goes with --batch and"},
        {{"--batch", "x.csv", "--code", "2010", "--save-project", "p.tsn", "--out", "o"},
         "--out does not go with --save-project"},
    };
    for (const auto& [args, text] : cases) {
        const CliParse parse = parseCliArguments(args);
        EXPECT_EQ(parse.kind, CliParse::Kind::UsageError) << text;
        EXPECT_NE(parse.text.find(text), std::string::npos) << parse.text;
    }
}

}  // namespace
}  // namespace tessarin
