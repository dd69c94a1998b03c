// The running program and its helper programs on POSIX systems.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <climits>
#include <string>
#include <thread>

#include "platform/descriptor.h"
#include "platform/file_system.h"
#include "platform/process.h"

namespace tessarin {

std::string executableFolder() {
    char buffer[PATH_MAX];
    const ssize_t length = ::readlink("/proc/self/exe", buffer, sizeof buffer);
    if (length <= 0 || static_cast<std::size_t>(length) >= sizeof buffer) return {};
    return splitPath(std::string(buffer, static_cast<std::size_t>(length))).folder;
}

bool isExecutable(const std::string& path) {
    return !path.empty() && ::access(path.c_str(), X_OK) == 0;
}

bool canRunPrograms() {
    return true;
}

namespace {

// Sets O_NONBLOCK on fd.
bool setNonBlocking(int fd) {
    const int flags = ::fcntl(fd, F_GETFL);
    return flags >= 0 && ::fcntl(fd, F_SETFL, flags | O_NONBLOCK) == 0;
}

// The exchange with a running program: its input sent and its output read as each pipe allows,
// up to the output's bound and the deadline. Closes both ends.
FilterOutcome exchange(int toChild, int fromChild, const std::string& input, std::string& output,
                       const FilterLimits& limits, std::chrono::steady_clock::time_point deadline) {
    std::size_t sent = 0;
    bool sending = true;
    if (input.empty()) {
        ::close(toChild);
        sending = false;
    }
    FilterOutcome result = FilterOutcome::Done;
    char chunk[65536];
    while (true) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            result = FilterOutcome::TimedOut;
            break;
        }
        pollfd fds[2] = {{fromChild, POLLIN, 0}, {toChild, POLLOUT, 0}};
        const int ready = ::poll(fds, sending ? 2 : 1, static_cast<int>(left.count()));
        if (ready < 0 && errno == EINTR) continue;
        if (ready < 0) {
            result = FilterOutcome::Failed;
            break;
        }
        if (sending && fds[1].revents != 0) {
            const ssize_t n = ::write(toChild, input.data() + sent, input.size() - sent);
            if (n > 0) sent += static_cast<std::size_t>(n);
            // Done, or the program stopped reading (EPIPE): nothing more goes to it.
            if (sent == input.size() || (n < 0 && errno != EAGAIN && errno != EINTR)) {
                ::close(toChild);
                sending = false;
            }
        }
        if (fds[0].revents != 0) {
            const ssize_t n = ::read(fromChild, chunk, sizeof chunk);
            if (n == 0) break;
            if (n < 0 && errno != EAGAIN && errno != EINTR) {
                result = FilterOutcome::Failed;
                break;
            }
            if (n > 0) output.append(chunk, static_cast<std::size_t>(n));
            if (output.size() > limits.maxOutputBytes) {
                result = FilterOutcome::TooLarge;
                break;
            }
        }
    }
    if (sending) ::close(toChild);
    ::close(fromChild);
    return result;
}

}  // namespace

FilterOutcome runFilter(const std::string& program, const std::string& input, std::string& output,
                        std::string& reason, const FilterLimits& limits) {
    const auto deadline = std::chrono::steady_clock::now() + limits.time;
    int toChild[2], fromChild[2];
    if (::pipe(toChild) != 0) {
        reason = systemReason(errno);
        return FilterOutcome::CannotRun;
    }
    if (::pipe(fromChild) != 0) {
        reason = systemReason(errno);
        ::close(toChild[0]);
        ::close(toChild[1]);
        return FilterOutcome::CannotRun;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, toChild[0], STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, fromChild[1], STDOUT_FILENO);
    for (const int fd : {toChild[0], toChild[1], fromChild[0], fromChild[1]}) {
        posix_spawn_file_actions_addclose(&actions, fd);
    }
    char* argv[] = {const_cast<char*>(program.c_str()), nullptr};
    pid_t child = 0;
    const int spawned = posix_spawn(&child, program.c_str(), &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(toChild[0]);
    ::close(fromChild[1]);
    if (spawned != 0 || !setNonBlocking(toChild[1]) || !setNonBlocking(fromChild[0])) {
        ::close(toChild[1]);
        ::close(fromChild[0]);
        if (spawned == 0) {
            ::kill(child, SIGKILL);
            ::waitpid(child, nullptr, 0);
        }
        reason = "cannot run " + program + ": " + systemReason(spawned != 0 ? spawned : errno);
        return FilterOutcome::CannotRun;
    }
    // A program that ends early must not end this one with SIGPIPE.
    struct sigaction ignore {
    }, previous{};
    ignore.sa_handler = SIG_IGN;
    sigaction(SIGPIPE, &ignore, &previous);
    FilterOutcome result = exchange(toChild[1], fromChild[0], input, output, limits, deadline);
    sigaction(SIGPIPE, &previous, nullptr);
    // A program stopped short is killed; one that has closed its output gets what is left of the
    // time to end.
    if (result != FilterOutcome::Done) ::kill(child, SIGKILL);
    int status = 0;
    while (true) {
        const pid_t ended = ::waitpid(child, &status, WNOHANG);
        if (ended == child) break;
        if (ended < 0 && errno == EINTR) continue;
        if (ended < 0) {
            result = FilterOutcome::Failed;
            break;
        }
        if (result == FilterOutcome::Done && std::chrono::steady_clock::now() >= deadline) {
            result = FilterOutcome::TimedOut;
            ::kill(child, SIGKILL);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    if (result == FilterOutcome::Done && (!WIFEXITED(status) || WEXITSTATUS(status) != 0)) {
        result = FilterOutcome::Failed;
    }
    return result;
}

std::string currentFolder() {
    // A folder deeper than PATH_MAX has a longer name: the buffer grows until it fits.
    for (std::size_t size = PATH_MAX; size <= (std::size_t{1} << 20); size *= 4) {
        std::string folder(size, '\0');
        if (::getcwd(folder.data(), folder.size()) != nullptr) {
            folder.resize(std::char_traits<char>::length(folder.c_str()));
            return folder;
        }
        if (errno != ERANGE) return {};
    }
    return {};
}

bool isAbsolutePath(const std::string& path) {
    return !path.empty() && path.front() == '/';
}

std::tm localTime(std::time_t moment) {
    std::tm local{};
    localtime_r(&moment, &local);
    return local;
}

}  // namespace tessarin
