#include "report/report_file.h"

#include <cerrno>
#include <utility>

#include "platform/whole_file.h"

namespace tessarin {

namespace {

ReportFaultHook faultHook = nullptr;

int injectedError(ReportWriteStage stage) {
    return faultHook != nullptr ? faultHook(stage) : 0;
}

constexpr const char* kReplacedReason = "the report was replaced by another program";
constexpr const char* kChangedReason = "the report was changed by another program";

// A read of the regular file at path, or the failure that says why there is none.
ReportContent readWhole(const std::string& path, RegularFileContent& read) {
    ReportContent content;
    read = readRegularFile(path);
    if (read.error != 0) {
        content.result = FileResult::failure(path, FileAction::Read, read.error);
    } else if (read.kind == PathKind::Directory) {
        content.result = FileResult::failure(path, FileAction::Read, EISDIR);
    } else if (read.kind != PathKind::Regular) {
        content.result = FileResult::refusal(path, FileAction::Read, notRegularReason(read.kind));
    } else {
        content.bytes = std::move(read.bytes);
    }
    return content;
}

}  // namespace

void setReportFaultHook(ReportFaultHook hook) {
    faultHook = hook;
}

ReportContent readReport(const std::string& path) {
    RegularFileContent read;
    return readWhole(path, read);
}

ReportFile::ReportFile(std::string path, std::chrono::milliseconds ownerWait)
    : path_(std::move(path)), ownerWait_(ownerWait) {
    const PathParts parts = splitPath(path_);
    directory_ = parts.folder.empty() ? "." : parts.folder;
    // Beside the report, so that the rename stays within one file system; hidden, and one name
    // per report, so a killed run leaves at most one behind for the next run to clear.
    const std::string hidden = "." + parts.name + ".tessarin-tmp";
    temporary_ = parts.folder.empty() ? hidden
                 : parts.folder.back() == '/' || parts.folder.back() == '\\'
                     ? parts.folder + hidden
                     : parts.folder + "/" + hidden;
}

FileResult ReportFile::own() {
    if (lock_.held()) return FileResult::success();
    const auto deadline = std::chrono::steady_clock::now() + ownerWait_;
    while (true) {
        const int error = lock_.tryAcquire(directory_);
        if (error == 0) return FileResult::success();
        if (error != EWOULDBLOCK) return FileResult::failure(path_, FileAction::Create, error);
        if (std::chrono::steady_clock::now() >= deadline) {
            return FileResult::refusal(path_, FileAction::Create, kReportInUse);
        }
        pauseFor(10);
    }
}

FileResult ReportFile::replace(const std::string& bytes) {
    if (FileResult owned = own(); !owned.ok) return owned;
    const PathStatus status = inspectPath(path_);
    if (status.error != 0) return FileResult::failure(path_, FileAction::Create, status.error);
    unsigned permissions = 0666;
    switch (status.kind) {
        case PathKind::Absent:
        case PathKind::Link:  // replaced as a link, never written through
            break;
        case PathKind::Regular:
            // A report the engineer made read-only is not replaced behind their back; one that
            // may be written keeps its permissions.
            if (const int error = checkWritable(path_); error != 0) {
                return FileResult::failure(path_, FileAction::Create, error);
            }
            permissions = status.permissions;
            break;
        case PathKind::Directory:
            return FileResult::failure(path_, FileAction::Create, EISDIR);
        default:
            return FileResult::refusal(path_, FileAction::Create, notRegularReason(status.kind));
    }
    return writeWhole(bytes, FileAction::Create, permissions);
}

FileResult ReportFile::extend(const std::string& bytes) {
    const PathStatus status = inspectPath(path_);
    if (status.error != 0) return FileResult::failure(path_, FileAction::Append, status.error);
    switch (status.kind) {
        case PathKind::Absent:
            return FileResult::failure(path_, FileAction::Append, ENOENT);
        case PathKind::Directory:
            return FileResult::failure(path_, FileAction::Append, EISDIR);
        case PathKind::Regular:
            break;
        default:
            return FileResult::refusal(path_, FileAction::Append, notRegularReason(status.kind));
    }
    if (!written_ || status.identity != writtenIdentity_) {
        return FileResult::refusal(path_, FileAction::Append, kReplacedReason);
    }
    if (const int error = checkWritable(path_); error != 0) {
        return FileResult::failure(path_, FileAction::Append, error);
    }
    return writeWhole(bytes, FileAction::Append, status.permissions);
}

FileResult ReportFile::writeWhole(const std::string& bytes, FileAction action,
                                  unsigned permissions) {
    // Creating the file is the step-1 "create"; writing it is "write" in step 1, "append" in 2.
    const FileAction writing = action == FileAction::Create ? FileAction::Write : action;
    if (const int error = removeFile(temporary_); error != 0) {
        return FileResult::failure(path_, action, error);
    }
    NewFile file;
    if (const int error = file.create(temporary_, permissions); error != 0) {
        return FileResult::failure(path_, action, error);
    }
    const std::string_view all(bytes);
    const std::size_t half = all.size() / 2;
    int error = injectedError(ReportWriteStage::TemporaryCreated);
    if (error == 0) error = file.write(all.substr(0, half));
    if (error == 0) error = injectedError(ReportWriteStage::HalfWritten);
    if (error == 0) error = file.write(all.substr(half));
    if (const int closed = file.close(); error == 0) error = closed;
    if (error == 0) error = injectedError(ReportWriteStage::Written);
    if (error == 0) error = renameOver(temporary_, path_);
    if (error != 0) {
        removeFile(temporary_);
        return FileResult::failure(path_, writing, error);
    }
    // The report is replaced; what a test does here can only be a stop, not a failure.
    injectedError(ReportWriteStage::Renamed);
    written_ = true;
    writtenIdentity_ = file.identity();
    writtenBytes_ = bytes;
    return FileResult::success();
}

ReportContent ReportFile::readBack() const {
    RegularFileContent read;
    ReportContent content = readWhole(path_, read);
    if (!content.result.ok) return content;
    if (!written_ || read.identity != writtenIdentity_ || content.bytes != writtenBytes_) {
        content.result = FileResult::refusal(path_, FileAction::Read, kChangedReason);
        content.bytes.clear();
    }
    return content;
}

}  // namespace tessarin
