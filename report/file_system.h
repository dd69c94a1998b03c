#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tessarin {

// The few operating-system file operations the report file needs, in one place so that a port
// replaces one source file. Every operation reports failure as the system's error number (errno
// values; 0 is success) and never follows a symbolic link at the last component of a path.

// Which file a path named at one moment: equal identities are the same file.
struct FileIdentity {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;

    friend bool operator==(const FileIdentity&, const FileIdentity&) = default;
};

// What stands at a path, looked at without following a link.
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

struct PathStatus {
    int error = 0;  // a failure other than "nothing there" (a missing directory, no permission)
    PathKind kind = PathKind::Absent;
    FileIdentity identity;
    unsigned permissions = 0;  // the permission bits of what is there
};

PathStatus inspectPath(const std::string& path);

// Whether this process may write the existing file at path (0, or EACCES and the like).
int checkWritable(const std::string& path);

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

// A file created afresh for writing: never an existing file and never through a link.
class NewFile {
  public:
    NewFile() = default;
    ~NewFile();
    NewFile(const NewFile&) = delete;
    NewFile& operator=(const NewFile&) = delete;

    // Creates path (which must not exist) with the given permission bits, as the process's
    // file-creation mask allows them.
    int create(const std::string& path, unsigned permissions);
    // Writes all of bytes, however the system splits the write.
    int write(std::string_view bytes);
    // Closes the file; a write error the system deferred (a network file system) shows here.
    int close();
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

}  // namespace tessarin
