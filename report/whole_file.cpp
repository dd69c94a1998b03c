#include "report/whole_file.h"

#include <cerrno>

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

FileResult replaceWhole(const std::string& path, std::string_view bytes, unsigned permissions) {
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
