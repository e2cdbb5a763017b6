#pragma once
// The Crypt composer: turns a URI, a description and two options into HTML in
// which the URI never appears in plain inside the anchor. Portable C++: no
// platform headers, no standard-library containers (the product stays tiny).

#include <stddef.h>

struct CryptRequest {
    const char* uri;         // zero-terminated, any bytes 1..255
    const char* description; // zero-terminated, used only with generateHtml
    bool generateHtml;       // wrap the references in an anchor
    bool useScript;          // add the noscript/script form; needs generateHtml
};

// Exact length in bytes, without the terminator, of what ComposeCryptedText
// returns for this request.
size_t CryptedTextLength(const CryptRequest& request);

// Composes the whole output text into storage allocated to fit it exactly,
// zero-terminated. Returns null only when that storage cannot be obtained.
// The caller releases the text with FreeCryptedText.
char* ComposeCryptedText(const CryptRequest& request);
void FreeCryptedText(char* text);

// Length of the "&#N;" run for the first `length` bytes of `uri`.
size_t CharacterReferencesLength(const char* uri, size_t length);

// Writes the "&#N;" run for the first `length` bytes of `uri` to `out`, which
// must have room for CharacterReferencesLength(uri, length) bytes; writes no
// terminator. Returns the position just past the last byte written.
char* EncodeCharacterReferences(const char* uri, size_t length, char* out);
