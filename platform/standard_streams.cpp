#include "platform/standard_streams.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>
// after windows.h
#include <shellapi.h>

#include <cstdio>
#include <cstring>
#include <iostream>
#include <streambuf>
#include <string>

#include "platform/wide_text.h"
#else
#include <unistd.h>
#endif

namespace tessarin {

#ifdef _WIN32

namespace {

bool isConsole(HANDLE handle) {
    DWORD mode = 0;
    return handle != INVALID_HANDLE_VALUE && handle != nullptr && GetConsoleMode(handle, &mode);
}

// The length of the part of text that ends on a character boundary: a UTF-8 sequence cut off
// at the end waits for the rest of its bytes.
std::size_t completeLength(const char* text, std::size_t size) {
    for (std::size_t back = 1; back <= 3 && back <= size; ++back) {
        const auto byte = static_cast<unsigned char>(text[size - back]);
        if (byte < 0x80) return size;  // ASCII: nothing is cut off
        if (byte < 0xC0) continue;     // a continuation byte: look further back
        const std::size_t length = byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : 2;
        return length > back ? size - back : size;
    }
    return size;
}

// Writes UTF-8 text to a console as UTF-16.
class ConsoleBuffer : public std::streambuf {
  public:
    explicit ConsoleBuffer(HANDLE console) : console_(console) {
        setp(buffer_, buffer_ + sizeof buffer_);
    }

  protected:
    int_type overflow(int_type c) override {
        if (!writeOut()) return traits_type::eof();
        if (!traits_type::eq_int_type(c, traits_type::eof())) {
            *pptr() = traits_type::to_char_type(c);
            pbump(1);
        }
        return traits_type::not_eof(c);
    }

    int sync() override { return writeOut() ? 0 : -1; }

  private:
    bool writeOut() {
        const auto size = static_cast<std::size_t>(pptr() - pbase());
        const std::size_t complete = completeLength(pbase(), size);
        bool ok = true;
        if (complete > 0) {
            const int count = static_cast<int>(complete);
            const int length = MultiByteToWideChar(CP_UTF8, 0, pbase(), count, nullptr, 0);
            std::wstring wide(static_cast<std::size_t>(length > 0 ? length : 0), L'\0');
            MultiByteToWideChar(CP_UTF8, 0, pbase(), count, wide.data(), length);
            const wchar_t* next = wide.data();
            DWORD left = static_cast<DWORD>(wide.size());
            while (ok && left > 0) {
                DWORD written = 0;
                ok = WriteConsoleW(console_, next, left, &written, nullptr) && written > 0;
                next += written;
                left -= written;
            }
        }
        // The cut-off sequence moves to the front.
        const std::size_t rest = size - complete;
        std::memmove(buffer_, pbase() + complete, rest);
        setp(buffer_, buffer_ + sizeof buffer_);
        pbump(static_cast<int>(rest));
        return ok;
    }

    HANDLE console_;
    char buffer_[4096];
};

void prepare(FILE* file, DWORD standardHandle, std::ostream& stream) {
    _setmode(_fileno(file), _O_BINARY);
    HANDLE handle = GetStdHandle(standardHandle);
    if (!isConsole(handle)) return;
    // Lives as long as the program: the stream may still be flushed while statics are destroyed.
    stream.rdbuf(new ConsoleBuffer(handle));  // NOLINT(cppcoreguidelines-owning-memory)
}

}  // namespace

void prepareStandardStreams() {
    prepare(stdout, STD_OUTPUT_HANDLE, std::cout);
    prepare(stderr, STD_ERROR_HANDLE, std::cerr);
}

bool standardErrorIsTerminal() {
    return isConsole(GetStdHandle(STD_ERROR_HANDLE));
}

std::vector<std::string> commandLineArguments(int argc, char** argv) {
    std::vector<std::string> arguments(argv + 1, argv + argc);
    int count = 0;
    LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (wide == nullptr) return arguments;
    // wide[i] is argv[i], that is arguments[i - 1]: every one as UTF-8, file names included
    // (platform/ gives them to the wide file functions).
    if (count == argc) {
        for (std::size_t i = 1; i < arguments.size() + 1; ++i) arguments[i - 1] = utf8Text(wide[i]);
    }
    LocalFree(wide);
    return arguments;
}

#else

std::vector<std::string> commandLineArguments(int argc, char** argv) {
    return {argv + 1, argv + argc};
}

void prepareStandardStreams() {}

bool standardErrorIsTerminal() {
    return ::isatty(STDERR_FILENO) != 0;
}

#endif

}  // namespace tessarin
