#pragma once

// Inside platform/ only: the write loop behind NewFile::write, also for the pipe to a helper
// program.
#include <string_view>

namespace tessarin {

// Writes all of bytes to the descriptor, however the system splits the write; 0 or the errno.
int writeToDescriptor(int descriptor, std::string_view bytes);

}  // namespace tessarin
