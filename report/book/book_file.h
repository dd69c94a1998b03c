#pragma once

#include <string>
#include <string_view>

#include "engine/file_result.h"

namespace tessarin {

// Writes a whole file at once: the bytes go to a temporary file beside it, which then replaces
// the file by a rename, so the file is at every instant either what it was or the new content,
// never a part. A path that names a directory or another file that is not a regular file
// (a device, a pipe) is refused; nothing is left behind on failure.
FileResult writeWholeFile(const std::string& path, std::string_view bytes);

// Whether writeWholeFile could put a file at path: not a directory or another non-regular file,
// and its folder exists and takes new files. Lets a command refuse a bad path before it does
// anything else.
FileResult checkWritablePath(const std::string& path);

// What a book's file name asks for, by its suffix (case-insensitive): .pdf is a PDF, .html and
// .htm are HTML, and a name with neither (unknown) is written as HTML too.
enum class BookFormat { html, pdf, unknown };
BookFormat bookFormatOf(std::string_view path);

}  // namespace tessarin
