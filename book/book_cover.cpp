#include "book/book_cover.h"

namespace tessarin {

std::vector<std::pair<std::string, std::string>> coverRows(const BookCover& cover) {
    return {{"工程名称", cover.project}, {"子项 / 设计号", cover.subProject},
            {"构件编号", cover.column},  {"计算内容", cover.method},
            {"计算程序", cover.program}, {"计算日期", cover.date}};
}

std::vector<std::pair<std::string, std::string>> signatureRows(const BookCover& cover) {
    return {{"设计", cover.designer}, {"校对", cover.checker}, {"审核", cover.reviewer}};
}

std::string runningHeader(const BookCover& cover) {
    std::string text;
    if (!cover.project.empty()) text += "工程名称：" + cover.project;
    if (!cover.column.empty()) {
        if (!text.empty()) text += "　";
        text += "构件编号：" + cover.column;
    }
    return text;
}

std::string pageFooter(int page, int pages) {
    return "第 " + std::to_string(page) + " 页 共 " + std::to_string(pages) + " 页";
}

}  // namespace tessarin
