#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <clocale>
#include <cmath>
#include <csignal>
#include <filesystem>
#include <limits>
#include <string>
#include <vector>

#include "drawing/dxf_document.h"
#include "drawing/section_drawing.h"
#include "platform/whole_file.h"
#include "tests/support/scratch_directory.h"
#include "text/gbk_text.h"

namespace tessarin {
namespace {

// The names in a directory, so a test can see that nothing was left behind.
std::vector<std::string> entries(const std::string& directory) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(directory)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

struct RealCase {
    double value;
    const char* text;
};

TEST(DxfReal, FixedPointWithAtLeastOneDecimal) {
    const RealCase cases[] = {
        {400.0, "400.0"}, {-159.5, "-159.5"}, {1.0 / 3.0, "0.333333"},
        {79.75, "79.75"}, {0.1 + 0.2, "0.3"}, {-0.0, "0.0"},
        {-4e-7, "0.0"},   {6e-7, "0.000001"}, {1e20, "100000000000000000000.0"}};
    const char* locale = std::setlocale(LC_ALL, "de_DE.UTF-8");
    for (const RealCase& c : cases) EXPECT_EQ(dxfReal(c.value), c.text) << c.value;
    std::setlocale(LC_ALL, "C");
    if (locale == nullptr) GTEST_SKIP() << "de_DE.UTF-8 is not installed, checked in C only";
}

// What a reader relies on beyond what the drawing test reads back: the extents it opens with,
// and text lines that cannot break the file's structure.
TEST(DxfDocument, ExtentsCoverEveryEntity) {
    DxfDocument doc;
    doc.circle("A", {10.0, 20.0}, 5.0);  // 5 … 15 across, 15 … 25 up
    doc.line("B", {-3.0, 0.0}, {0.0, 40.0});
    const std::string bytes = doc.bytes();
    EXPECT_NE(bytes.find("$EXTMIN\r\n 10\r\n-3.0\r\n 20\r\n0.0\r\n"), std::string::npos);
    EXPECT_NE(bytes.find("$EXTMAX\r\n 10\r\n15.0\r\n 20\r\n40.0\r\n"), std::string::npos);
    // Undeclared layers are declared (colour 7) after layer 0.
    EXPECT_NE(bytes.find("LAYER\r\n 70\r\n3\r\n"), std::string::npos);
}

TEST(DxfDocument, TextIsOneLineOfGbk) {
    DxfDocument doc;
    doc.text("标注", {0.0, 0.0}, 70.0, "K\r\nZ\t1 角筋");
    const std::string bytes = doc.bytes();
    EXPECT_NE(bytes.find("\r\n  1\r\n" + utf8ToGbk("K  Z 1 角筋") + "\r\n"), std::string::npos);
    EXPECT_NE(bytes.find("\r\n  8\r\n" + utf8ToGbk("标注") + "\r\n"), std::string::npos);
    EXPECT_EQ(bytes.find("角筋"), std::string::npos);  // no UTF-8 left
}

// A character GBK lacks is written as the DXF escape \U+XXXX (one CAD programs show), not as a
// '?' per UTF-8 byte; beyond U+FFFF, and for bytes that are not UTF-8, one '?' each.
TEST(DxfDocument, TextOutsideGbkIsEscaped) {
    DxfDocument doc;
    doc.text("标注", {0.0, 0.0}, 70.0, "KZ한1 角筋\xF0\x9F\x98\x80\xFF");
    const std::string bytes = doc.bytes();
    EXPECT_NE(bytes.find("\r\n  1\r\n" + utf8ToGbk("KZ\\U+D55C1 角筋??") + "\r\n"),
              std::string::npos)
        << bytes;
}

TEST(DxfDocument, DrawingWithANonFiniteSizeIsNotWritten) {
    ScratchDirectory scratch;
    SectionDrawing drawing;
    drawing.b = 400.0;
    drawing.h = std::numeric_limits<double>::quiet_NaN();
    const FileResult result = writeSectionDrawing("KZ1.dxf", drawing);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.fileName, "KZ1.dxf");
    EXPECT_TRUE(entries(".").empty());
}

// The grade's symbol as the Chinese drafting fonts draw it: %%132 HRB400, %%133 HRB500.
TEST(FlatNotation, LinesOfASymmetricLayout) {
    EXPECT_EQ(flatNotationLines({400.0, 600.0, 25, 20, 3, 20, 2, "%%132"}),
              (std::vector<std::string>{"400×600", "角筋 4%%13225", "b边一侧中部筋 3%%13220",
                                        "h边一侧中部筋 2%%13220"}));
    // Four corner bars only: the faces have no line.
    EXPECT_EQ(flatNotationLines({300.0, 350.0, 16, 16, 0, 16, 0, "%%133"}),
              (std::vector<std::string>{"300×350", "角筋 4%%13316"}));
    EXPECT_EQ(drawingTitle("KZ1", "C30", "HRB400", 0.8705, 3),
              "KZ1  C30  HRB400  GB 50010-2010  利用率 0.871（组合 3）");
    EXPECT_EQ(drawingTitle("", "C35", "HRB500", 1.0, 1),
              "C35  HRB500  GB 50010-2010  利用率 1.000（组合 1）");
}

// Each failure names the file as given and gives the system's reason; none leaves a file or a
// temporary behind, and an existing file keeps its content.
struct FailureCase {
    const char* name;
    const char* target;   // relative to the scratch directory, or absolute
    const char* prepare;  // "dir": target is a directory; "old": it holds "old"
    const char* reason;
};

class WholeFileFailure : public testing::TestWithParam<FailureCase> {};

TEST_P(WholeFileFailure, NamesTheFileAndLeavesNothing) {
    ScratchDirectory scratch;
    const FailureCase& c = GetParam();
    const std::string how = c.prepare;
    if (how == "dir") std::filesystem::create_directory(c.target);
    if (how == "old" || how == "large") writeFileBytes(c.target, "old");
    const std::vector<std::string> before = entries(".");
    const std::vector<std::string> devBefore = entries("/dev");

    FileResult result;
    if (how == "large") {
        // A file system that fills up half way: the write stops at 1 KiB.
        rlimit original{};
        ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &original), 0);
        rlimit small = original;
        small.rlim_cur = 1024;
        const auto previous = std::signal(SIGXFSZ, SIG_IGN);
        ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
        result = writeWholeFile(c.target, std::string(4096, 'x'));
        ::setrlimit(RLIMIT_FSIZE, &original);
        std::signal(SIGXFSZ, previous);
    } else {
        result = writeWholeFile(c.target, std::string(4096, 'x'));
    }
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.fileName, c.target);
    EXPECT_EQ(result.reason, c.reason);
    EXPECT_EQ(entries("."), before);
    EXPECT_EQ(entries("/dev"), devBefore);
    if (how == "old" || how == "large") {
        EXPECT_EQ(readFileBytes(c.target), "old");
    }
}

