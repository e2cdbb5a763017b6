#pragma once
// Bounded text assembly for the fixed-size path buffers: a result that does
// not fit is refused whole, never cut, so no file is ever opened under a
// shortened name.

#include <stddef.h>

// Writes first + second + third (any may be null) to out, zero-terminated, if
// the result fits in capacity bytes; otherwise writes the empty text and
// returns false.
bool JoinText(char* out, size_t capacity, const char* first, const char* second = nullptr,
              const char* third = nullptr);

// Copies source into out, cut to capacity - 1 bytes and terminated.
void CopyTextCut(char* out, size_t capacity, const char* source);
