#pragma once
// What the program must show for one Crypt, written from the documented output
// format, around the reader's fixed script text, independently of the product's
// composer, for tests that compare whole outputs.

#include "tests/support/crypt_reader.h"

#include <string>

// URI "abcdefg", description "Contact", both options: the documented example.
inline const char kWorkedExample[] =
    "<noscript>\r\n"
    "<a href=\"&#97;&#98;&#99;&#100;&#101;&#102;&#103;\">Contact</a>\r\n"
    "</noscript>\r\n"
    "<script language=JavaScript type=\"text/javascript\">\r\n"
    "<!--\r\n"
    "var s1=\"ab\";\r\n"
    "var s2=\"cd\";\r\n"
    "var sDesc=\"Contact\";\r\n"
    "document.write(\"<a h\"+\"ref=\\\"\"+s1+s2+\"efg\\\">\"+sDesc+\"</a>\");\r\n"
    "//-->\r\n"
    "</script>";

inline std::string ExpectedCrypt(const std::string& uri, const std::string& description,
                                 bool generateHtml, bool useScript) {
    std::string references;
    for (unsigned char byte : uri) {
        references += "&#" + std::to_string(byte) + ";";
    }
    if (!generateHtml) {
        return references;
    }
    std::string anchor = "<a href=\"" + references + "\">" + description + "</a>";
    if (!useScript) {
        return anchor;
    }
    const size_t third = uri.size() / 3, twoThirds = 2 * uri.size() / 3;
    return "<noscript>\r\n" + anchor + kScriptParts[0] + uri.substr(0, third) + kScriptParts[1] +
           uri.substr(third, twoThirds - third) + kScriptParts[2] + description + kScriptParts[3] +
           uri.substr(twoThirds) + kScriptParts[4];
}
