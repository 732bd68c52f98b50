#pragma once
// The strict UTF-8 check of a loaded text.
#include <cstddef>
#include <string_view>

// True when `bytes` are well-formed UTF-8 throughout: no invalid, overlong or truncated
// sequence, no encoded surrogate, nothing above U+10FFFF. NUL bytes are characters here.
// This is simdjson's validator, the widest one the processor runs, chosen at run time.
bool CheckUtf8(std::string_view bytes);
// The same check one byte or sequence at a time: the plain statement of the rules, which the
// tests hold the fast check to.
bool CheckUtf8OneByOne(std::string_view bytes);

// The end of a piece of about `size` bytes of `bytes` from `from` on, placed at the start of a
// sequence so that the pieces can be checked one by one: moved back, or forward when the
// piece is too short for that. Where more than three continuation bytes follow each other
// any end will do: the bytes are no UTF-8 on either side.
size_t Utf8PieceEnd(std::string_view bytes, size_t from, size_t size);
