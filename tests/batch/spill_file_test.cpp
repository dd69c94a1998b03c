#include "batch/spill_file.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "tests/support/scratch_directory.h"

namespace tessarin {
namespace {

// Sets TMPDIR for the life of the object and puts the previous value back.
class TemporaryFolderSetting {
  public:
    explicit TemporaryFolderSetting(const std::string& folder) {
        if (const char* old = std::getenv("TMPDIR")) previous_ = old;
        ::setenv("TMPDIR", folder.c_str(), 1);
    }
    ~TemporaryFolderSetting() {
        if (previous_) {
            ::setenv("TMPDIR", previous_->c_str(), 1);
        } else {
            ::unsetenv("TMPDIR");
        }
    }
    TemporaryFolderSetting(const TemporaryFolderSetting&) = delete;
    TemporaryFolderSetting& operator=(const TemporaryFolderSetting&) = delete;

  private:
    std::optional<std::string> previous_;
};

// The spill files go where TMPDIR says (a batch's temporary files belong on the disk the
// engineer chose): a TMPDIR that does not exist makes them fail with the system's reason, one
// that does takes them, and they round-trip their records.
TEST(SpillFile, IsMadeInTheFolderTmpdirNames) {
    const TemporaryDirectory scratch;
    {
        const TemporaryFolderSetting missing(scratch.file("no-such-folder"));
        SpillFile file;
        EXPECT_FALSE(file.create());
        EXPECT_EQ(file.error(), "cannot create a temporary file: No such file or directory");
    }
    const TemporaryFolderSetting present(scratch.path());
    SpillFile file;
    ASSERT_TRUE(file.create()) << file.error();
    file.writeU64(42);
    file.writeString("KZ1");
    ASSERT_TRUE(file.finishWriting());
    std::uint64_t value = 0;
    std::string text;
    EXPECT_TRUE(file.readU64(value));
    EXPECT_TRUE(file.readString(text));
    EXPECT_EQ(value, 42u);
    EXPECT_EQ(text, "KZ1");
    // Unnamed: nothing is left in the folder, not even while the file is open.
    EXPECT_TRUE(std::filesystem::is_empty(scratch.path()));
}

}  // namespace
}  // namespace tessarin
