#include "platform/whole_file.h"

#include <cerrno>
#include <filesystem>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <system_error>
#include <vector>

#include "platform/file_system.h"

namespace tessarin {

namespace {

FileResult writeStream(const std::string& path, std::string_view bytes, StreamTarget streams,
                       PathKind kind) {
    if (streams == StreamTarget::Refuse) {
        return FileResult::refusal(path, FileAction::Create, notRegularReason(kind));
    }
    NewFile file;
    if (const int error = file.openStream(path); error != 0) {
        return FileResult::failure(path, FileAction::Create, error);
    }
    int error = file.write(bytes);
    if (const int closed = file.close(); error == 0) error = closed;
    return error == 0 ? FileResult::success() : FileResult::failure(path, FileAction::Write, error);
}

// Paths and their UTF-8 names, the same on every system (a plain std::string path would be taken
// in the ANSI code page on Windows).
std::filesystem::path pathOf(const std::string& utf8) {
    return std::filesystem::path(
        std::u8string(reinterpret_cast<const char8_t*>(utf8.data()), utf8.size()));
}
std::string nameOf(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(reinterpret_cast<const char*>(text.data()), text.size());
}

// The temporary files that runs killed before they could remove them left beside their
// targets: ".<name>.tmp<process>-<n>" whose process has ended. Each folder is looked through once
// in a run (a batch writes thousands of files into one); a target's leftovers are removed when it
// is written. A temporary file of a run still going, or any other name, is left alone.
class Leftovers {
  public:
    void removeFor(const std::string& target) {
        std::error_code error;
        const std::filesystem::path full = std::filesystem::absolute(pathOf(target), error);
        if (error) return;
        const std::lock_guard lock(mutex_);
        const std::string folder = nameOf(full.parent_path());
        if (scanned_.insert(folder).second) scan(full.parent_path());
        const auto found = byTarget_.find(nameOf(full));
        if (found == byTarget_.end()) return;
        for (const std::filesystem::path& leftover : found->second) {
            std::filesystem::remove(leftover, error);
        }
        byTarget_.erase(found);
    }

  private:
    void scan(const std::filesystem::path& folder) {
        std::error_code error;
        std::filesystem::directory_iterator entries(folder, error);
        if (error) return;
        const auto own = static_cast<long long>(processNumber());
        for (const std::filesystem::directory_entry& entry : entries) {
            const std::string name = nameOf(entry.path().filename());
            const std::size_t mark = name.rfind(".tmp");
            if (name.size() < 2 || name[0] != '.' || mark == std::string::npos || mark < 2) {
                continue;
            }
            // <process>-<n>, digits only.
            const std::string tail = name.substr(mark + 4);
            const std::size_t dash = tail.find('-');
            if (dash == 0 || dash == std::string::npos || dash + 1 == tail.size() || dash > 9 ||
                tail.find_first_not_of("0123456789-") != std::string::npos ||
                tail.find('-', dash + 1) != std::string::npos) {
                continue;
            }
            const long long process = std::stoll(tail.substr(0, dash));
            if (process == own || !processEnded(process)) continue;
            byTarget_[nameOf(folder / pathOf(name.substr(1, mark - 1)))].push_back(entry.path());
        }
    }

    std::mutex mutex_;
    std::set<std::string> scanned_;
    std::map<std::string, std::vector<std::filesystem::path>> byTarget_;
};

FileResult replaceWhole(const std::string& path, std::string_view bytes, unsigned permissions) {
    static Leftovers leftovers;
    leftovers.removeFor(path);
    std::string temporary;
    NewFile file;
    int error = EEXIST;
    for (int attempt = 0; attempt < 100 && error == EEXIST; ++attempt) {
        temporary = temporaryPathBeside(path);
        error = file.create(temporary, permissions);
    }
    if (error != 0) return FileResult::failure(path, FileAction::Create, error);
    error = file.write(bytes);
    if (const int closed = file.close(); error == 0) error = closed;
    if (error == 0) error = renameOver(temporary, path);
    if (error != 0) {
        removeFile(temporary);
        return FileResult::failure(path, FileAction::Write, error);
    }
    return FileResult::success();
}

}  // namespace

const char* notRegularReason(PathKind kind) {
    switch (kind) {
        case PathKind::NamedPipe:
            return "not a regular file but a named pipe (FIFO)";
        case PathKind::CharacterDevice:
            return "not a regular file but a character device";
        case PathKind::BlockDevice:
            return "not a regular file but a block device";
        case PathKind::Socket:
            return "not a regular file but a socket";
        case PathKind::Link:
            return "not a regular file but a symbolic link";
        default:
            return "not a regular file";
    }
}

FileResult writeWholeFile(const std::string& path, std::string_view bytes, StreamTarget streams) {
    const PathStatus status = inspectPath(path);
    if (status.error != 0) return FileResult::failure(path, FileAction::Create, status.error);
    switch (status.kind) {
        case PathKind::Absent:
            return replaceWhole(path, bytes, 0666);
        case PathKind::Regular:
            // A file the engineer made read-only is not replaced behind their back; one that may
            // be written keeps its permissions.
            if (const int error = checkWritable(path); error != 0) {
                return FileResult::failure(path, FileAction::Create, error);
            }
            return replaceWhole(path, bytes, status.permissions);
        case PathKind::Directory:
            return FileResult::failure(path, FileAction::Create, EISDIR);
        case PathKind::Link: {
            // A link to a stream (/dev/stdout on a pipe) is that stream; any other link is
            // replaced, never written through.
            const PathStatus target = inspectTarget(path);
            if (isStream(target.kind)) return writeStream(path, bytes, streams, target.kind);
            return replaceWhole(path, bytes, 0666);
        }
        default:
            return writeStream(path, bytes, streams, status.kind);
    }
}

}  // namespace tessarin
