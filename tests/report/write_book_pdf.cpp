// The standard-library PDF writer of the book as a program of the same shape as tessarin-book:
// a book (as serializeBook writes it) on stdin, the PDF on stdout. Put beside tessarin-cli under
// the name tessarin-book, it makes the books of the real command line on Linux exactly as
// tessarin-cli.exe makes them on Windows. Exit codes: 0 done, 2 the input is not a book, 3 the
// PDF could not be written.
#include <cstdio>
#include <iostream>
#include <iterator>
#include <string>

#include "book/book_pdf_std.h"
#include "book/book_serial.h"

int main() {
    std::ios::sync_with_stdio(false);
    const std::string text(std::istreambuf_iterator<char>(std::cin), {});
    const auto book = tessarin::parseBook(text);
    if (!book) {
        std::cerr << "write_book_pdf: the input is not a calculation book\n";
        return 2;
    }
    const std::string pdf = tessarin::renderBookPdfStd(*book);
    if (std::fwrite(pdf.data(), 1, pdf.size(), stdout) != pdf.size() || std::fflush(stdout) != 0) {
        std::cerr << "write_book_pdf: cannot write the PDF to stdout\n";
        return 3;
    }
    return 0;
}
