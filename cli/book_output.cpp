#include "cli/book_output.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <ostream>

#include "cli/cli_exit.h"
#include "report/book/book_file.h"
#include "report/book/book_html.h"
#include "report/book/book_serial.h"
#include "report/whole_file.h"

#if !defined(_WIN32)
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>
#endif

namespace tessarin {

namespace {

FileResult failure(const std::string& path, const std::string& reason) {
    return FileResult::refusal(path, FileAction::Write, reason);
}

constexpr const char* kNoPdfWriter =
    "a PDF book needs tessarin-book, the PDF writer of the desktop build (with Qt), beside "
    "tessarin-cli; an HTML book (.html) works everywhere";

#if !defined(_WIN32)
// Sets O_NONBLOCK on fd.
bool setNonBlocking(int fd) {
    const int flags = ::fcntl(fd, F_GETFL);
    return flags >= 0 && ::fcntl(fd, F_SETFL, flags | O_NONBLOCK) == 0;
}

// The exchange with a running writer: its input sent and its output read as each pipe allows
// (a writer that reads nothing, or writes before it has read all, blocks neither program), up to
// the output's bound and the deadline. Closes both ends.
enum class Exchange { Done, TooLarge, TimedOut, Failed };
Exchange exchange(int toWriter, int fromWriter, const std::string& input, std::string& output,
                  const PdfWriterLimits& limits, std::chrono::steady_clock::time_point deadline) {
    std::size_t sent = 0;
    bool sending = true;
    if (input.empty()) {
        ::close(toWriter);
        sending = false;
    }
    Exchange result = Exchange::Done;
    char chunk[65536];
    while (true) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            result = Exchange::TimedOut;
            break;
        }
        pollfd fds[2] = {{fromWriter, POLLIN, 0}, {toWriter, POLLOUT, 0}};
        const int ready = ::poll(fds, sending ? 2 : 1, static_cast<int>(left.count()));
        if (ready < 0 && errno == EINTR) continue;
        if (ready < 0) {
            result = Exchange::Failed;
            break;
        }
        if (sending && fds[1].revents != 0) {
            const ssize_t n = ::write(toWriter, input.data() + sent, input.size() - sent);
            if (n > 0) sent += static_cast<std::size_t>(n);
            // Done, or the writer stopped reading (EPIPE): nothing more goes to it.
            if (sent == input.size() || (n < 0 && errno != EAGAIN && errno != EINTR)) {
                ::close(toWriter);
                sending = false;
            }
        }
        if (fds[0].revents != 0) {
            const ssize_t n = ::read(fromWriter, chunk, sizeof chunk);
            if (n == 0) break;
            if (n < 0 && errno != EAGAIN && errno != EINTR) {
                result = Exchange::Failed;
                break;
            }
            if (n > 0) output.append(chunk, static_cast<std::size_t>(n));
            if (output.size() > limits.maxOutputBytes) {
                result = Exchange::TooLarge;
                break;
            }
        }
    }
    if (sending) ::close(toWriter);
    ::close(fromWriter);
    return result;
}

}  // namespace

bool runPdfWriter(const std::string& program, const std::string& bookText, std::string& pdf,
                  std::string& reason, const PdfWriterLimits& limits) {
    const auto deadline = std::chrono::steady_clock::now() + limits.time;
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
    if (spawned != 0 || !setNonBlocking(input[1]) || !setNonBlocking(output[0])) {
        ::close(input[1]);
        ::close(output[0]);
        if (spawned == 0) {
            ::kill(child, SIGKILL);
            ::waitpid(child, nullptr, 0);
        }
        reason = std::string("cannot run ") + program + ": " +
                 std::strerror(spawned != 0 ? spawned : errno);
        return false;
    }
    // A writer that ends early must not end this program with SIGPIPE.
    struct sigaction ignore {
    }, previous{};
    ignore.sa_handler = SIG_IGN;
    sigaction(SIGPIPE, &ignore, &previous);
    Exchange result = exchange(input[1], output[0], bookText, pdf, limits, deadline);
    sigaction(SIGPIPE, &previous, nullptr);
    // A writer stopped short is killed; one that has closed its output gets what is left of
    // the time to end.
    if (result != Exchange::Done) ::kill(child, SIGKILL);
    int status = 0;
    while (true) {
        const pid_t ended = ::waitpid(child, &status, WNOHANG);
        if (ended == child) break;
        if (ended < 0 && errno == EINTR) continue;
        if (ended < 0) {
            result = Exchange::Failed;
            break;
        }
        if (result == Exchange::Done && std::chrono::steady_clock::now() >= deadline) {
            result = Exchange::TimedOut;
            ::kill(child, SIGKILL);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    const std::string writer = "the PDF writer " + program;
    switch (result) {
        case Exchange::TimedOut:
            reason =
                writer + " did not finish within " + std::to_string(limits.time.count()) + " s";
            return false;
        case Exchange::TooLarge:
            reason =
                writer + " wrote more than " + std::to_string(limits.maxOutputBytes >> 20) + " MiB";
            return false;
        case Exchange::Failed:
            reason = writer + " failed";
            return false;
        case Exchange::Done:
            break;
    }
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        reason = writer + " failed";
        return false;
    }
    // Whatever it wrote must be a PDF: a file that begins with "%PDF-".
    if (pdf.compare(0, 5, "%PDF-") != 0) {
        reason = writer + " wrote no PDF";
        return false;
    }
    return true;
}

namespace {

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

FileResult checkBookTarget(const std::string& path) {
    const BookFormat format = bookFormatOf(path);
    FileResult result = checkWritablePath(path);
    if (!result.ok) return result;
    if (format == BookFormat::Pdf) {
        const std::string program = pdfWriterPath();
#if !defined(_WIN32)
        if (program.empty() || ::access(program.c_str(), X_OK) != 0) {
            return failure(path, kNoPdfWriter);
        }
#else
        return failure(path, kNoPdfWriter);
#endif
    }
    return FileResult::success();
}

FileResult writeBookFile(const Book& book, const std::string& path) {
    switch (bookFormatOf(path)) {
        case BookFormat::Html:
        case BookFormat::Unknown:
            return writeWholeFile(path, renderBookHtml(book));
        case BookFormat::Pdf: {
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
