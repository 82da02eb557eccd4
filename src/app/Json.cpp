#include "app/Json.h"

#include <cmath>
#include <cstdio>

#include "params/ValueText.h"

std::string TJsonWriter::Quote(std::string_view s) {
    std::string q = "\"";
    for (char ch : s) {
        const auto c = static_cast<unsigned char>(ch);
        switch (c) {
        case '"': q += "\\\""; break;
        case '\\': q += "\\\\"; break;
        case '\n': q += "\\n"; break;
        case '\r': q += "\\r"; break;
        case '\t': q += "\\t"; break;
        default:
            if (c < 0x20) {
                char buf[8];
                std::snprintf(buf, sizeof buf, "\\u%04x", c);
                q += buf;
            } else {
                q += ch;
            }
        }
    }
    return q + "\"";
}

TJsonWriter& TJsonWriter::Value(const std::string& raw) {
    if (!afterKey_ && !stack_.empty() && !first_) out_ += ',';
    first_ = false;
    afterKey_ = false;
    out_ += raw;
    return *this;
}

void TJsonWriter::Key(std::string_view key) {
    if (!first_) out_ += ',';
    first_ = false;
    out_ += Quote(key);
    out_ += ':';
    afterKey_ = true;
}

void TJsonWriter::Close(char c) {
    out_ += c;
    if (!stack_.empty()) stack_.pop_back();
    first_ = false;
}

void TJsonWriter::String(std::string_view s) { Value(Quote(s)); }

void TJsonWriter::Number(double v) {
    // JSON has no infinities or NaN.
    if (!std::isfinite(v)) {
        Null();
        return;
    }
    std::string text = FormatReal(v);
    // "1E-5" is valid JSON; a leading "." or "-." is not produced by FormatReal.
    Value(text);
}
