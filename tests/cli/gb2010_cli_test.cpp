#include <gtest/gtest.h>

#include <sstream>

#include "cli/cli_main.h"
#include "cli/cli_options.h"
#include "cli/console_host.h"
#include "tests/support/scratch_directory.h"
#include "text/gbk_text.h"

namespace tessarin {
namespace {

TEST(Gb2010Cli, EveryFlagReachesItsField) {
    const CliParse p = parseCliArguments(
        {"--code",   "2010",       "--l0",      "4500",       "--b",       "450",     "--h",
         "550",      "--M0x",      "180",       "--M0y",      "90.5",      "--N",     "1200",
         "--m1m2-x", "-0.5",       "--m1m2-y",  "0.25",       "--lc-x",    "5000",    "--lc-y=4000",
         "--cover",  "25",         "--stirrup", "10",         "--seismic", "3",       "--structure",
         "dual",     "--position", "corner",    "--concrete", "C60",       "--steel", "HRB500",
         "--json",   "--book",     "kz1.html",  "--project",  "P",         "--id",    "KZ1",
         "--hn",     "3600"});
    ASSERT_EQ(p.kind, CliParse::Kind::Gb2010) << p.text;
    const Gb2010Column& c = p.gb2010.input.column;
    const LoadCombination& l = p.gb2010.input.combinations.at(0);
    EXPECT_EQ(c.l0, 4500.0);
    EXPECT_EQ(c.b, 450.0);
    EXPECT_EQ(c.h, 550.0);
    EXPECT_EQ(l.M2x, 180.0);
    EXPECT_EQ(l.M2y, 90.5);
    EXPECT_EQ(l.N, 1200.0);
    EXPECT_EQ(l.m1m2X, -0.5);
    EXPECT_EQ(l.m1m2Y, 0.25);
    EXPECT_EQ(c.lcX, 5000.0);
    EXPECT_EQ(c.lcY, 4000.0);
    EXPECT_EQ(c.hn, 3600.0);
    EXPECT_EQ(c.cover, 25.0);
    EXPECT_EQ(c.stirrup, 10.0);
    EXPECT_EQ(c.seismic, SeismicGrade::Three);
    EXPECT_EQ(c.structure, StructureType::Dual);
    EXPECT_EQ(c.position, ColumnPosition::Corner);
    EXPECT_EQ(c.concreteGrade, 60);
    EXPECT_EQ(c.steel, SteelGrade2010::HRB500);
    EXPECT_TRUE(p.gb2010.json);
    EXPECT_EQ(p.gb2010.book, "kz1.html");
    EXPECT_EQ(p.gb2010.project, "P");
    EXPECT_EQ(p.gb2010.columnId, "KZ1");
}

// --help offers "middle (or edge), or corner": each word is taken, for the class of columns it
// belongs to (GB 50011 table 6.3.7-1); other words are refused. A frame-supporting column is a
// structure of its own (lower axial-ratio limits than a corner column's), and the message says so.
TEST(Gb2010Cli, PositionTakesEveryWordTheHelpOffers) {
    const std::pair<const char*, ColumnPosition> words[] = {{"middle", ColumnPosition::Middle},
                                                            {"edge", ColumnPosition::Middle},
                                                            {"corner", ColumnPosition::Corner}};
    for (const auto& [word, position] : words) {
        const CliParse p = parseCliArguments({"--code", "2010", "--position", word});
        ASSERT_EQ(p.kind, CliParse::Kind::Gb2010) << word << ": " << p.text;
        EXPECT_EQ(p.gb2010.input.column.position, position) << word;
    }
    const CliParse side = parseCliArguments({"--code", "2010", "--position", "side"});
    EXPECT_EQ(side.kind, CliParse::Kind::UsageError);
    EXPECT_EQ(side.text,
              "--position: \"side\" is not a column position; use middle, edge or corner")
        << side.text;
    const CliParse supporting =
        parseCliArguments({"--code", "2010", "--position", "frame-supporting"});
    EXPECT_EQ(supporting.kind, CliParse::Kind::UsageError);
    EXPECT_NE(supporting.text.find("use middle, edge or corner (a frame-supporting column is "
                                   "--structure frame-supported)"),
              std::string::npos)
        << supporting.text;
}

// The shear and stirrup flags, and what they refuse.
TEST(Gb2010Cli, ShearKindAndStirrupSteelFlags) {
    const CliParse p =
        parseCliArguments({"--code", "2010", "--V-x", "-150.5", "--V-y", "80", "--stirrup-steel",
                           "HPB300", "--seismic-combination", "yes"});
    ASSERT_EQ(p.kind, CliParse::Kind::Gb2010) << p.text;
    const LoadCombination& l = p.gb2010.input.combinations.at(0);
    EXPECT_EQ(l.Vx, -150.5);
    EXPECT_EQ(l.Vy, 80.0);
    EXPECT_EQ(l.kind, CombinationKind::Seismic);
    EXPECT_EQ(p.gb2010.input.column.stirrupSteel, SteelGrade2010::HPB300);
    EXPECT_EQ(parseCliArguments({"--code", "2010", "--seismic-combination", "no"})
                  .gb2010.input.combinations.at(0)
                  .kind,
              CombinationKind::NonSeismic);
    EXPECT_EQ(parseCliArguments({"--code", "2010"}).gb2010.input.combinations.at(0).kind,
              CombinationKind::Unspecified);
    const std::pair<std::vector<std::string>, std::string> refused[] = {
        {{"--code", "2010", "--seismic-combination", "maybe"},
         "--seismic-combination: \"maybe\" is not yes or no"},
        {{"--code", "2010", "--stirrup-steel", "HPB235"},
         "--stirrup-steel: \"HPB235\" is not a current-code steel grade; use one of HPB300, "
         "HRB335, HRB400, HRB500"},
        {{"--code", "2010", "--V-x", "1,5"}, "--V-x: \"1,5\" is not a number"},
        {{"--V-y", "10"}, "--V-y goes with --code 2010"},
    };
    for (const auto& [arguments, message] : refused) {
        const CliParse r = parseCliArguments(arguments);
        EXPECT_EQ(r.kind, CliParse::Kind::UsageError);
        EXPECT_EQ(r.text, message);
    }
}

// The bar preferences' flags, each to its field, and the texts they refuse.
TEST(Gb2010Cli, BarPreferenceFlags) {
    const CliParse p =
        parseCliArguments({"--code", "2010", "--bars", "25, 16，20 18", "--min-middle-bar", "16",
                           "--max-size-step", "1", "--middle-bars-may-differ", "no",
                           "--square-same-bars", "no", "--preferred-bar", "20"});
    ASSERT_EQ(p.kind, CliParse::Kind::Gb2010) << p.text;
    const BarPreferences& b = p.gb2010.input.column.barPreferences;
    EXPECT_EQ(b.diameters, (std::vector<int>{16, 18, 20, 25}));  // sorted
    EXPECT_EQ(b.smallestMiddleBar, 16);
    EXPECT_EQ(b.maximumSizeStep, 1);
    EXPECT_FALSE(b.middleBarsMayDiffer);
    EXPECT_FALSE(b.sameBarsOnSquare);
    EXPECT_EQ(b.preferredDiameter, 20);
    EXPECT_EQ(parseCliArguments({"--code", "2010", "--preferred-bar", "none"})
                  .gb2010.input.column.barPreferences.preferredDiameter,
              0);
    const std::pair<std::vector<std::string>, std::string> refused[] = {
        {{"--code", "2010", "--bars", "16,x"},
         "--bars: \"x\" 不是钢筋直径（整数毫米，以逗号分隔）"},
        {{"--code", "2010", "--bars", "16,16"}, "--bars: 直径重复"},
        {{"--code", "2010", "--bars", ","}, "--bars: 至少给出一种直径"},
        {{"--code", "2010", "--max-size-step", "-1"}, "--max-size-step: \"-1\" 不是 0～10 的整数"},
        {{"--code", "2010", "--min-middle-bar", "0"},
         "--min-middle-bar: \"0\" 不是钢筋直径（整数毫米）"},
        {{"--code", "2010", "--square-same-bars", "true"},
         "--square-same-bars: \"true\" 应为 yes 或 no"},
        {{"--bars", "16,20"}, "--bars goes with --code 2010"},
        {{"--batch", "x.csv", "--code", "2010", "--max-size-step", "1"},
         "--max-size-step describes a single case; with --batch every case comes from the CSV "
         "file"},
    };
    for (const auto& [arguments, message] : refused) {
        const CliParse r = parseCliArguments(arguments);
        EXPECT_EQ(r.kind, CliParse::Kind::UsageError) << message;
        EXPECT_EQ(r.text, message);
    }
}

// Without flags: the main dialog's start values, M1/M2 = 1, lc = l0 and the cover by default.
TEST(Gb2010Cli, DefaultsOfTheGb2010) {
    const CliParse p = parseCliArguments({"--code", "2010"});
    ASSERT_EQ(p.kind, CliParse::Kind::Gb2010) << p.text;
    const Gb2010Column& c = p.gb2010.input.column;
    const LoadCombination& l = p.gb2010.input.combinations.at(0);
    EXPECT_EQ(c.b, 400.0);
    EXPECT_EQ(c.h, 600.0);
    EXPECT_EQ(c.l0, 6000.0);
    EXPECT_EQ(l.N, 400.0);
    EXPECT_EQ(l.M2x, 244.0);
    EXPECT_EQ(l.M2y, 120.0);
    EXPECT_EQ(l.m1m2X, 1.0);
    EXPECT_FALSE(c.lcX.has_value());
    EXPECT_FALSE(c.hn.has_value());
    EXPECT_FALSE(c.cover.has_value());
    EXPECT_EQ(c.stirrup, 8.0);
    EXPECT_EQ(c.concreteGrade, 30);
    EXPECT_EQ(c.steel, SteelGrade2010::HRB400);
    EXPECT_EQ(c.seismic, SeismicGrade::None);
    EXPECT_FALSE(p.gb2010.json);
}

// The usage errors name the flag; the 2002 command rejects the new flags as before (exit 2).
TEST(Gb2010Cli, UsageErrors) {
    const std::pair<std::vector<std::string>, const char*> cases[] = {
        {{"--cover", "25"}, "--cover goes with --code 2010"},
        {{"--json"}, "--json goes with --code 2010"},
        {{"--seismic", "2"}, "--seismic goes with --code 2010"},
        {{"--steel", "HRB500"}, "--steel: \"HRB500\" is not a steel grade"},
        {{"--code", "2002"}, "--code: \"2002\" is not a design edition; use 2010"},
        {{"--code", "2010", "--ax", "40"}, "--ax does not apply with --code 2010"},
        {{"--code", "2010", "--check"}, "--check does not apply with --code 2010"},
        {{"--code", "2010", "--steel", "HPB235"}, "not a current-code steel grade"},
        {{"--code", "2010", "--concrete", "C15"}, "not a current-code concrete grade"},
        {{"--code", "2010", "--seismic", "5"}, "--seismic: \"5\" is not a seismic grade"},
        {{"--code", "2010", "--structure", "tube"}, "is not a structure type"},
        {{"--code", "2010", "--hn", "3 m"}, "--hn: \"3 m\" is not a number"},
        {{"--hn", "3000"}, "--hn goes with --code 2010"},
        {{"--code", "2010", "--position", "side"}, "is not a column position"},
        {{"--code", "2010", "--cover", "2O"}, "--cover: \"2O\" is not a number"},
        {{"--code", "2010", "--out", "x.csv"}, "--out goes with --batch"},
        {{"--batch", "x.csv", "--code", "2010", "--check"}, "--check does not apply with --code"},
        {{"--batch", "x.csv", "--code", "2010", "--m1m2-x", "1"}, "--m1m2-x describes a single"},
        {{"--batch", "x.csv", "--dxf", "d"}, "--dxf goes with --code 2010"},
        {{"--books", "d"}, "--books goes with --batch"},
        {{"--batch", "x.csv", "--book-format", "docx"}, "--book-format goes with --books"},
        {{"--book", "a.docx", "--book-format", "docx"}, "--book-format goes with --books"},
        {{"--batch", "x.csv", "--books", "b", "--book-format", "rtf"}, "rtf not in"},
        {{"--batch", "x.csv", "--project", "P"}, "--project goes with --book or --books"},
        {{"--code", "2010", "--id", "KZ1"}, "--id goes with --book"},
    };
    for (const auto& [args, text] : cases) {
        const CliParse p = parseCliArguments(args);
        EXPECT_EQ(p.kind, CliParse::Kind::UsageError) << text;
        EXPECT_NE(p.text.find(text), std::string::npos) << p.text;
    }
}

// The batch's per-column files reach their options, by edition.
TEST(Gb2010Cli, BatchTakesItsDirectories) {
    const CliParse code = parseCliArguments(
        {"--batch", "x.csv", "--code", "2010", "--dxf", "d", "--reports", "r", "--out", "o.csv"});
    ASSERT_EQ(code.kind, CliParse::Kind::Gb2010Batch) << code.text;
    EXPECT_EQ(code.batch.input, "x.csv");
    EXPECT_EQ(code.batch.output, "o.csv");
    EXPECT_EQ(code.batch.reportDir, "r");
    EXPECT_EQ(code.batchFiles.dxfDir, "d");
    const CliParse books =
        parseCliArguments({"--batch", "x.csv", "--books", "b", "--project", "P", "--check"});
    ASSERT_EQ(books.kind, CliParse::Kind::Batch) << books.text;
    EXPECT_EQ(books.batchFiles.booksDir, "b");
    EXPECT_EQ(books.batchFiles.project, "P");
    EXPECT_TRUE(books.batch.check);
    EXPECT_EQ(books.batchFiles.bookSuffix, ".html");
    for (const auto& [format, suffix] :
         {std::pair{"html", ".html"}, {"pdf", ".pdf"}, {"docx", ".docx"}}) {
        const CliParse chosen = parseCliArguments(
            {"--batch", "x.csv", "--code", "2010", "--books", "b", "--book-format", format});
        ASSERT_EQ(chosen.kind, CliParse::Kind::Gb2010Batch) << chosen.text;
        EXPECT_EQ(chosen.batchFiles.bookSuffix, suffix);
    }
}

// A rejected input: the Chinese message and the flag to check on stderr, exit 1, no report.
TEST(Gb2010Cli, RejectedInputWritesNoReport) {
    ScratchDirectory scratch;
    std::ostringstream out, err;
    EXPECT_EQ(runCli({"--code", "2010", "--cover", "80"}, out, err), kExitRejected);
    EXPECT_EQ(err.str(),
              "tessarin-cli: error [现行规范设计] 混凝土保护层厚度c(至箍筋外边)应在15～75mm之间\n"
              "tessarin-cli: check --cover\n");
    EXPECT_EQ(out.str(), "");
    EXPECT_EQ(readFileBytes("Result-GB2010.txt"), "");
    EXPECT_EQ(readFileBytes("Result.txt"), "");

    // Table 6.3.6 gives no limit for a frame-supporting column of grade 三: refused, not designed
    // against the dual system's limit as before.
    std::ostringstream out3, err3;
    EXPECT_EQ(
        runCli({"--code", "2010", "--seismic", "3", "--structure", "frame-supported"}, out3, err3),
        kExitRejected);
    EXPECT_EQ(err3.str(),
              "tessarin-cli: error [现行规范设计] 部分框支抗震墙结构的框支柱抗震等级应为一级或二级"
              "(GB 50011 表6.3.6)\n"
              "tessarin-cli: check --structure\n");
    // A side beyond the range (once a design of hours) is refused at once, naming the flag.
    std::ostringstream wideOut, wideErr;
    EXPECT_EQ(runCli({"--code", "2010", "--b", "1e6"}, wideOut, wideErr), kExitRejected);
    EXPECT_EQ(
        wideErr.str(),
        "tessarin-cli: error [现行规范设计] 柱截面宽度b=1000000mm超出适用范围，应不大于5000mm\n"
        "tessarin-cli: check --b\n");
    EXPECT_EQ(readFileBytes("Result-GB2010.txt"), "");
}

// The design writes Result-GB2010.txt (GBK) and prints the same text, or the JSON object; the
// 2002 report is never written. Grade 三 frame with N = 3000 kN on 400 x 600 C30: axial ratio
// 3e6 / 3432000 = 0.874 > 0.85, so no layout and exit 5.
TEST(Gb2010Cli, ReportJsonAndNoLayout) {
    ScratchDirectory scratch;
    std::ostringstream out, err;
    ASSERT_EQ(runCli({"--code", "2010"}, out, err), kExitDone) << err.str();
    const std::string file = readFileBytes("Result-GB2010.txt");
    EXPECT_EQ(out.str(), withUnixLineEnds(gbkToUtf8(file)));
    EXPECT_NE(out.str().find("选用配筋：角筋 4C"), std::string::npos);
    EXPECT_EQ(readFileBytes("Result.txt"), "");

    std::ostringstream json, jsonErr;
    ASSERT_EQ(runCli({"--code", "2010", "--json"}, json, jsonErr), kExitDone);
    const std::string object = json.str();
    EXPECT_EQ(object.rfind("{\"status\": \"designed\", \"reason\": \"\", \"cornerDiameter\": ", 0),
              0u)
        << object;
    for (const char* field :
         {"\"webDiameter\": ", "\"webBarsAlongB\": ", "\"webBarsAlongH\": ", "\"bars\": [{\"u\": ",
          "\"steelArea\": ", "\"ratio\": ", "\"combinations\": [{\"N\": 400, \"Mx\": ",
          "\"etaNsX\": ", "\"CmY\": 1, \"axialRatio\": ", "\"utilisation\": ",
          "\"axialCapacity\": ", "\"axialUtilisation\": ", "\"axialRatioLimit\": null",
          "\"shearSpan\": {\"hn\": 6000, ", "\"governing\": 0}"}) {
        EXPECT_NE(object.find(field), std::string::npos) << field;
    }

    std::ostringstream none, noneErr;
    EXPECT_EQ(runCli({"--code", "2010", "--json", "--seismic", "3", "--N", "3000"}, none, noneErr),
              kExitNoLayout);
    // N / (fc A) = 3000000 / (14.3 x 240000) = 0.874 > 0.85.
    EXPECT_EQ(none.str().rfind("{\"status\": \"no-layout\", \"reason\": \"第1组荷载组合的轴压比 "
                               "μN = N/(fcA) = 0.874超过三级框架结构柱的限值 0.85(GB 50011 "
                               "表6.3.6)\"",
                               0),
              0u)
        << none.str();
    EXPECT_EQ(noneErr.str(),
              "tessarin-cli: no layout fits: 第1组荷载组合的轴压比 μN = N/(fcA) = 0.874超过"
              "三级框架结构柱的限值 0.85(GB 50011 表6.3.6)\n");
    EXPECT_EQ(readFileBytes("Result.txt"), "");
}

}  // namespace
}  // namespace tessarin
