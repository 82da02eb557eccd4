#include "params/Cp1251.h"

#include "params/AtomicFile.h"

#include <array>
#include <cstdint>
#include <fstream>
#include <sstream>
#include <vector>

namespace {

// Code points of the bytes 0x80..0xBF; 0xC0..0xFF are U+0410..U+044F. The
// byte 0x98 has no character in Windows-1251: it is held as the private-use
// code point U+F798 (U+F700 + the byte), which nothing else produces and which
// is written back as the same byte, so that no file text changes by being
// read and saved.
constexpr std::array<char32_t, 64> High = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, 0x20AC, 0x2030, 0x0409,
    0x2039, 0x040A, 0x040C, 0x040B, 0x040F, 0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0xF798, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, 0x00A0,
    0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7, 0x0401, 0x00A9, 0x0404, 0x00AB,
    0x00AC, 0x00AD, 0x00AE, 0x0407, 0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6,
    0x00B7, 0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457,
};

char32_t ByteToCodePoint(unsigned char b) {
    if (b < 0x80) return b;
    if (b >= 0xC0) return 0x0410 + (b - 0xC0);
    return High[b - 0x80];
}

int CodePointToByte(char32_t c) {
    if (c < 0x80) return int(c);
    if (c >= 0x0410 && c <= 0x044F) return int(0xC0 + (c - 0x0410));
    for (std::size_t i = 0; i < High.size(); ++i)
        if (High[i] == c) return int(0x80 + i);
    return -1;
}

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += char(c);
    } else if (c < 0x800) {
        out += char(0xC0 | (c >> 6));
        out += char(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += char(0xE0 | (c >> 12));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    } else {
        out += char(0xF0 | (c >> 18));
        out += char(0x80 | ((c >> 12) & 0x3F));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    }
}

// Decodes one UTF-8 sequence at i; returns U+FFFF-like -1 on malformed input
// and always advances.
long DecodeUtf8(std::string_view s, std::size_t& i) {
    const auto b0 = static_cast<unsigned char>(s[i]);
    int len = b0 < 0x80 ? 1 : (b0 >> 5) == 6 ? 2 : (b0 >> 4) == 14 ? 3 : (b0 >> 3) == 30 ? 4 : 0;
    if (len == 0 || i + std::size_t(len) > s.size()) {
        ++i;
        return -1;
    }
    char32_t c = len == 1 ? b0 : len == 2 ? (b0 & 0x1F) : len == 3 ? (b0 & 0x0F) : (b0 & 0x07);
    for (int k = 1; k < len; ++k) {
        const auto b = static_cast<unsigned char>(s[i + std::size_t(k)]);
        if ((b & 0xC0) != 0x80) {
            ++i;
            return -1;
        }
        c = (c << 6) | (b & 0x3F);
    }
    i += std::size_t(len);
    return long(c);
}

} // namespace

std::string Cp1251ToUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size() * 2);
    for (char ch : text)
        AppendUtf8(out, ByteToCodePoint(static_cast<unsigned char>(ch)));
    return out;
}

std::string Utf8ToCp1251(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const long c = DecodeUtf8(text, i);
        const int b = c < 0 ? -1 : CodePointToByte(char32_t(c));
        out += b < 0 ? '?' : char(b);
    }
    return out;
}

std::vector<std::string> SplitLines(std::string_view text) {
    std::vector<std::string> lines;
    std::string current;
    bool pending = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            lines.push_back(std::move(current));
            current.clear();
            pending = false;
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else {
            current += c;
            pending = true;
        }
    }
    if (pending) lines.push_back(std::move(current));
    return lines;
}

std::string JoinLinesCrLf(const std::vector<std::string>& lines) {
    std::string out;
    for (const auto& l : lines) {
        out += l;
        out += "\r\n";
    }
    return out;
}

bool ReadTextFile(const std::string& path, std::vector<std::string>& lines) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::ostringstream ss;
    ss << in.rdbuf();
    if (in.bad()) return false;
    lines = SplitLines(Cp1251ToUtf8(ss.str()));
    return true;
}

bool WriteTextFile(const std::string& path, const std::vector<std::string>& lines,
                   std::string* error) {
    std::string reason;
    const bool ok = ReplaceFileAtomically(path, Utf8ToCp1251(JoinLinesCrLf(lines)), reason);
    if (error) *error = reason;
    return ok;
}

std::string FoldCase(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        const std::size_t start = i;
        const long c = DecodeUtf8(utf8, i);
        if (c < 0) {
            out.append(utf8.substr(start, i - start));
            continue;
        }
        char32_t f = char32_t(c);
        if (f >= 'A' && f <= 'Z')
            f += 32;
        else if (f >= 0x0410 && f <= 0x042F)
            f += 0x20;
        else if (f >= 0x0400 && f <= 0x040F)
            f += 0x50;
        else if (f == 0x0490)
            f = 0x0491;
        AppendUtf8(out, f);
    }
    return out;
}

bool EqualsIgnoreCase(std::string_view a, std::string_view b) {
    return FoldCase(a) == FoldCase(b);
}
