#include "cli/book_output.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <ostream>

#include "cli/cli_exit.h"
#include "report/book/book_docx.h"
#include "report/book/book_file.h"
#include "report/book/book_html.h"
#include "report/book/book_serial.h"
#include "report/whole_file.h"

#if !defined(_WIN32)
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace tessarin {

namespace {

FileResult failure(const std::string& path, const std::string& reason) {
    return FileResult::refusal(path, FileAction::Write, reason);
}

constexpr const char* kNoPdfWriter =
    "a PDF book needs tessarin-book, the PDF writer of the desktop build (with Qt), beside "
    "tessarin-cli; an HTML (.html) or Word (.docx) book works everywhere";

#if !defined(_WIN32)
bool writeAllTo(int fd, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

// Runs the PDF writer: the book's text on its stdin, the PDF from its stdout. The writer reads
// all of its input before it writes, so filling one pipe and then draining the other cannot
// block both programs.
bool runPdfWriter(const std::string& program, const std::string& bookText, std::string& pdf,
                  std::string& reason) {
    int input[2], output[2];
    if (::pipe(input) != 0) {
        reason = std::strerror(errno);
        return false;
    }
    if (::pipe(output) != 0) {
        reason = std::strerror(errno);
        ::close(input[0]);
        ::close(input[1]);
        return false;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, input[0], STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, output[1], STDOUT_FILENO);
    for (const int fd : {input[0], input[1], output[0], output[1]}) {
        posix_spawn_file_actions_addclose(&actions, fd);
    }
    char* argv[] = {const_cast<char*>(program.c_str()), nullptr};
    pid_t child = 0;
    const int spawned = posix_spawn(&child, program.c_str(), &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(input[0]);
    ::close(output[1]);
    if (spawned != 0) {
        ::close(input[1]);
        ::close(output[0]);
        reason = std::string("cannot run ") + program + ": " + std::strerror(spawned);
        return false;
    }
    // A writer that ends early must not end this program with SIGPIPE.
    struct sigaction ignore {
    }, previous{};
    ignore.sa_handler = SIG_IGN;
    sigaction(SIGPIPE, &ignore, &previous);
    const bool sent = writeAllTo(input[1], bookText);
    ::close(input[1]);
    sigaction(SIGPIPE, &previous, nullptr);
    char chunk[65536];
    while (true) {
        const ssize_t n = ::read(output[0], chunk, sizeof chunk);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        pdf.append(chunk, static_cast<std::size_t>(n));
    }
    ::close(output[0]);
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    if (!sent || !WIFEXITED(status) || WEXITSTATUS(status) != 0 || pdf.empty()) {
        reason = "the PDF writer " + program + " failed";
        return false;
    }
    return true;
}
#endif

}  // namespace

int reportBookFailure(const FileResult& failure, std::ostream& err) {
    err << "tessarin-cli: cannot write the calculation book " << failure.fileName << ": "
        << failure.reason << '\n';
    return kExitFile;
}

std::string pdfWriterPath() {
#if defined(_WIN32)
    return {};
#else
    std::error_code ec;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) return {};
    return (self.parent_path() / "tessarin-book").string();
#endif
}

FileResult checkBookWriter(BookFormat format) {
    if (format != BookFormat::pdf) return FileResult::success();
#if !defined(_WIN32)
    const std::string program = pdfWriterPath();
    if (!program.empty() && ::access(program.c_str(), X_OK) == 0) return FileResult::success();
#endif
    return failure({}, kNoPdfWriter);
}

FileResult checkBookTarget(const std::string& path) {
    FileResult result = checkWritablePath(path);
    if (!result.ok) return result;
    result = checkBookWriter(bookFormatOf(path));
    if (!result.ok) result.fileName = path;
    return result;
}

FileResult writeBookFile(const Book& book, const std::string& path) {
    switch (bookFormatOf(path)) {
        case BookFormat::html:
        case BookFormat::unknown:
            return writeWholeFile(path, renderBookHtml(book));
        case BookFormat::docx:
            return writeWholeFile(path, renderBookDocx(book));
        case BookFormat::pdf: {
#if defined(_WIN32)
            return failure(path, kNoPdfWriter);
#else
            const std::string program = pdfWriterPath();
            if (program.empty() || ::access(program.c_str(), X_OK) != 0) {
                return failure(path, kNoPdfWriter);
            }
            std::string pdf, reason;
            if (!runPdfWriter(program, serializeBook(book), pdf, reason)) {
                return failure(path, reason);
            }
            return writeWholeFile(path, pdf);
#endif
        }
    }
    return FileResult::success();
}

}  // namespace tessarin
