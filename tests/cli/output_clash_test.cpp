#include "cli/output_clash.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/scratch_directory.h"

namespace tessarin {
namespace {

struct ClashCase {
    const char* name;
    const char* first;
    const char* second;
    bool clash;
};

// Two outputs are one file by identity or by folder and name, however they are spelled: the
// folder reached through another spelling or a link to it, the file through a hard or symbolic
// link. A file that is not there yet is one by folder and name. Streams (/dev/null) are not
// files one would lose.
class OutputClash : public testing::TestWithParam<ClashCase> {};

TEST_P(OutputClash, ComparesFilesNotSpellings) {
    ScratchDirectory scratch;
    std::filesystem::create_directory("sub");
    std::filesystem::create_directory_symlink("sub", "alias");
    writeFileBytes("sub/old.html", "old");
    std::filesystem::create_hard_link("sub/old.html", "hard.html");
    std::filesystem::create_symlink("sub/old.html", "soft.html");
    const ClashCase& c = GetParam();
    const auto clash =
        findOutputClash({{"the drawing", c.first}, {"the calculation book", c.second}}, {});
    EXPECT_EQ(clash.has_value(), c.clash) << (clash ? *clash : std::string("no clash"));
    if (c.clash && clash) {
        EXPECT_EQ(*clash, std::string("the calculation book ") + c.second +
                              " is the same file as the drawing " + c.first +
                              "; a run never writes two of its outputs into one file");
    }
}

INSTANTIATE_TEST_SUITE_P(
    Paths, OutputClash,
    testing::Values(ClashCase{"SameName", "new.html", "new.html", true},
                    ClashCase{"DotSlash", "new.html", "./new.html", true},
                    ClashCase{"UpAndDown", "sub/new.html", "sub/../sub/new.html", true},
                    ClashCase{"FolderLink", "sub/new.html", "alias/new.html", true},
                    ClashCase{"HardLink", "sub/old.html", "hard.html", true},
                    ClashCase{"SymbolicLink", "sub/old.html", "soft.html", true},
                    ClashCase{"OtherName", "new.html", "new.dxf", false},
                    ClashCase{"OtherFolder", "new.html", "sub/new.html", false},
                    ClashCase{"NullDevice", "/dev/null", "/dev/null", false}),
    [](const testing::TestParamInfo<ClashCase>& p) { return std::string(p.param.name); });

// The file stdout writes to is an output of the run too: /dev/stdout and any other name of it.
TEST(OutputClash, TheFileStdoutWritesTo) {
    ScratchDirectory scratch;
    writeFileBytes("printed.txt", "printed");
    const PathStatus printed = inspectTarget("printed.txt");
    const std::optional<FileIdentity> out = printed.identity;
    const auto clash = findOutputClash({{"the drawing", "./printed.txt"}}, out);
    ASSERT_TRUE(clash.has_value());
    EXPECT_EQ(*clash,
              "the drawing ./printed.txt is the file stdout writes to; a run never "
              "writes two of its outputs into one file");
    EXPECT_FALSE(findOutputClash({{"the drawing", "other.txt"}}, out).has_value());
}

}  // namespace
}  // namespace tessarin
