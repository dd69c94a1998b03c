#pragma once

#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "book/design_book.h"
#include "platform/file_result.h"

namespace tessarin {

// The books of a batch: one per column id, holding every accepted combination of that id in the
// order of the file. A batch adds each designed row and closes an id once its last row has come
// (at once when the rows of an id stand together, at the end otherwise); closing writes the book
// and frees what was held for it.
class ColumnBooks {
  public:
    // fileNameOf gives the book's path for an id and the line of its first combination (the
    // batch's safe names); write puts a book there (HTML or PDF by the name) and returns what
    // happened.
    using FileNameOf = std::function<std::string(const std::string& id, long long firstLine)>;
    using Write = std::function<FileResult(const Book& book, const std::string& path)>;

    ColumnBooks(std::string project, std::string date, FileNameOf fileNameOf, Write write);

    void add(const std::string& id, BookCase bookCase);
    // Writes the id's book if it holds any combination; success when there is none.
    FileResult close(const std::string& id);
    // Closes every id still open, in the order the ids first appeared; stops at the first
    // failure.
    FileResult closeAll();

  private:
    std::string project_;
    std::string date_;
    FileNameOf fileNameOf_;
    Write write_;
    std::map<std::string, std::vector<BookCase>> open_;
    // The open ids in the order they first appeared; a batch closes them in that order.
    std::deque<std::string> order_;
};

}  // namespace tessarin
