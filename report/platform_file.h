#pragma once

#include <cstddef>
#include <string>

namespace tessarin {

// How the report file is opened: read, created or overwritten in place, or appended to (an
// existing file only).
enum class FileAccess { Read, Write, Append };

// Opens name and makes it ours while it stays open: a writer holds it alone, readers share it
// with other readers only (flock on Linux, the open's share mode on Windows). Gives the file
// descriptor, binary (no line-end translation) and not inherited by child processes, or -1 with
// errno set: EWOULDBLOCK when another program holds the file.
int openOwnedFile(const char* name, FileAccess access);

// write(2): writes up to size bytes (the system may write fewer) and gives how many, or -1 with
// errno set.
long long writeSome(int fd, const char* data, std::size_t size);

// For files replaced as a whole (report/whole_file.cpp). Every descriptor is binary and not
// inherited; failures leave errno set.
//   createNewFile   a new file for writing; EEXIST when name exists
//   openForWriting  an existing file (a terminal, a pipe, a device) for writing as it is
//   resolvePath     the absolute name with links resolved; false when it cannot be had
//   setFileMode     the permission bits of an existing file kept (nothing to keep on Windows)
//   replaceFile     from renamed over to, replacing it
//   processEnded    true only when no process with that id runs (the system says so)
//   kPathSeparators what separates directories in a path name
int createNewFile(const char* name);
int openForWriting(const char* name);
bool resolvePath(const std::string& path, std::string& resolved);
bool setFileMode(int fd, unsigned mode);
bool replaceFile(const char* from, const char* to);
bool processEnded(long long pid);
#ifdef _WIN32
inline constexpr const char* kPathSeparators = "/\\";
#else
inline constexpr const char* kPathSeparators = "/";
#endif

}  // namespace tessarin
