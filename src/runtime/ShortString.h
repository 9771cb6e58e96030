#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace portolan {

// A text of at most N single-byte characters, stored as one length byte followed by N character bytes:
// exactly the N + 1 bytes it occupies in a record on disk. Only the first `length` characters carry
// meaning; the bytes behind them are whatever the field held before.
template <std::size_t N>
struct ShortString {
    static_assert(N >= 1 && N <= 255, "a length byte counts at most 255 characters");
    static constexpr std::size_t capacity = N;

    std::uint8_t length;
    char chars[N];

    // The stored text. A length byte above N (a file written elsewhere) reads as N, so no character is
    // ever taken from outside the field.
    std::string_view text() const { return {chars, std::min<std::size_t>(length, N)}; }

    // Stores the first N characters of text: writes the length byte and those characters, and leaves the
    // bytes behind them as they were.
    void assign(std::string_view text) {
        const std::size_t count = std::min(text.size(), N);
        length = static_cast<std::uint8_t>(count);
        if (count > 0)
            std::memcpy(chars, text.data(), count);
    }
};

} // namespace portolan
