#pragma once
// The Crypt composer: turns a URI, a description and two options into HTML in
// which the URI never appears in plain inside the anchor. Portable C++: no
// platform headers, no standard-library containers (the product stays tiny).

#include <stddef.h>

// Reads the character that starts at `text`, of which `available` bytes (at
// least one) remain, as the system's ANSI code page forms it. Returns its
// length in bytes and sets `codePoint` to its Unicode code point; returns 0
// when the bytes there form no valid character. The composer asks only about
// bytes from 0x80 up: every ANSI code page agrees with ASCII below that.
typedef size_t (*ReadCharacterFn)(const char* text, size_t available, unsigned long* codePoint);

struct CryptRequest {
    const char* uri;         // zero-terminated, any bytes 1..255
    const char* description; // zero-terminated, used only with generateHtml
    bool generateHtml;       // wrap the references in an anchor
    bool useScript;          // add the noscript/script form; needs generateHtml
    // Null: every byte is its own reference, as on windows-1252, where the
    // byte's value names the right character. Otherwise each character of the
    // URI becomes one reference to its code point, and the script's pieces
    // end on whole characters.
    ReadCharacterFn readCharacter = nullptr;
};

// Exact length in bytes, without the terminator, of what ComposeCryptedText
// returns for this request.
size_t CryptedTextLength(const CryptRequest& request);

// Composes the whole output text into storage allocated to fit it exactly,
// zero-terminated. Returns null only when that storage cannot be obtained.
// The caller releases the text with FreeCryptedText.
char* ComposeCryptedText(const CryptRequest& request);
void FreeCryptedText(char* text);

// Length of the "&#N;" run for the first `length` bytes of `uri`, byte by
// byte as on windows-1252.
size_t CharacterReferencesLength(const char* uri, size_t length);

// Writes the "&#N;" run for the first `length` bytes of `uri`, byte by byte,
// to `out`, which must have room for CharacterReferencesLength(uri, length)
// bytes; writes no terminator. Returns the position just past the last byte
// written. With a reader the composer writes one reference per character
// instead.
char* EncodeCharacterReferences(const char* uri, size_t length, char* out);