INSTANTIATE_TEST_SUITE_P(
    Targets, WholeFileFailure,
    testing::Values(FailureCase{"Directory", "KZ1.dxf", "dir", "Is a directory"},
                    FailureCase{"MissingFolder", "no/such/KZ1.dxf", "",
                                "No such file or directory"},
                    FailureCase{"FullDevice", "/dev/full", "", "No space left on device"},
                    FailureCase{"DiskFillsUp", "KZ1.dxf", "large", "File too large"}),
    [](const testing::TestParamInfo<FailureCase>& param) { return param.param.name; });

TEST(WholeFile, ReadOnlyFileIsNotReplaced) {
    if (::geteuid() == 0) GTEST_SKIP() << "root may write any file";
    ScratchDirectory scratch;
    writeFileBytes("KZ1.dxf", "old");
    ::chmod("KZ1.dxf", 0444);
    const FileResult result = writeWholeFile("KZ1.dxf", "new");
    EXPECT_EQ(result.reason, "Permission denied");
    EXPECT_EQ(readFileBytes("KZ1.dxf"), "old");
}

TEST(WholeFile, ReplacesContentKeepsMode) {
    ScratchDirectory scratch;
    writeFileBytes("KZ1.dxf", std::string(10000, 'o'));
    ::chmod("KZ1.dxf", 0640);
    ASSERT_TRUE(writeWholeFile("KZ1.dxf", "new").ok);
    EXPECT_EQ(readFileBytes("KZ1.dxf"), "new");
    struct stat info {};
    ASSERT_EQ(::stat("KZ1.dxf", &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
    EXPECT_EQ(entries("."), (std::vector<std::string>{"KZ1.dxf"}));
}

// Never through a link: a link named like the output (planted in a folder a batch writes into,
// or pointing out of it) is replaced by the new file, and the file it pointed at keeps its bytes.
// A link to a directory is replaced as well; a dangling one simply becomes the file.
TEST(WholeFile, ReplacesALinkAndNeverWritesThroughIt) {
    ScratchDirectory scratch;
    writeFileBytes("outside.txt", "keep");
    ::mkdir("folder", 0777);
    std::filesystem::create_symlink("outside.txt", "link.dxf");
    std::filesystem::create_symlink("folder", "dirlink.dxf");
    std::filesystem::create_symlink("nowhere", "dangling.dxf");
    for (const char* name : {"link.dxf", "dirlink.dxf", "dangling.dxf"}) {
        ASSERT_TRUE(writeWholeFile(name, "new").ok) << name;
        EXPECT_FALSE(std::filesystem::is_symlink(name)) << name;
        EXPECT_EQ(readFileBytes(name), "new") << name;
    }
    EXPECT_EQ(readFileBytes("outside.txt"), "keep");
    EXPECT_TRUE(std::filesystem::is_empty("folder"));
    EXPECT_FALSE(std::filesystem::exists("nowhere"));
}

// A stream is not a file to replace. Named on the command line (/dev/null, a pipe) it is written
// as it is; a pipe without a reader fails at once (ENXIO) rather than waiting for one. Where a
// batch writes (StreamTarget::Refuse) a pipe, or a link to a device, is refused with its kind.
TEST(WholeFile, StreamsAreWrittenOrRefusedNeverWaitedOn) {
    ScratchDirectory scratch;
    ASSERT_EQ(::mkfifo("pipe.dxf", 0666), 0);
    std::filesystem::create_symlink("/dev/null", "null.dxf");
    const FileResult waiting = writeWholeFile("pipe.dxf", "new");
    EXPECT_EQ(waiting.reason, "No such device or address");
    EXPECT_TRUE(writeWholeFile("null.dxf", "new").ok);
    EXPECT_TRUE(writeWholeFile("/dev/null", "new").ok);
    EXPECT_EQ(writeWholeFile("pipe.dxf", "new", StreamTarget::Refuse).reason,
              "not a regular file but a named pipe (FIFO)");
    EXPECT_EQ(writeWholeFile("null.dxf", "new", StreamTarget::Refuse).reason,
              "not a regular file but a character device");
    EXPECT_TRUE(std::filesystem::is_symlink("null.dxf"));
    EXPECT_EQ(entries("."), (std::vector<std::string>{"null.dxf", "pipe.dxf"}));
}

// Temporary files that killed runs left beside a target are removed when the target is written
// next; those of a run still going, of other targets, and other names are left alone.
TEST(WholeFile, LeftoversOfEndedRunsAreRemoved) {
    ScratchDirectory scratch;
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) ::_exit(0);
    ASSERT_EQ(::waitpid(child, nullptr, 0), child);  // an ended run's id
    const std::string ended = std::to_string(child);
    const std::string running = std::to_string(::getppid());
    const std::vector<std::string> kept = {
        ".Result-GB2010.txt.tmp" + running + "-0",  // a run still going
        ".KZ1.dxf.tmp" + ended + "-0",              // another target's, cleared when it is written
        ".Result-GB2010.txt.tmpnotes",              // not a name the program gives
        "Result-GB2010.txt.tmp" + ended + "-1",     // not hidden
    };
    for (const std::string& name : kept) writeFileBytes(name, "part");
    writeFileBytes(".Result-GB2010.txt.tmp" + ended + "-0", "part");
    writeFileBytes(".Result-GB2010.txt.tmp" + ended + "-17", "part");
    ASSERT_TRUE(writeWholeFile("Result-GB2010.txt", "report").ok);
    std::vector<std::string> expected = kept;
    expected.push_back("Result-GB2010.txt");
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(entries("."), expected);
    ASSERT_TRUE(writeWholeFile("KZ1.dxf", "drawing").ok);
    EXPECT_FALSE(std::filesystem::exists(".KZ1.dxf.tmp" + ended + "-0"));
}

}  // namespace
}  // namespace tessarin
