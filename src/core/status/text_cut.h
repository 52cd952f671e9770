#pragma once

#include <cstddef>
#include <string_view>

namespace kivo {

// The longest start of `text` of at most `max_bytes` bytes that does not end inside a UTF-8
// multi-byte sequence. Modem texts are ASCII or UTF-8; a byte of another single-byte character
// set is a character of its own and is never dropped unless the cut falls right behind it.
std::string_view cut_at_character_boundary(std::string_view text, std::size_t max_bytes);

}  // namespace kivo
