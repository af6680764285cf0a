// Base64 text of a byte string (RFC 4648: standard alphabet, "=" padding, no line breaks), as the
// AUTH LOGIN exchange carries the user name and password.
#pragma once

#include <cstddef>
#include <string>

// Encodes `length` bytes of `text`; a null `text` encodes as the empty string.
std::string Base64Encode(const char* text, std::size_t length);
