#include "project/project_file.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <string>

#include "tests/support/scratch_directory.h"

namespace tessarin {
namespace {

// A project with every kind of field: Chinese names, optional lengths given and left out, a
// seismic column, negative and fractional numbers.
Project sampleProject() {
    Project project;
    project.info = {"某住宅楼",        "2026-017 / 1#楼",   "张工",          "李工", "王工",
                    SeismicGrade::Two, StructureType::Dual, BarPreferences{}};
    ProjectColumn kz1;
    kz1.mark = "KZ1";
    kz1.column.b = 500;
    kz1.column.h = 600;
    kz1.column.l0 = 4200;
    kz1.column.hn = 3600;
    kz1.column.concreteGrade = 35;
    kz1.column.seismic = SeismicGrade::Two;
    kz1.column.structure = StructureType::Dual;
    kz1.combinations = {{2500, 180.5, -0.35, 95, 1}, {1200, -60, 0.5, 40.25, -1}};
    ProjectColumn kz2;
    kz2.mark = "KZ-2a \"角柱\"";
    kz2.column.lcX = 5000;
    kz2.column.lcY = 4800;
    kz2.column.cover = 30;
    kz2.column.stirrup = 10;
    kz2.column.steel = SteelGrade2010::HRB500;
    kz2.column.position = ColumnPosition::Corner;
    kz2.combinations = {{400, 244, 1, 120, 1}};
    project.columns = {kz1, kz2};
    return project;
}

TEST(ProjectFile, ChineseProjectRoundTripsByteForByte) {
    const Project project = sampleProject();
    const std::string text = projectJson(project);
    const ProjectReading reading = readProjectText(text, "a.tsn");
    ASSERT_TRUE(reading.project) << reading.error;
    EXPECT_TRUE(*reading.project == project);
    EXPECT_EQ(projectJson(*reading.project), text);
    // Chinese stays readable UTF-8 in the file, never \u escapes.
    EXPECT_NE(text.find("\"name\": \"某住宅楼\""), std::string::npos);
    EXPECT_NE(text.find("\"mark\": \"KZ-2a \\\"角柱\\\"\""), std::string::npos);
    // One combination per line.
    EXPECT_NE(
        text.find("{\"N\": 1200, \"M2x\": -60, \"m1m2X\": 0.5, \"M2y\": 40.25, \"m1m2Y\": -1}"),
        std::string::npos);
}

// What another program may write: only the required fields; the column's seismic data then come
// from the project's, the rest from the defaults of a new column. A byte-order mark is passed
// over.
TEST(ProjectFile, ReadsAMinimalFileWithDefaults) {
    const std::string text =
        "\xEF\xBB\xBF{\"schema\": 1, \"project\": {\"seismic\": \"3\"}, \"columns\": [\n"
        "{\"mark\": \"KZ1\", \"b\": 400, \"h\": 500, \"l0\": 3000, \"concrete\": \"C30\",\n"
        " \"steel\": \"HRB400\", \"combinations\": [{\"N\": 800, \"M2x\": 100, \"M2y\": 50}]}]}";
    const ProjectReading reading = readProjectText(text, "x.tsn");
    ASSERT_TRUE(reading.project) << reading.error;
    const ProjectColumn& column = reading.project->columns.at(0);
    EXPECT_EQ(column.column.seismic, SeismicGrade::Three);
    EXPECT_EQ(column.column.structure, StructureType::Frame);
    EXPECT_EQ(column.column.stirrup, 8.0);
    EXPECT_FALSE(column.column.cover);
    EXPECT_FALSE(column.column.lcX);
    ASSERT_EQ(column.combinations.size(), 1U);
    EXPECT_EQ(column.combinations[0].m1m2X, 1.0);
    EXPECT_EQ(column.combinations[0].M2y, 50.0);
}

// Every refusal names the file, the line and the field, and says what is wrong.
TEST(ProjectFile, RefusesDamagedUnknownAndNewerFiles) {
    const std::string column =
        "{\"mark\": \"KZ1\", \"b\": 400, \"h\": 500, \"l0\": 3000, \"concrete\": \"C30\", "
        "\"steel\": \"HRB400\", \"combinations\": []}";
    struct Case {
        std::string text;
        const char* message;
    };
    const Case cases[] = {
        {"{\"schema\": 3, \"columns\": []}",
         "p.tsn：第 1 行：schema：文件的格式版本为 3，本程序只能读取版本 2"},
        {"{\"columns\": []}", "p.tsn：第 1 行：不是 Tessarin 工程文件"},
        {"{\"schema\": 1.5, \"columns\": []}", "schema：应为正整数的格式版本"},
        {"{\"schema\": 1}", "p.tsn：第 1 行：columns：缺少此字段"},
        {"{\"schema\": 1, \"colums\": []}", "colums：本程序不认识此字段"},
        {"{\"schema\": 1,\n \"columns\": [\n" + column + ",\n" + column + "]}",
         "p.tsn：第 4 行：columns[1].mark：构件编号 \"KZ1\" 与 columns[0] 重复"},
        {"{\"schema\": 1, \"columns\": [{\"mark\": \"K\", \"b\": \"400\"}]}",
         "columns[0].b：应为数值"},
        {"{\"schema\": 1, \"columns\": [{\"mark\": \"K\", \"b\": 400, \"h\": 500, \"l0\": 1, "
         "\"concrete\": \"C15\", \"steel\": \"HRB400\", \"combinations\": []}]}",
         "columns[0].concrete：\"C15\" 不是可用的混凝土强度等级"},
        {"{\"schema\": 1, \"columns\": [{\"mark\": \"K\", \"b\": 400, \"h\": 500, \"l0\": 1, "
         "\"concrete\": \"C30\", \"steel\": \"HRB400\", \"combinations\": [{\"N\": 1, "
         "\"M2x\": 1}]}]}",
         "columns[0].combinations[0].M2y：缺少此字段"},
        {"{\"schema\": 1, \"project\": {\"seismic\": \"5\"}, \"columns\": []}",
         "project.seismic：\"5\" 不是可用的值"},
        {"{\"schema\": 1, \"project\": {\"code\": \"GB 50010-2002\"}, \"columns\": []}",
         "project.code"},
        {"{\"schema\": 1,\n\"columns\": [}",
         "p.tsn：第 2 行第 13 列：文件已损坏或不是 JSON：无法识别的值"},
    };
    for (const Case& c : cases) {
        const ProjectReading reading = readProjectText(c.text, "p.tsn");
        EXPECT_FALSE(reading.project) << c.text;
        EXPECT_NE(reading.error.find(c.message), std::string::npos)
            << c.text << "\n -> " << reading.error;
    }
}

// The whole column's inputs: the shears and the kind of each combination and the stirrup steel
// are kept; each is written only where it differs from the default, so a file of defaults (and
// one written before they were kept) reads and writes back unchanged.
TEST(ProjectFile, ShearsKindsAndStirrupSteelRoundTrip) {
    Project project = sampleProject();
    ProjectColumn& kz1 = project.columns[0];
    kz1.column.stirrupSteel = SteelGrade2010::HPB300;
    kz1.combinations[0].Vx = 150.0;
    kz1.combinations[0].Vy = -80.5;
    kz1.combinations[0].kind = CombinationKind::Seismic;
    kz1.combinations[1].kind = CombinationKind::NonSeismic;
    const std::string text = projectJson(project);
    const ProjectReading reading = readProjectText(text, "v.tsn");
    ASSERT_TRUE(reading.project) << reading.error;
    EXPECT_TRUE(*reading.project == project);
    EXPECT_EQ(projectJson(*reading.project), text);
    struct Line {
        const char* text;
        bool present;
    };
    const Line lines[] = {
        {"{\"N\": 2500, \"M2x\": 180.5, \"m1m2X\": -0.35, \"M2y\": 95, \"m1m2Y\": 1, "
         "\"Vx\": 150, \"Vy\": -80.5, \"kind\": \"seismic\"}",
         true},
        {"{\"N\": 1200, \"M2x\": -60, \"m1m2X\": 0.5, \"M2y\": 40.25, \"m1m2Y\": -1, "
         "\"kind\": \"non-seismic\"}",
         true},
        {"\"stirrup\": 8,\n      \"stirrupSteel\": \"HPB300\",", true},
        // KZ2 keeps the defaults: no shears, no kind, HRB400 stirrups, none written.
        {"{\"N\": 400, \"M2x\": 244, \"m1m2X\": 1, \"M2y\": 120, \"m1m2Y\": 1}", true},
        {"\"stirrupSteel\": \"HRB400\"", false},
    };
    for (const Line& line : lines) {
        EXPECT_EQ(text.find(line.text) != std::string::npos, line.present) << line.text;
    }
    // Changing any one of them makes another project.
    Project other = project;
    other.columns[0].combinations[0].kind = CombinationKind::Unspecified;
    EXPECT_FALSE(other == project);
    other = project;
    other.columns[0].combinations[0].Vy = 80.5;
    EXPECT_FALSE(other == project);
    other = project;
    other.columns[0].column.stirrupSteel = SteelGrade2010::HRB400;
    EXPECT_FALSE(other == project);

    // A file without them takes no shear, an unspecified kind and HRB400 stirrups.
    const std::string older =
        "{\"schema\": 1, \"columns\": [{\"mark\": \"KZ1\", \"b\": 400, \"h\": 500, "
        "\"l0\": 3000, \"concrete\": \"C30\", \"steel\": \"HRB335\", \"combinations\": "
        "[{\"N\": 800, \"M2x\": 100, \"M2y\": 50}]}]}";
    const ProjectReading old = readProjectText(older, "old.tsn");
    ASSERT_TRUE(old.project) << old.error;
    const ProjectColumn& column = old.project->columns.at(0);
    EXPECT_EQ(column.column.stirrupSteel, SteelGrade2010::HRB400);
    EXPECT_EQ(column.combinations.at(0).Vx, 0.0);
    EXPECT_EQ(column.combinations.at(0).Vy, 0.0);
    EXPECT_EQ(column.combinations.at(0).kind, CombinationKind::Unspecified);
}

// A wrong kind or stirrup steel refuses the file, naming the field.
TEST(ProjectFile, RefusesAnUnknownKindOrStirrupSteel) {
    const std::string head =
        "{\"schema\": 1, \"columns\": [{\"mark\": \"K\", \"b\": 400, \"h\": 500, "
        "\"l0\": 3000, \"concrete\": \"C30\", \"steel\": \"HRB400\", ";
    struct Case {
        std::string text;
        const char* message;
    };
    const Case cases[] = {
        {head + "\"combinations\": [{\"N\": 1, \"M2x\": 1, \"M2y\": 1, \"kind\": \"wind\"}]}]}",
         "columns[0].combinations[0].kind：\"wind\" 不是可用的值（可用：seismic、non-seismic）"},
        {head + "\"combinations\": [{\"N\": 1, \"M2x\": 1, \"M2y\": 1, \"Vx\": \"10\"}]}]}",
         "columns[0].combinations[0].Vx：应为数值"},
        {head + "\"stirrupSteel\": \"Q235\", \"combinations\": []}]}",
         "columns[0].stirrupSteel：\"Q235\" 不是可用的钢筋牌号"},
    };
    for (const Case& c : cases) {
        const ProjectReading reading = readProjectText(c.text, "p.tsn");
        EXPECT_FALSE(reading.project) << c.text;
        EXPECT_NE(reading.error.find(c.message), std::string::npos)
            << c.text << "\n -> " << reading.error;
    }
}

// A shear of -0 differs from the default +0 in its sign, so it is written and reads back as -0
// (std::to_chars writes -0.0 as "-0"); a file of it saves back byte for byte.
TEST(ProjectFile, NegativeZeroShearIsKept) {
    Project project = sampleProject();
    project.columns[1].combinations[0].Vy = -0.0;
    const std::string text = projectJson(project);
    EXPECT_NE(text.find("{\"N\": 400, \"M2x\": 244, \"m1m2X\": 1, \"M2y\": 120, \"m1m2Y\": 1, "
                        "\"Vy\": -0}"),
              std::string::npos)
        << text;
    const ProjectReading reading = readProjectText(text, "z.tsn");
    ASSERT_TRUE(reading.project) << reading.error;
    EXPECT_TRUE(std::signbit(reading.project->columns[1].combinations[0].Vy));
    EXPECT_EQ(projectJson(*reading.project), text);
}

// Where a file has several faults, the one named is the first in the file's order of fields
// (b, h, l0, lcX, lcY, hn, concrete, steel, cover, stirrup, stirrupSteel, seismic, structure,
// position; N, M2x, m1m2X, M2y, m1m2Y, Vx, Vy, kind), except that a grade word (concrete, steel,
// stirrup steel) is looked up only after every field was read: a wrong grade is named after a
// wrong seismic grade or position. A key the program does not know is named before any value.
TEST(ProjectFile, NamesTheFirstFaultInTheOrderOfTheFields) {
    const std::string head = "{\"schema\": 2, \"columns\": [{\"mark\": \"K\", ";
    const std::string rest = "\"combinations\": []}]}";
    struct Case {
        std::string fields;
        const char* message;
    };
    const Case cases[] = {
        {"\"b\": \"4\", \"h\": 5, \"l0\": 3, \"concrete\": \"C1\", \"steel\": \"HRB400\", ",
         "columns[0].b：应为数值"},
        {"\"b\": 4, \"h\": 5, \"l0\": 3, \"concrete\": \"C1\", \"steel\": \"S\", "
         "\"seismic\": \"5\", ",
         "columns[0].seismic：\"5\" 不是可用的值（可用：none、1、2、3、4）"},
        {"\"b\": 4, \"h\": 5, \"l0\": 3, \"concrete\": \"C30\", \"steel\": \"HRB400\", "
         "\"stirrupSteel\": \"Q235\", \"position\": \"edge-ish\", ",
         "columns[0].position：\"edge-ish\" 不是可用的值（可用：middle、corner）"},
        {"\"b\": 4, \"h\": 5, \"l0\": 3, \"concrete\": \"C1\", \"steel\": \"S\", "
         "\"position\": 1, ",
         "columns[0].position：应为字符串"},
        {"\"b\": 4, \"h\": 5, \"l0\": 3, \"concrete\": \"C1\", \"steel\": \"S\", "
         "\"stirrupSteel\": \"Q\", ",
         "columns[0].concrete：\"C1\" 不是可用的混凝土强度等级（C20～C80）"},
        {"\"b\": 4, \"h\": 5, \"l0\": 3, \"concrete\": \"C30\", \"steel\": \"S\", "
         "\"stirrupSteel\": \"Q\", ",
         "columns[0].steel：\"S\" 不是可用的钢筋牌号（HPB300、HRB335、HRB400、HRB500）"},
        {"\"b\": 4, \"h\": 5, \"l0\": 3, \"concrete\": \"C1\", \"steel\": \"S\", "
         "\"lcz\": 3, ",
         "columns[0].lcz：本程序不认识此字段"},
        {"\"h\": 5, \"l0\": 3, \"concrete\": \"C1\", ", "columns[0].b：缺少此字段"},
        {"\"b\": 4, \"h\": 5, \"l0\": 3, \"steel\": \"S\", ", "columns[0].concrete：缺少此字段"},
    };
    for (const Case& c : cases) {
        std::string text = head;
        text += c.fields;
        text += rest;
        const ProjectReading reading = readProjectText(text, "p.tsn");
        EXPECT_FALSE(reading.project) << text;
        EXPECT_NE(reading.error.find(c.message), std::string::npos)
            << text << "\n -> " << reading.error;
    }
    // In a combination: the required N before a wrong kind; an unknown key before both.
    const std::string column =
        head + "\"b\": 4, \"h\": 5, \"l0\": 3, \"concrete\": \"C30\", \"steel\": \"HRB400\", ";
    const Case loads[] = {
        {"{\"M2x\": 1, \"M2y\": 1, \"kind\": \"wind\"}",
         "columns[0].combinations[0].N：缺少此字段"},
        {"{\"N\": 1, \"M2x\": 1, \"M2y\": 1, \"Vy\": true, \"kind\": \"wind\"}",
         "columns[0].combinations[0].Vy：应为数值"},
        {"{\"N\": 1, \"M2x\": 1, \"M2y\": 1, \"kind\": \"wind\", \"Vz\": 1}",
         "columns[0].combinations[0].Vz：本程序不认识此字段"},
        {"{\"N\": 1, \"M2x\": 1, \"M2y\": 1, \"kind\": \"\"}",
         "columns[0].combinations[0].kind：\"\" 不是可用的值（可用：seismic、non-seismic）"},
    };
    for (const Case& c : loads) {
        std::string text = column;
        text += "\"combinations\": [";
        text += c.fields;
        text += "]}]}";
        const ProjectReading reading = readProjectText(text, "p.tsn");
        EXPECT_FALSE(reading.project) << text;
        EXPECT_NE(reading.error.find(c.message), std::string::npos)
            << text << "\n -> " << reading.error;
    }
}

// The project's bar preferences, and a column with its own: both come back; the column that
// keeps the project's writes none of its own, and follows the project's when read.
TEST(ProjectFile, BarPreferencesRoundTrip) {
    Project project = sampleProject();
    project.info.barPreferences.diameters = {16, 18, 20, 22, 25};
    project.info.barPreferences.smallestMiddleBar = 16;
    project.columns[0].column.barPreferences = project.info.barPreferences;
    BarPreferences own;
    own.maximumSizeStep = 10;
    own.middleBarsMayDiffer = false;
    own.sameBarsOnSquare = false;
    own.preferredDiameter = 20;
    project.columns[1].column.barPreferences = own;
    const std::string text = projectJson(project);
    const ProjectReading reading = readProjectText(text, "a.tsn");
    ASSERT_TRUE(reading.project) << reading.error;
    EXPECT_TRUE(*reading.project == project);
    EXPECT_EQ(projectJson(*reading.project), text);
    EXPECT_NE(text.find("\"schema\": 2"), std::string::npos);
    EXPECT_NE(text.find("\"diameters\": [16, 18, 20, 22, 25],\n      \"smallestMiddleBar\": 16,"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("\"middleBarsMayDiffer\": false"), std::string::npos);
    EXPECT_NE(text.find("\"preferredDiameter\": 20"), std::string::npos);
    EXPECT_NE(text.find("\"preferredDiameter\": null"), std::string::npos);
    // Two objects: the project's and KZ-2a's.
    std::size_t count = 0;
    for (std::size_t at = text.find("\"barPreferences\""); at != std::string::npos;
         at = text.find("\"barPreferences\"", at + 1)) {
        ++count;
    }
    EXPECT_EQ(count, 2U);
}

// Preferences a file may not give, each refused with the field and why; a file of the first
// version, without preferences, opens with the defaults.
TEST(ProjectFile, RefusesUnusableBarPreferences) {
    const std::string column =
        "{\"mark\": \"KZ1\", \"b\": 400, \"h\": 500, \"l0\": 3000, \"concrete\": \"C30\", "
        "\"steel\": \"HRB400\", \"combinations\": []}";
    struct Case {
        std::string preferences;
        const char* message;
    };
    const Case cases[] = {
        {"{\"diameters\": [12, 13]}", "project.barPreferences：可用直径：13 不是可用的钢筋直径"},
        {"{\"diameters\": \"12,14\"}", "project.barPreferences.diameters：应为数组"},
        {"{\"diameters\": [12, 12.5]}", "可用直径：\"12.5\" 不是钢筋直径"},
        {"{\"diameters\": []}", "可用直径：至少给出一种直径"},
        {"{\"maximumSizeStep\": 11}", "角筋与中部筋最大级差：应为 0～10 档"},
        {"{\"middleBarsMayDiffer\": \"yes\"}", "middleBarsMayDiffer：应为 true 或 false"},
        {"{\"preferredDiameter\": 28, \"diameters\": [20, 25]}", "优先直径：28 不在可用直径之中"},
        {"{\"smallestMiddle\": 14}", "smallestMiddle：本程序不认识此字段"},
    };
    for (const Case& c : cases) {
        const std::string text =
            "{\"schema\": 2, \"project\": {\"barPreferences\": " + c.preferences +
            "}, \"columns\": [" + column + "]}";
        const ProjectReading reading = readProjectText(text, "p.tsn");
        EXPECT_FALSE(reading.project) << text;
        EXPECT_NE(reading.error.find(c.message), std::string::npos)
            << text << "\n -> " << reading.error;
    }
    const ProjectReading old =
        readProjectText("{\"schema\": 1, \"columns\": [" + column + "]}", "p.tsn");
    ASSERT_TRUE(old.project) << old.error;
    EXPECT_TRUE(old.project->columns[0].column.barPreferences == BarPreferences{});
}

// A damaged file is refused by name and stays on disk exactly as it was.
TEST(ProjectFile, DamagedFileIsLeftUntouched) {
    TemporaryDirectory dir;
    const std::string path = dir.file("坏.tsn");
    const std::string damaged = projectJson(sampleProject()).substr(0, 300);
    writeFileBytes(path, damaged);
    const ProjectReading reading = loadProjectFile(path);
    EXPECT_FALSE(reading.project);
    EXPECT_EQ(reading.error.rfind(path + "：第 ", 0), 0U) << reading.error;
    EXPECT_EQ(readFileBytes(path), damaged);
    EXPECT_NE(loadProjectFile(dir.file("none.tsn")).error.find("文件不存在"), std::string::npos);
    EXPECT_NE(loadProjectFile(dir.path()).error.find("不是普通文件"), std::string::npos);
}

// Saved whole and read back; saving again over it replaces it; a link is never written through.
TEST(ProjectFile, SavesWholeAndNeverThroughALink) {
    TemporaryDirectory dir;
    const std::string path = dir.file("项目.tsn");
    Project project = sampleProject();
    ASSERT_TRUE(saveProjectFile(path, project).ok);
    // Read and written again: the same bytes on disk.
    const std::string first = readFileBytes(path);
    const ProjectReading read = loadProjectFile(path);
    ASSERT_TRUE(read.project) << read.error;
    ASSERT_TRUE(saveProjectFile(dir.file("again.tsn"), *read.project).ok);
    EXPECT_EQ(readFileBytes(dir.file("again.tsn")), first);
    project.info.name = "改名";
    ASSERT_TRUE(saveProjectFile(path, project).ok);
    EXPECT_EQ(loadProjectFile(path).project->info.name, "改名");

    const std::string target = dir.file("target.txt");
    writeFileBytes(target, "keep");
    const std::string link = dir.file("link.tsn");
    ASSERT_EQ(::symlink(target.c_str(), link.c_str()), 0);
    const FileResult refused = saveProjectFile(link, project);
    EXPECT_FALSE(refused.ok);
    EXPECT_NE(saveFailureText(refused).find("符号链接"), std::string::npos);
    EXPECT_EQ(readFileBytes(target), "keep");

    const FileResult missing = saveProjectFile(dir.file("no/such/p.tsn"), project);
    EXPECT_FALSE(missing.ok);
    EXPECT_EQ(missing.fileName, dir.file("no/such/p.tsn"));
}

}  // namespace
}  // namespace tessarin
