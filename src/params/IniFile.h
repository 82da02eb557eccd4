#pragma once

#include <optional>
#include <string>
#include <vector>

// A profile (INI) file: "[section]" headers and "key=value" lines, stored in
// Windows-1251 with CR LF. Sections and keys match without regard to letter
// case; lines of other forms are kept as they are. A missing file reads as
// empty and is created by the first save.
class TIniFile {
public:
    TIniFile() = default;
    explicit TIniFile(std::string path);

    const std::string& Path() const { return path_; }
    bool Load();
    bool Save() const;

    std::vector<std::string> Sections() const;
    bool HasSection(const std::string& section) const;
    std::vector<std::string> Keys(const std::string& section) const;
    std::optional<std::string> Read(const std::string& section, const std::string& key) const;
    std::string Read(const std::string& section, const std::string& key,
                     const std::string& fallback) const;
    // Creates the section and the key as needed; changes memory only.
    void Write(const std::string& section, const std::string& key, const std::string& value);
    void DeleteSection(const std::string& section);

    // The file's lines (UTF-8).
    const std::vector<std::string>& Lines() const { return lines_; }

private:
    // Index of the header line of the section, -1 when absent.
    int FindSection(const std::string& section) const;
    // One past the section's last line.
    int SectionEnd(int header) const;

    std::string path_;
    std::vector<std::string> lines_;
};
