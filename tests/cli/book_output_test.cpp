// The PDF writer as tessarin-cli runs it, with stand-in writers (shell scripts): only a PDF is
// taken, and a writer that writes without end, takes too long or reads nothing is stopped.
#include "cli/book_output.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <string>

#include "tests/support/scratch_directory.h"

namespace tessarin {
namespace {

// A stand-in writer: a shell script with the given body, made executable.
std::string writer(const TemporaryDirectory& dir, const std::string& name,
                   const std::string& body) {
    std::string path = dir.file(name);
    writeFileBytes(path, "#!/bin/sh\n" + body + "\n");
    ::chmod(path.c_str(), 0755);
    return path;
}

struct WriterCase {
    const char* name;
    const char* body;
    const char* reason;  // after "the PDF writer <path> "; empty: the PDF is taken
};

TEST(PdfWriter, TakesOnlyAPdfAndStopsAWriterThatRunsAway) {
    TemporaryDirectory dir;
    const WriterCase cases[] = {
        // Reads the book, answers with a PDF: taken as it is.
        {"good", "cat >/dev/null; printf '%%PDF-1.4 book'", ""},
        // Anything else is no PDF, even when the writer says it succeeded.
        {"html", "cat >/dev/null; printf '<html>'", "wrote no PDF"},
        {"empty", "cat >/dev/null", "wrote no PDF"},
        {"fails", "cat >/dev/null; printf '%%PDF-1.4'; exit 3", "failed"},
        // Without end: stopped past the output bound (1 MiB here).
        {"endless", "exec yes %PDF-", "wrote more than 1 MiB"},
        // Never answers, and never reads its input: stopped at the deadline (1 s here).
        {"asleep", "exec sleep 30", "did not finish within 1 s"},
        // Writes before it reads, more than a pipe holds, then reads: neither program blocks.
        {"early",
         "head -c 200000 /dev/zero | tr '\\0' x >/dev/null; printf '%%PDF-'; "
         "head -c 300000 /dev/zero; cat >/dev/null",
         ""},
    };
    // A book text larger than a pipe holds, so that a writer that does not read it is found.
    const std::string book(300000, 'b');
    PdfWriterLimits limits;
    limits.maxOutputBytes = std::size_t{1} << 20;
    limits.time = std::chrono::seconds(1);
    for (const WriterCase& c : cases) {
        const std::string program = writer(dir, c.name, c.body);
        std::string pdf, reason;
        const auto start = std::chrono::steady_clock::now();
        const bool ok = runPdfWriter(program, book, pdf, reason, limits);
        const auto took = std::chrono::steady_clock::now() - start;
        if (*c.reason == '\0') {
            EXPECT_TRUE(ok) << c.name << ": " << reason;
            EXPECT_EQ(pdf.compare(0, 5, "%PDF-"), 0) << c.name;
        } else {
            EXPECT_FALSE(ok) << c.name;
            EXPECT_EQ(reason, "the PDF writer " + program + " " + c.reason) << c.name;
        }
        // Ended at the deadline, not when the 30 s sleeper would have ended by itself.
        EXPECT_LT(took, std::chrono::seconds(20)) << c.name;
    }
}

}  // namespace
}  // namespace tessarin
