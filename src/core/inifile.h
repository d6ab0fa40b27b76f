#pragma once

#include <QString>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillon {

// An INI file with the semantics of the Windows profile functions, so that settings files written on either
// platform read the same: section and key names match without regard to the case of the letters a to z,
// values are trimmed of blanks and lose one matching pair of surrounding quotes, lines starting with ';' are
// comments. Writing a key changes only that key's line (or adds one line, or a section at the end of the
// file); every other byte of the file, its comments and its line-ending style are kept. Texts are plain
// bytes.
class IniFile final {
public:
    enum class LoadResult {
        Read,
        Missing,     // no such file: the contents are empty, which is what a new file starts from
        Unreadable,  // the file exists but could not be read: the contents are empty
    };

    IniFile() = default;
    // Contents given as the bytes of a file, lines ending in LF or CRLF.
    static IniFile fromText(std::string_view text);

    LoadResult load(const QString& path);
    // Writes through a temporary file that then replaces the old one, so a failed write leaves the old file
    // as it was. False when the file could not be written.
    bool save(const QString& path) const;
    // The bytes that save() writes.
    std::string text() const;

    // The value of the first key of that name in the first section of that name, or nothing.
    std::optional<std::string> value(std::string_view section, std::string_view key) const;
    std::string readString(std::string_view section, std::string_view key,
                           std::string_view defaultValue) const;
    // Decimal, or hexadecimal after "0x" or "$"; a missing key or a value that is not a number gives the
    // default.
    int readInteger(std::string_view section, std::string_view key, int defaultValue) const;
    // True for a non-zero integer, false for zero; a missing key or a value that is not a number gives the
    // default.
    bool readBool(std::string_view section, std::string_view key, bool defaultValue) const;

    // Replaces the key's value in place, or adds the key at the end of its section, or adds the section with
    // the key at the end of the file. Returns false and changes nothing when the names or the value cannot be
    // held by one line: line breaks anywhere, a key that is empty, contains '=' or starts with '[' or ';', a
    // section name with ']', names with surrounding blanks.
    bool writeString(std::string_view section, std::string_view key, std::string_view value);
    // Integers are written in decimal, booleans as 1 and 0.
    bool writeInteger(std::string_view section, std::string_view key, int value);
    bool writeBool(std::string_view section, std::string_view key, bool value);

    // An optional sign, then decimal digits, or "0x", "0X" or "$" and hexadecimal digits, and nothing else.
    // Values outside the range of int are not numbers.
    static std::optional<int> parseInteger(std::string_view text);

private:
    struct Line {
        std::string text;  // without the line break
        std::string eol;   // "\n", "\r\n", or empty for a last line without a line break
    };

    std::optional<std::size_t> findSection(std::string_view section) const;
    std::size_t sectionEnd(std::size_t header) const;
    std::optional<std::size_t> findKey(std::size_t header, std::string_view key) const;
    void insertLine(std::size_t at, std::string text);

    std::vector<Line> m_lines;
    // The line break of lines we add: the file's first one, LF for a new file.
    std::string m_newline = "\n";
};

}  // namespace quillon
