// Every input of the current-code design reaches its member the same way from its flag, from its
// column of a cases file and from its key in a project file, and the table spells them as the
// help, the cases-file format and the project-file format document them.

#include "run/gb2010_fields.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "batch/gb2010_batch.h"
#include "cli/gb2010_options.h"
#include "project/project_file.h"

namespace tessarin {
namespace {

using C = Gb2010Column;
using L = LoadCombination;
using F = Gb2010Field;

struct FieldCase {
    F field;
    const char* flag;
    const char* flagText;
    const char* column;
    const char* columnText;  // the same value as a cases file writes it
    const char* key;         // nullptr: a project file does not hold it
    const char* label;       // the 2010 dialog's
    // The value the text gives, read from the member by name (not through the table).
    bool (*holds)(const C&, const L&);
};

// Values none of which is a default, so that a field that does not reach its member fails.
const FieldCase kCases[] = {
    {F::L0, "--l0", "4200", "l0", "4200", "l0", "计算长度 l0(mm)",
     [](const C& c, const L&) { return c.l0 == 4200.0; }},
    {F::B, "--b", "450", "b", "450", "b", "截面宽度 b(mm)",
     [](const C& c, const L&) { return c.b == 450.0; }},
    {F::H, "--h", "650", "h", "650", "h", "截面高度 h(mm)",
     [](const C& c, const L&) { return c.h == 650.0; }},
    {F::LcX, "--lc-x", "3600", "lc_x", "3600", "lcX", "x向支撑点间长度 lcx(mm)",
     [](const C& c, const L&) { return c.lcX == 3600.0; }},
    {F::LcY, "--lc-y", "3300", "lc_y", "3300", "lcY", "y向支撑点间长度 lcy(mm)",
     [](const C& c, const L&) { return c.lcY == 3300.0; }},
    {F::Hn, "--hn", "3900", "hn", "3900", "hn", "柱净高 Hn(mm)",
     [](const C& c, const L&) { return c.hn == 3900.0; }},
    {F::Concrete, "--concrete", "C35", "concrete", "C35", "concrete", "混凝土强度等级",
     [](const C& c, const L&) { return c.concreteGrade == 35; }},
    {F::Steel, "--steel", "HRB500", "steel", "HRB500", "steel", "纵筋牌号",
     [](const C& c, const L&) { return c.steel == SteelGrade2010::HRB500; }},
    {F::Cover, "--cover", "30", "cover", "30", "cover", "保护层厚度 c(mm，至箍筋)",
     [](const C& c, const L&) { return c.cover == 30.0; }},
    {F::Stirrup, "--stirrup", "10", "stirrup", "10", "stirrup", "箍筋直径(mm)",
     [](const C& c, const L&) { return c.stirrup == 10.0; }},
    {F::Seismic, "--seismic", "2", "seismic", "2", "seismic", "抗震等级",
     [](const C& c, const L&) { return c.seismic == SeismicGrade::Two; }},
    {F::Structure, "--structure", "dual", "structure", "dual", "structure", "结构类型",
     [](const C& c, const L&) { return c.structure == StructureType::Dual; }},
    {F::Position, "--position", "corner", "position", "corner", "position", "柱的位置",
     [](const C& c, const L&) { return c.position == ColumnPosition::Corner; }},
    {F::StirrupSteel, "--stirrup-steel", "HPB300", "stirrup_steel", "HPB300", "stirrupSteel",
     "箍筋牌号", [](const C& c, const L&) { return c.stirrupSteel == SteelGrade2010::HPB300; }},
    {F::N, "--N", "850", "N", "850", "N", "N(kN)",
     [](const C&, const L& l) { return l.N == 850.0; }},
    {F::M2x, "--M0x", "120", "M0x", "120", "M2x", "M2x(kN.m)",
     [](const C&, const L& l) { return l.M2x == 120.0; }},
    {F::M1m2X, "--m1m2-x", "-0.5", "m1m2_x", "-0.5", "m1m2X", "M1x/M2x",
     [](const C&, const L& l) { return l.m1m2X == -0.5; }},
    {F::M2y, "--M0y", "75", "M0y", "75", "M2y", "M2y(kN.m)",
     [](const C&, const L& l) { return l.M2y == 75.0; }},
    {F::M1m2Y, "--m1m2-y", "0.25", "m1m2_y", "0.25", "m1m2Y", "M1y/M2y",
     [](const C&, const L& l) { return l.m1m2Y == 0.25; }},
    {F::Vx, "--V-x", "-60", "vx", "-60", "Vx", "Vx(kN)",
     [](const C&, const L& l) { return l.Vx == -60.0; }},
    {F::Vy, "--V-y", "45", "vy", "45", "Vy", "Vy(kN)",
     [](const C&, const L& l) { return l.Vy == 45.0; }},
    // The command line says yes, a cases file seismic.
    {F::Kind, "--seismic-combination", "yes", "kind", "seismic", "kind", "类别",
     [](const C&, const L& l) { return l.kind == CombinationKind::Seismic; }},
};

TEST(Gb2010Fields, EveryInputHasItsRowHere) {
    // A new entry of the table needs its row in kCases.
    ASSERT_EQ(gb2010Fields().size(), std::size(kCases));
    for (const FieldCase& c : kCases) {
        SCOPED_TRACE(c.flag);
        const Gb2010FieldEntry* entry = gb2010FieldEntry(c.field);
        ASSERT_NE(entry, nullptr);
        EXPECT_STREQ(entry->flag, c.flag);
        EXPECT_STREQ(entry->column, c.column);
        EXPECT_STREQ(entry->label, c.label);
        EXPECT_STREQ(flagForGb2010Field(c.field), c.flag);
        if (c.key != nullptr) {
            EXPECT_STREQ(entry->key, c.key);
            EXPECT_GE(entry->projectPlace, 0);
        } else {
            EXPECT_LT(entry->projectPlace, 0);
        }
    }
}

TEST(Gb2010Fields, FlagReachesItsMember) {
    for (const FieldCase& c : kCases) {
        SCOPED_TRACE(c.flag);
        Gb2010CliOptions options;
        ASSERT_EQ(readGb2010Flags({{c.flag, c.flagText}}, options), "");
        EXPECT_TRUE(c.holds(options.input.column, options.input.combinations.front()));
        // The defaults do not hold the value: the check above can fail.
        EXPECT_FALSE(c.holds(Gb2010Column{}, LoadCombination{}));
    }
}

TEST(Gb2010Fields, CasesColumnReachesItsMember) {
    const std::string path = testing::TempDir() + "/fields_cases.csv";
    for (const FieldCase& c : kCases) {
        SCOPED_TRACE(c.column);
        // The required columns with the defaults of the design, the tested one set.
        std::map<std::string, std::string> row = {
            {"l0", "6000"}, {"b", "400"}, {"h", "600"},        {"M0x", "244"},
            {"M0y", "120"}, {"N", "400"}, {"concrete", "C30"}, {"steel", "HRB400"}};
        row[c.column] = c.columnText;
        std::string header = "id";
        std::string line = "KZ1";
        for (const auto& [name, text] : row) {
            header += "," + name;
            line += "," + text;
        }
        std::ofstream(path, std::ios::binary) << header << "\n" << line << "\n";
        const CasesProject read = readCasesProject(path);
        ASSERT_TRUE(read.project) << read.error;
        const ProjectColumn& column = read.project->columns.at(0);
        EXPECT_TRUE(c.holds(column.column, column.combinations.at(0)));
        // And back: the project's cases file writes the same text in that column.
        const std::string csv = projectCasesCsv(*read.project);
        const std::size_t end = csv.find('\n');
        const auto cells = [](const std::string& text) {
            std::vector<std::string> list(1);
            for (const char ch : text) {
                if (ch == ',') {
                    list.emplace_back();
                } else {
                    list.back().push_back(ch);
                }
            }
            return list;
        };
        const std::vector<std::string> names = cells(csv.substr(0, end));
        const std::vector<std::string> values = cells(csv.substr(end + 1, csv.size() - end - 2));
        ASSERT_EQ(names.size(), values.size());
        for (std::size_t i = 0; i < names.size(); ++i) {
            if (names[i] == c.column) {
                EXPECT_EQ(values[i], c.columnText);
            }
        }
    }
    std::filesystem::remove(path);
}

TEST(Gb2010Fields, ProjectKeyRoundTrips) {
    for (const FieldCase& c : kCases) {
        if (c.key == nullptr) continue;
        SCOPED_TRACE(c.key);
        Gb2010CliOptions options;
        ASSERT_EQ(readGb2010Flags({{c.flag, c.flagText}}, options), "");
        Project project;
        project.columns.push_back(
            {"KZ1", options.input.column, {options.input.combinations.front()}});
        const std::string json = projectJson(project);
        EXPECT_NE(json.find('"' + std::string(c.key) + "\": "), std::string::npos) << json;
        const ProjectReading read = readProjectText(json, "a.tsn");
        ASSERT_TRUE(read.project) << read.error;
        const ProjectColumn& column = read.project->columns.at(0);
        EXPECT_TRUE(c.holds(column.column, column.combinations.at(0)));
        EXPECT_EQ(*read.project, project);
    }
}

TEST(Gb2010Fields, CasesFileColumnsInTheirDocumentedOrder) {
    // The order of docs/batch: results repeat the inputs in it.
    const char* const expected[] = {"id",      "l0",      "b",         "h",        "M0x",
                                    "M0y",     "N",       "concrete",  "steel",    "m1m2_x",
                                    "m1m2_y",  "lc_x",    "lc_y",      "hn",       "cover",
                                    "stirrup", "seismic", "structure", "position", "stirrup_steel",
                                    "vx",      "vy",      "kind"};
    const auto names = gb2010InputNames();
    ASSERT_EQ(names.size(), std::size(expected));
    for (std::size_t i = 0; i < names.size(); ++i) EXPECT_STREQ(names[i], expected[i]) << i;
    EXPECT_EQ(gb2010RequiredInputs(), 9u);
}

TEST(Gb2010Fields, EveryFlagOfItsOwnNeedsTheCode) {
    // A flag only the current code reads must be refused without --code 2010.
    for (const auto& [flag, help] : gb2010FlagHelps()) {
        bool listed = false;
        for (const char* name : kGb2010OnlyFlags) listed = listed || std::string(name) == flag;
        EXPECT_TRUE(listed) << flag;
        EXPECT_NE(std::string(help).find("with --code 2010"), std::string::npos) << flag;
    }
}

// The rejection of a word names the flag or the column and what it takes.
struct WordCase {
    const char* flag;
    const char* text;
    const char* message;
};
const WordCase kWordCases[] = {
    {"--concrete", "C33",
     "--concrete: \"C33\" is not a current-code concrete grade; use C20 to C80 in steps of 5"},
    {"--position", "frame-supporting",
     "--position: \"frame-supporting\" is not a column position; use middle, edge or corner (a "
     "frame-supporting column is --structure frame-supported)"},
    {"--seismic-combination", "seismic", "--seismic-combination: \"seismic\" is not yes or no"},
    {"--hn", "3m", "--hn: \"3m\" is not a number"},
};

TEST(Gb2010Fields, FlagRejections) {
    for (const WordCase& c : kWordCases) {
        Gb2010CliOptions options;
        EXPECT_EQ(readGb2010Flags({{c.flag, c.text}}, options), c.message);
    }
}

}  // namespace
}  // namespace tessarin
