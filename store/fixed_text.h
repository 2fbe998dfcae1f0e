// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <algorithm>
#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace corvane {

// Byte-for-byte equality of two short texts (ids, dive codes) by an inline loop: cheaper than
// a memcmp call for a few bytes, in comparisons that run once per record.
constexpr bool SameShortText(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (a[i] != b[i])
            return false;
    }
    return true;
}

// Text of at most N bytes held inside its owner; longer text is cut to its first N bytes.
// Any byte is kept as it is, NUL included, and comparisons are byte for byte.
template <std::size_t N> class FixedText {
    static_assert(N > 0 && N < 256);

public:
    constexpr FixedText() = default;
    constexpr FixedText(std::string_view text) { assign(text); }

    constexpr void assign(std::string_view text) {
        size_ = static_cast<std::uint8_t>(std::min(text.size(), N));
        std::copy_n(text.data(), size_, chars_.data());
    }
    // The first `size` bytes (at most eight) of `block`, eight bytes that the caller may read:
    // a copy of fixed width, where assign() must copy exactly `size` bytes. The bytes past
    // the text are cleared.
    void assign_from_block(const char* block, std::size_t size) {
        std::uint64_t word = 0;
        std::memcpy(&word, block, sizeof word);
        word &= kPrefixMasks[size];
        std::array<char, std::max<std::size_t>(N, sizeof word)> bytes{};
        std::memcpy(bytes.data(), &word, sizeof word);
        std::memcpy(chars_.data(), bytes.data(), N);
        size_ = static_cast<std::uint8_t>(std::min(size, N));
    }
    constexpr void clear() { size_ = 0; }

    constexpr std::string_view view() const { return {chars_.data(), size_}; }
    std::string str() const { return std::string(view()); }
    constexpr std::size_t size() const { return size_; }
    constexpr bool empty() const { return size_ == 0; }
    static constexpr std::size_t capacity() { return N; }

    friend constexpr bool operator==(const FixedText& a, const FixedText& b) {
        return a.view() == b.view();
    }
    friend constexpr bool operator==(const FixedText& a, std::string_view b) {
        return a.view() == b;
    }

private:
    // kPrefixMasks[n] keeps the first n bytes of a word as it lies in memory.
    static constexpr std::array<std::uint64_t, 9> kPrefixMasks = [] {
        std::array<std::uint64_t, 9> masks{};
        for (std::size_t n = 1; n < masks.size(); ++n) {
            const std::uint64_t byte = std::endian::native == std::endian::little
                                           ? std::uint64_t{0xFF} << (8 * (n - 1))
                                           : std::uint64_t{0xFF} << (8 * (8 - n));
            masks[n] = masks[n - 1] | byte;
        }
        return masks;
    }();

    std::array<char, N> chars_{};
    std::uint8_t size_ = 0;
};

} // namespace corvane
