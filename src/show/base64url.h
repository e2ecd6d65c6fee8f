#pragma once
// Base64url without padding (RFC 4648, section 5): bytes as the letters,
// digits, '-' and '_' that an address carries unescaped.

#include <string>
#include <string_view>

std::string encodeBase64url(std::string_view bytes);

// False for a character outside the alphabet or a length no encoding has
// (one character past a group of four).
bool decodeBase64url(std::string_view text, std::string& bytes);
