// tessarin-book: the PDF writer of the calculation book, a program of its own so that the
// command line stays free of Qt. It reads a book (as serializeBook writes it) on stdin and
// writes the PDF on stdout. Exit codes: 0 done, 2 the input is not a book (or larger than any
// book, 64 MiB), 3 no PDF (or not within 100 s).
#include <QGuiApplication>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>
#include <thread>

#include "book/book_serial.h"
#include "book_pdf/book_pdf.h"

namespace {

// The largest input taken (a calculation book is a few hundred kilobytes) and the longest a run
// may take: whatever it is given, the writer ends.
constexpr std::size_t kMaxInputBytes = std::size_t{64} << 20;
constexpr std::chrono::seconds kMaxTime{100};

// Qt's notes about the environment (no XDG runtime directory in a service) are no business of the
// engineer's; everything else goes to stderr.
void forwardMessage(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtDebugMsg || type == QtInfoMsg) return;
    if (message.startsWith(QLatin1String("QStandardPaths:"))) return;
    std::cerr << "tessarin-book: " << message.toStdString() << '\n';
}

}  // namespace

int main(int argc, char** argv) {
    qInstallMessageHandler(forwardMessage);
    // No window is ever shown: without a display the offscreen platform serves the fonts.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    std::ios::sync_with_stdio(false);
    // Binary streams: on Windows the text mode would turn every LF of the PDF into CR LF.
    if (std::freopen(nullptr, "rb", stdin) == nullptr) {
        std::cerr << "tessarin-book: cannot read stdin\n";
        return 2;
    }
    std::thread([] {
        std::this_thread::sleep_for(kMaxTime);
        std::fputs("tessarin-book: no PDF within 100 s\n", stderr);
        std::_Exit(3);
    }).detach();
    std::string text;
    char chunk[65536];
    while (std::cin.read(chunk, sizeof chunk) || std::cin.gcount() > 0) {
        text.append(chunk, static_cast<std::size_t>(std::cin.gcount()));
        if (text.size() > kMaxInputBytes) {
            std::cerr << "tessarin-book: the input is larger than 64 MiB, no calculation book\n";
            return 2;
        }
    }
    const auto book = tessarin::parseBook(text);
    if (!book) {
        std::cerr << "tessarin-book: the input is not a calculation book\n";
        return 2;
    }
    std::string pdf, error;
    if (!tessarin::renderBookPdf(*book, pdf, error)) {
        std::cerr << "tessarin-book: " << error << '\n';
        return 3;
    }
    if (std::freopen(nullptr, "wb", stdout) == nullptr ||
        std::fwrite(pdf.data(), 1, pdf.size(), stdout) != pdf.size() || std::fflush(stdout) != 0) {
        std::cerr << "tessarin-book: cannot write the PDF to stdout\n";
        return 3;
    }
    return 0;
}
