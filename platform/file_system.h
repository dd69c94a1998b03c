#pragma once

#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

namespace tessarin {

// The program's file operations on the operating system. Every call to the system stands in
// platform/: this header (file_system_posix.cpp, file_system_windows.cpp), process.h and
// standard_streams.h. Paths are UTF-8 everywhere in the program; the Windows implementation
// converts them to UTF-16 at this edge and calls only the wide (...W) functions, so that a
// folder named 工程 works there as it does on Linux. Every failure is reported as an errno value
// (0 is success), translated once from the system's own codes; systemReason gives its text.

// Which file a path named at one moment: equal identities are the same file.
struct FileIdentity {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;

    friend bool operator==(const FileIdentity&, const FileIdentity&) = default;
};

// What stands at a path.
enum class PathKind {
    Absent,
    Regular,
    Link,
    Directory,
    NamedPipe,
    CharacterDevice,
    BlockDevice,
    Socket,
    Unknown,
};

// A terminal, pipe, device or socket: what takes bytes as they come rather than holding a file.
inline bool isStream(PathKind kind) {
    return kind == PathKind::NamedPipe || kind == PathKind::CharacterDevice ||
           kind == PathKind::BlockDevice || kind == PathKind::Socket;
}

struct PathStatus {
    int error = 0;  // a failure other than "nothing there" (a missing directory, no permission)
    PathKind kind = PathKind::Absent;
    FileIdentity identity;
    unsigned permissions = 0;  // the permission bits of what is there
};

// What stands at path itself: a link is a Link, never followed.
PathStatus inspectPath(const std::string& path);
// What path leads to, links followed (a dangling link is Absent).
PathStatus inspectTarget(const std::string& path);

// The text of an errno value ("No space left on device").
std::string systemReason(int errorNumber);

// Whether this process may write the existing file at path (0, or EACCES and the like).
int checkWritable(const std::string& path);
// Whether this process may make new files in the existing folder (0, or EACCES and the like).
int checkFolderWritable(const std::string& folder);
// Makes a folder and the folders above it that are missing; 0 also when it exists.
int createDirectories(const std::string& path);

// A path split at its last separator ("/", and "\" on Windows): the folder (empty for a bare
// name) and the name.
struct PathParts {
    std::string folder;
    std::string name;
};
PathParts splitPath(const std::string& path);

// Whether writing a whole file to each of two paths would write one file: the same regular file
// by identity (whatever links or spellings lead to it), or the same name in the same folder
// (compared as the file system compares names: without case on Windows). A terminal, a pipe or
// a device is a stream that many may write, not a file one would lose.
bool sameOutputFile(const std::string& first, const std::string& second);
// Whether path leads to the regular file file (links followed).
bool leadsTo(const std::string& path, const FileIdentity& file);

// The regular file standard output writes to; nullopt for a terminal, a pipe or a device.
std::optional<FileIdentity> standardOutputFile();

// A lock on a directory, held from acquire() until the object ends (or the process does: the
// system lets go of it when the holder dies, so it can never be left behind).
class DirectoryLock {
  public:
    DirectoryLock() = default;
    ~DirectoryLock();
    DirectoryLock(const DirectoryLock&) = delete;
    DirectoryLock& operator=(const DirectoryLock&) = delete;

    // Takes the lock without waiting: 0, EWOULDBLOCK when another holder has it, or the error
    // that kept the directory from being opened.
    int tryAcquire(const std::string& directory);
    void release();
    bool held() const { return handle_ >= 0; }

  private:
    int handle_ = -1;
};

// A file open for writing: created afresh (never an existing file, never through a link), or
// an existing stream (a terminal, a pipe, a device) written as it is.
class NewFile {
  public:
    NewFile() = default;
    ~NewFile();
    NewFile(const NewFile&) = delete;
    NewFile& operator=(const NewFile&) = delete;

    // Creates path (which must not exist) with the given permission bits, as the process's
    // file-creation mask allows them.
    int create(const std::string& path, unsigned permissions);
    // Opens the existing stream at path for writing; a pipe without a reader is an error at
    // once (ENXIO), never a wait.
    int openStream(const std::string& path);
    // Writes all of bytes, however the system splits the write: the program's one write loop.
    int write(std::string_view bytes);
    // Closes the file; a write error the system deferred (a network file system) shows here.
    int close();
    bool isOpen() const { return handle_ >= 0; }
    FileIdentity identity() const { return identity_; }

  private:
    int handle_ = -1;
    FileIdentity identity_;
};

// Renames from over to within one directory: to is replaced as it stands, a link included, and
// names a whole file at every instant, the old one or the new one.
int renameOver(const std::string& from, const std::string& to);
// Removes a file (or a link); 0 also when nothing was there.
int removeFile(const std::string& path);

// Waits the given number of milliseconds (while another run owns a report).
void pauseFor(int milliseconds);

// The whole content of the regular file at path. A link, a pipe or any other non-regular file is
// not opened for reading (a pipe would wait for a writer) and comes back as its kind.
struct RegularFileContent {
    int error = 0;
    PathKind kind = PathKind::Absent;  // Regular when read
    FileIdentity identity;
    std::string bytes;
};
RegularFileContent readRegularFile(const std::string& path);

// A file opened for reading as a C stream (binary: no line-end translation), whatever it is: a
// regular file, a pipe, /dev/stdin. The caller closes file.
struct InputStream {
    std::FILE* file = nullptr;
    int error = 0;
    PathKind kind = PathKind::Absent;
    FileIdentity identity;
    long long size = 0;  // of a regular file
};
InputStream openInputStream(const std::string& path);

// An unnamed temporary file for reading and writing, gone when closed or when the process ends:
// in the folder TMPDIR names (TMP or TEMP on Windows), else the system's. nullptr with error set
// when it cannot be made.
std::FILE* openTemporaryFile(int& error);

// A number that tells this process from the others running now (temporary file names).
unsigned long processNumber();
// Whether the process with that number has ended (its temporary files are leftovers); false
// while it runs and for a number no process could have.
bool processEnded(long long number);

// A fresh name for the temporary file of a whole-file write to target: "dir/name" ->
// "dir/.name.tmp<process>-<n>", hidden, beside the target so that the rename stays within one
// file system, and different on every call in every process.
std::string temporaryPathBeside(const std::string& target);

}  // namespace tessarin
