#pragma once

// UTF-8 one character at a time, for the parser's check of pasted text and
// for echoing an expression with a caret under the right character.

#include <cstddef>
#include <string_view>

namespace dice::utf8
{

// The length of the character that starts at `at`, setting its code point,
// or 0 when the byte there starts no valid character: overlong forms,
// surrogates and cut sequences are not text.
inline std::size_t Next(std::string_view text, std::size_t at, char32_t &code)
{
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[at + i]); };
    const unsigned lead = byte(0);
    std::size_t length = 1;
    char32_t least = 0;
    if (lead < 0x80) {
        code = lead;
        return 1;
    } else if ((lead & 0xE0) == 0xC0) {
        length = 2;
        least = 0x80;
        code = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3;
        least = 0x800;
        code = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4;
        least = 0x10000;
        code = lead & 0x07;
    } else {
        return 0;
    }
    if (text.size() - at < length)
        return 0;
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0) != 0x80)
            return 0;
        code = (code << 6) | (byte(i) & 0x3F);
    }
    if (code < least || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
        return 0;
    return length;
}

} // namespace dice::utf8
