#pragma once

namespace tessarin {

// A handle or pointer that a window message carries in one of its integer parameters (WPARAM,
// LPARAM, LRESULT, a window's LONG_PTR): the Win32 API's own form, in one place.
template <typename Pointer, typename Integer>
Pointer fromParameter(Integer value) {
    // NOLINTNEXTLINE(performance-no-int-to-ptr): the API passes handles and pointers as integers
    return reinterpret_cast<Pointer>(value);
}

}  // namespace tessarin
