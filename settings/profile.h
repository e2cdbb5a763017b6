#pragma once
// Profile (INI) file access: thin wrappers over the platform's private-profile
// functions, which parse, cache and write the files.

#include <stddef.h>

// Copies the value of key in section into output, cut to size - 1 bytes and
// terminated; copies fallback instead when the file, section or key is
// missing. fallback and output must not overlap: the platform does not
// promise to read the one it writes.
void ReadProfileValue(const char* section, const char* key, const char* fallback, char* output,
                      size_t size, const char* path);

// Whether the value of key in section holds characters that the ANSI code
// page cannot spell, which ReadProfileValue gives as the default character
// "?": only a Unicode file can hold such a value. False when it is missing.
bool ProfileValueIsUnspellable(const char* section, const char* key, const char* path);

// Sets key in section to value, creating file, section and key as needed.
void WriteProfileValue(const char* section, const char* key, const char* value, const char* path);

// Writes back any copy of the file the platform holds, so the next read sees
// the file as it is on disk.
void FlushProfile(const char* path);
