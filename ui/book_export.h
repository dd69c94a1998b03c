#pragma once

#include <QString>
#include <string>

#include "book/book.h"
#include "platform/file_result.h"

class QWidget;

namespace tessarin {

// "导出计算书…": asks for a file with a file dialog (HTML, PDF or Word, by the chosen filter or
// the typed suffix) and writes the book there, whole or not at all. A book that cannot be written
// is shown in a message box with the file name and the reason. Returns the file written, or an
// empty string when the engineer cancelled or the writing failed. Any dialog that holds a design
// can offer its book through this one function.
QString exportCalculationBook(QWidget* parent, const Book& book, const QString& suggestedName);

// Writes the book to path; a failure is shown in a message box over parent with the file name and
// the reason. Returns whether the book was written.
bool saveCalculationBook(QWidget* parent, const Book& book, const QString& path);

// Writes the book to path as HTML, Word or PDF (in this process, with Qt's PDF writer) by its
// suffix.
FileResult writeCalculationBook(const Book& book, const std::string& path);

}  // namespace tessarin
