// The running program and its helper programs on POSIX systems.
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <string>

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

bool runFilter(const std::string& program, const std::string& input, std::string& output,
               std::string& reason) {
    int toChild[2], fromChild[2];
    if (::pipe(toChild) != 0) {
        reason = systemReason(errno);
        return false;
    }
    if (::pipe(fromChild) != 0) {
        reason = systemReason(errno);
        ::close(toChild[0]);
        ::close(toChild[1]);
        return false;
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
    if (spawned != 0) {
        ::close(toChild[1]);
        ::close(fromChild[0]);
        reason = "cannot run " + program + ": " + systemReason(spawned);
        return false;
    }
    // A program that ends early must not end this one with SIGPIPE.
    struct sigaction ignore {
    }, previous{};
    ignore.sa_handler = SIG_IGN;
    sigaction(SIGPIPE, &ignore, &previous);
    const bool sent = writeToDescriptor(toChild[1], input) == 0;
    ::close(toChild[1]);
    sigaction(SIGPIPE, &previous, nullptr);
    char chunk[65536];
    while (true) {
        const ssize_t n = ::read(fromChild[0], chunk, sizeof chunk);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        output.append(chunk, static_cast<std::size_t>(n));
    }
    ::close(fromChild[0]);
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    if (!sent || !WIFEXITED(status) || WEXITSTATUS(status) != 0 || output.empty()) {
        reason = "the PDF writer " + program + " failed";
        return false;
    }
    return true;
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
