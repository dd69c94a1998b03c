#include "book/column_books.h"

#include <algorithm>

namespace tessarin {

ColumnBooks::ColumnBooks(std::string project, std::string date, FileNameOf fileNameOf, Write write)
    : project_(std::move(project)),
      date_(std::move(date)),
      fileNameOf_(std::move(fileNameOf)),
      write_(std::move(write)) {}

void ColumnBooks::add(const std::string& id, BookCase bookCase) {
    auto [it, added] = open_.try_emplace(id);
    if (added) order_.push_back(id);
    it->second.push_back(std::move(bookCase));
}

FileResult ColumnBooks::close(const std::string& id) {
    const auto it = open_.find(id);
    if (it == open_.end()) return FileResult::success();
    const std::vector<BookCase> cases = std::move(it->second);
    open_.erase(it);
    if (order_.front() == id) {
        order_.pop_front();
    } else {
        order_.erase(std::remove(order_.begin(), order_.end(), id), order_.end());
    }
    return write_(buildDesignBook(BookInfo{project_, id, date_}, cases),
                  fileNameOf_(id, cases.front().line));
}

FileResult ColumnBooks::closeAll() {
    while (!order_.empty()) {
        // A copy: the erase in close moves order_'s own elements.
        const std::string id = order_.front();
        FileResult result = close(id);
        if (!result.ok) return result;
    }
    return FileResult::success();
}

}  // namespace tessarin
