#pragma once

#include <cstddef>

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

}  // namespace tessarin
