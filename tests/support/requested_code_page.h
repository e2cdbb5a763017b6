#pragma once
// The ANSI code page a CTest run asks for: it sets the locale that makes it
// Wine's and names it in OBRELLO_ACP; windows-1252 when it names none.

#include <cstdlib>

inline unsigned RequestedCodePage() {
    const char* wanted = std::getenv("OBRELLO_ACP");
    return wanted ? static_cast<unsigned>(std::atoi(wanted)) : 1252;
}
