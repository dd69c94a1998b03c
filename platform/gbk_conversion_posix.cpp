// GBK and UTF-8 through iconv.
#include <iconv.h>

#include <cerrno>
#include <stdexcept>

#include "platform/gbk_conversion.h"

namespace tessarin {

namespace {

// One iconv descriptor per direction and thread, opened on first use.
class Converter {
  public:
    Converter(const char* to, const char* from) : handle_(iconv_open(to, from)) {
        // (iconv_t)-1 is how iconv_open reports failure.
        if (handle_ == reinterpret_cast<iconv_t>(-1)) {  // NOLINT(performance-no-int-to-ptr)
            throw std::runtime_error(std::string("iconv cannot convert from ") + from + " to " +
                                     to);
        }
    }
    ~Converter() { iconv_close(handle_); }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    std::string convert(std::string_view input, std::string_view replacement) {
        iconv(handle_, nullptr, nullptr, nullptr, nullptr);  // back to the initial state
        std::string output;
        output.reserve(input.size() * 3 / 2 + 16);
        char chunk[4096];
        // iconv takes a non-const input pointer but never writes through it.
        char* in = const_cast<char*>(input.data());
        std::size_t inLeft = input.size();
        while (inLeft > 0) {
            char* out = chunk;
            std::size_t outLeft = sizeof chunk;
            const std::size_t rc = iconv(handle_, &in, &inLeft, &out, &outLeft);
            output.append(chunk, static_cast<std::size_t>(out - chunk));
            if (rc == static_cast<std::size_t>(-1)) {
                if (errno == E2BIG) continue;
                // EILSEQ or EINVAL (a truncated sequence at the end): replace one byte, go on.
                output.append(replacement);
                ++in;
                --inLeft;
                iconv(handle_, nullptr, nullptr, nullptr, nullptr);
            }
        }
        return output;
    }

  private:
    iconv_t handle_;
};

}  // namespace

std::string convertGbk(std::string_view input, GbkDirection direction) {
    if (direction == GbkDirection::ToGbk) {
        thread_local Converter converter("GBK", "UTF-8");
        return converter.convert(input, "?");
    }
    thread_local Converter converter("UTF-8", "GBK");
    return converter.convert(input, "\uFFFD");
}

}  // namespace tessarin
