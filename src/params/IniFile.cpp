#include "params/IniFile.h"

#include "params/Cp1251.h"

namespace {

std::string Trim(const std::string& s) {
    const auto b = s.find_first_not_of(" \t");
    if (b == std::string::npos) return {};
    const auto e = s.find_last_not_of(" \t");
    return s.substr(b, e - b + 1);
}

// The section name of a header line, or nothing.
std::optional<std::string> HeaderName(const std::string& line) {
    const std::string t = Trim(line);
    if (t.size() < 2 || t.front() != '[') return std::nullopt;
    const auto close = t.find(']');
    if (close == std::string::npos) return std::nullopt;
    return Trim(t.substr(1, close - 1));
}

// Key and value of a key line; comments and lines without "=" give nothing.
bool SplitKeyLine(const std::string& line, std::string& key, std::string& value) {
    const std::string t = Trim(line);
    if (t.empty() || t[0] == ';') return false;
    const auto eq = t.find('=');
    if (eq == std::string::npos) return false;
    key = Trim(t.substr(0, eq));
    value = Trim(t.substr(eq + 1));
    return !key.empty();
}

} // namespace

TIniFile::TIniFile(std::string path) : path_(std::move(path)) { Load(); }

bool TIniFile::Load() {
    lines_.clear();
    return ReadTextFile(path_, lines_);
}

bool TIniFile::Save() const { return WriteTextFile(path_, lines_); }

int TIniFile::FindSection(const std::string& section) const {
    for (std::size_t i = 0; i < lines_.size(); ++i)
        if (auto name = HeaderName(lines_[i]); name && EqualsIgnoreCase(*name, section))
            return int(i);
    return -1;
}

int TIniFile::SectionEnd(int header) const {
    std::size_t i = std::size_t(header) + 1;
    while (i < lines_.size() && !HeaderName(lines_[i])) ++i;
    return int(i);
}

std::vector<std::string> TIniFile::Sections() const {
    std::vector<std::string> out;
    for (const auto& l : lines_)
        if (auto name = HeaderName(l)) out.push_back(*name);
    return out;
}

bool TIniFile::HasSection(const std::string& section) const { return FindSection(section) >= 0; }

std::vector<std::string> TIniFile::Keys(const std::string& section) const {
    std::vector<std::string> out;
    const int h = FindSection(section);
    if (h < 0) return out;
    std::string key, value;
    for (int i = h + 1, e = SectionEnd(h); i < e; ++i)
        if (SplitKeyLine(lines_[std::size_t(i)], key, value)) out.push_back(key);
    return out;
}

std::optional<std::string> TIniFile::Read(const std::string& section, const std::string& key) const {
    const int h = FindSection(section);
    if (h < 0) return std::nullopt;
    std::string k, value;
    for (int i = h + 1, e = SectionEnd(h); i < e; ++i)
        if (SplitKeyLine(lines_[std::size_t(i)], k, value) && EqualsIgnoreCase(k, key)) return value;
    return std::nullopt;
}

std::string TIniFile::Read(const std::string& section, const std::string& key,
                           const std::string& fallback) const {
    return Read(section, key).value_or(fallback);
}

void TIniFile::Write(const std::string& section, const std::string& key, const std::string& value) {
    int h = FindSection(section);
    if (h < 0) {
        // A blank line before a new section, as the profile services write.
        if (!lines_.empty() && !Trim(lines_.back()).empty()) lines_.push_back("");
        lines_.push_back("[" + section + "]");
        lines_.push_back(key + "=" + value);
        return;
    }
    const int e = SectionEnd(h);
    std::string k, v;
    int lastKey = h;
    for (int i = h + 1; i < e; ++i) {
        if (!SplitKeyLine(lines_[std::size_t(i)], k, v)) continue;
        lastKey = i;
        if (EqualsIgnoreCase(k, key)) {
            lines_[std::size_t(i)] = k + "=" + value;
            return;
        }
    }
    lines_.insert(lines_.begin() + lastKey + 1, key + "=" + value);
}

void TIniFile::DeleteSection(const std::string& section) {
    const int h = FindSection(section);
    if (h < 0) return;
    lines_.erase(lines_.begin() + h, lines_.begin() + SectionEnd(h));
}
