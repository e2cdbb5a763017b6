#pragma once
// Reads a composed output back the way a browser would see it, without the
// composer's code: fixed text must match in order, the reference run is
// decoded by hand, and raw parts are taken by their stated lengths. Shared by
// the property test and the fuzzer, so both hold the output to one reading.

#include <string>

// The script form's fixed text around its variable parts, in order.
inline const char* const kScriptParts[] = {
    "\r\n</noscript>\r\n<script language=JavaScript type=\"text/javascript\">\r\n<!--\r\nvar s1=\"",
    "\";\r\nvar s2=\"",
    "\";\r\nvar sDesc=\"",
    "\";\r\ndocument.write(\"<a h\"+\"ref=\\\"\"+s1+s2+\"",
    "\\\">\"+sDesc+\"</a>\");\r\n//-->\r\n</script>",
};

class CryptReader {
  public:
    explicit CryptReader(const std::string& text) : text_(text) {}

    // True when `text` is exactly the output for this request; otherwise
    // `why()` names the first part that did not read.
    bool Reads(const std::string& uri, const std::string& description, bool html, bool script) {
        script = html && script;
        const size_t n = uri.size();
        if (script) {
            Literal("<noscript>\r\n");
        }
        if (html) {
            Literal("<a href=\"");
        }
        Expect(References() == uri, "reference run");
        if (html) {
            Literal("\">");
            Expect(Raw(description.size()) == description, "anchor description");
            Literal("</a>");
        }
        if (script) {
            Literal(kScriptParts[0]);
            std::string pieces = Raw(n / 3);
            Literal(kScriptParts[1]);
            pieces += Raw(2 * n / 3 - n / 3);
            Literal(kScriptParts[2]);
            Expect(Raw(description.size()) == description, "script description");
            Literal(kScriptParts[3]);
            pieces += Raw(n - 2 * n / 3);
            Literal(kScriptParts[4]);
            Expect(pieces == uri, "script pieces");
        }
        Expect(at_ == text_.size(), "end of text");
        return why_.empty();
    }
    const std::string& why() const { return why_; }

  private:
    // Messages are built only on failure: Literal runs once per URI byte.
    void Expect(bool holds, const char* what) {
        if (!holds && why_.empty()) {
            why_ = std::string(what) + " at byte " + std::to_string(at_);
        }
    }
    void Literal(const char* expected) {
        const size_t length = std::char_traits<char>::length(expected);
        const bool matches = at_ <= text_.size() && text_.compare(at_, length, expected) == 0;
        Expect(matches, expected);
        at_ += length;
    }
    std::string Raw(size_t length) {
        std::string part = at_ < text_.size() ? text_.substr(at_, length) : std::string();
        at_ += length;
        return part;
    }
    // "&#N;" repeated: N in decimal, 1 to 255, no leading zeros.
    std::string References() {
        std::string decoded;
        while (at_ < text_.size() && text_.compare(at_, 2, "&#") == 0) {
            at_ += 2;
            unsigned value = 0;
            size_t digits = 0;
            for (; at_ < text_.size() && text_[at_] >= '0' && text_[at_] <= '9' && digits < 4;
                 ++at_, ++digits) {
                value = value * 10 + static_cast<unsigned>(text_[at_] - '0');
            }
            Expect(digits >= 1 && digits <= 3 && text_[at_ - digits] != '0', "reference digits");
            Expect(value >= 1 && value <= 255, "reference value");
            Literal(";");
            decoded += static_cast<char>(value);
        }
        return decoded;
    }

    const std::string& text_;
    size_t at_ = 0;
    std::string why_;
};
