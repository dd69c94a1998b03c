#pragma once

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

#include "book/book.h"

namespace tessarin {

// What every renderer of a book (HTML, PDF, Word) prints of its cover, in one place so that they
// agree word for word.

// The title page's table: 工程名称, 子项/设计号, 构件编号, 计算内容, 计算程序, 计算日期.
[[nodiscard]] std::vector<std::pair<std::string, std::string>> coverRows(const BookCover& cover);

// The signature block: 设计, 校对, 审核 with the names given (empty: signed by hand).
[[nodiscard]] std::vector<std::pair<std::string, std::string>> signatureRows(
    const BookCover& cover);

// The running header of every page after the title page: "工程名称：X　构件编号：KZ1", with the
// parts that are empty left out.
[[nodiscard]] std::string runningHeader(const BookCover& cover);

// "第 3 页 共 8 页".
[[nodiscard]] std::string pageFooter(int page, int pages);

// From this many columns on, a table is set in a smaller face to stay within the margins.
inline constexpr std::size_t kWideTableColumns = 6;

}  // namespace tessarin
