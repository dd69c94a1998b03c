#pragma once

#include <string>
#include <utility>

#include "book/book.h"

namespace tessarin {

// Appends blocks to a book, numbering chapters and sections as a calculation book numbers them:
// "3", "3.1".
class BookWriter {
  public:
    explicit BookWriter(Book& book) : book_(book) {}

    void heading(int level, std::string text) {
        std::string number;
        if (level == 1) {
            ++chapter_;
            section_ = 0;
            number = std::to_string(chapter_);
        } else {
            ++section_;
            number = std::to_string(chapter_) + "." + std::to_string(section_);
        }
        book_.blocks.emplace_back(BookHeading{level + offset, number + " " + std::move(text)});
    }
    void restartNumbering() { chapter_ = 0; }
    void unnumberedHeading(int level, std::string text) {
        book_.blocks.emplace_back(BookHeading{level, std::move(text)});
    }
    void paragraph(std::string text) { book_.blocks.emplace_back(BookParagraph{std::move(text)}); }
    void formula(std::string label, std::string formula, std::string substituted,
                 std::string result) {
        book_.blocks.emplace_back(BookFormula{std::move(label), std::move(formula),
                                              std::move(substituted), std::move(result)});
    }
    void table(BookTable table) { book_.blocks.emplace_back(std::move(table)); }
    void picture(BookPicture picture) { book_.blocks.emplace_back(std::move(picture)); }

    int offset = 0;  // chapters of a case become sections when the book holds several cases

  private:
    Book& book_;
    int chapter_ = 0;
    int section_ = 0;
};

}  // namespace tessarin
