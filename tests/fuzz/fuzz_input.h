#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace tessarin {

// Takes fixed-size values off the front of a fuzzer's input; zeros once it runs out.
class FuzzInput {
  public:
    FuzzInput(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    template <typename T>
    T take() {
        T value{};
        const std::size_t n = size_ < sizeof(T) ? size_ : sizeof(T);
        if (n > 0) std::memcpy(&value, data_, n);
        data_ += n;
        size_ -= n;
        return value;
    }

  private:
    const std::uint8_t* data_;
    std::size_t size_;
};

}  // namespace tessarin
