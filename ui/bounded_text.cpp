#include "ui/bounded_text.h"

#include <string.h>

bool JoinText(char* out, size_t capacity, const char* first, const char* second,
              const char* third) {
    const char* parts[] = {first, second, third};
    size_t total = 0;
    for (const char* part : parts) {
        if (part) {
            total += strlen(part);
        }
    }
    if (capacity == 0) {
        return false;
    }
    out[0] = '\0';
    if (total >= capacity) {
        return false;
    }
    char* end = out;
    for (const char* part : parts) {
        if (part) {
            size_t length = strlen(part);
            memcpy(end, part, length);
            end += length;
        }
    }
    *end = '\0';
    return true;
}

void CopyTextCut(char* out, size_t capacity, const char* source) {
    if (capacity == 0) {
        return;
    }
    size_t length = strlen(source);
    if (length >= capacity) {
        length = capacity - 1;
    }
    memmove(out, source, length);
    out[length] = '\0';
}
