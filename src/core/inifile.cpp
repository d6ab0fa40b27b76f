#include "inifile.h"

#include "codepage.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cstdint>
#include <limits>

namespace quillon {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view trimBlanks(std::string_view s)
{
    while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
    return s;
}

bool equalsNoCaseAscii(std::string_view a, std::string_view b)
{
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (CodePage::upperAscii(a[i]) != CodePage::upperAscii(b[i])) return false;
    }
    return true;
}

bool isQuote(char c) { return c == '"' || c == '\''; }

bool hasLineBreak(std::string_view s) { return s.find_first_of("\r\n") != std::string_view::npos; }

// What a line is, read the way the profile functions read it.
struct LineInfo {
    enum Kind { Other, Section, Key } kind = Other;
    std::string_view name;
    std::size_t valueStart = 0;  // for a key: where the text after '=' begins
};

LineInfo classify(std::string_view line)
{
    const std::string_view text = trimBlanks(line);
    if (text.empty() || text.front() == ';') return {};
    if (text.front() == '[') {
        // A header without its ']' still opens the section, as on Windows.
        std::string_view name = text.substr(1);
        name = name.substr(0, name.find(']'));
        return {LineInfo::Section, trimBlanks(name), 0};
    }
    const std::size_t eq = line.find('=');
    if (eq == std::string_view::npos) return {};
    const std::string_view name = trimBlanks(line.substr(0, eq));
    if (name.empty()) return {};
    return {LineInfo::Key, name, eq + 1};
}

std::string decodeValue(std::string_view raw)
{
    std::string_view v = trimBlanks(raw);
    if (v.size() >= 2 && isQuote(v.front()) && v.back() == v.front()) v = v.substr(1, v.size() - 2);
    return std::string(v);
}

// A value that would lose blanks or a pair of quotes when read back is wrapped in one more pair of quotes.
std::string encodeValue(std::string_view value)
{
    const bool losesBlanks = !value.empty() && (isBlank(value.front()) || isBlank(value.back()));
    const bool losesQuotes = value.size() >= 2 && isQuote(value.front()) && value.back() == value.front();
    if (losesBlanks || losesQuotes) return '"' + std::string(value) + '"';
    return std::string(value);
}

bool isStorableSection(std::string_view section)
{
    return !hasLineBreak(section) && section.find(']') == std::string_view::npos &&
           trimBlanks(section) == section;
}

bool isStorableKey(std::string_view key)
{
    return !key.empty() && !hasLineBreak(key) && key.find('=') == std::string_view::npos &&
           key.front() != '[' && key.front() != ';' && trimBlanks(key) == key;
}

}  // namespace

IniFile IniFile::fromText(std::string_view text)
{
    IniFile ini;
    bool styleFound = false;
    while (!text.empty()) {
        const std::size_t lf = text.find('\n');
        Line line;
        if (lf == std::string_view::npos) {
            line.text = std::string(text);
            text = {};
        } else {
            const bool crlf = lf > 0 && text[lf - 1] == '\r';
            line.text = std::string(text.substr(0, crlf ? lf - 1 : lf));
            line.eol = crlf ? "\r\n" : "\n";
            text.remove_prefix(lf + 1);
            if (!styleFound) {
                ini.m_newline = line.eol;
                styleFound = true;
            }
        }
        ini.m_lines.push_back(std::move(line));
    }
    return ini;
}

IniFile::LoadResult IniFile::load(const QString& path)
{
    *this = IniFile();
    QFile file(path);
    if (!file.exists()) return LoadResult::Missing;
    // A directory opens on some systems but is never a settings file.
    if (QFileInfo(path).isDir() || !file.open(QIODevice::ReadOnly)) return LoadResult::Unreadable;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) return LoadResult::Unreadable;
    *this = fromText(std::string_view(bytes.constData(), std::size_t(bytes.size())));
    return LoadResult::Read;
}

bool IniFile::save(const QString& path) const
{
    QSaveFile file(path);
    // Unbuffered, so a short write (a full disk, a size limit) shows in write()'s count: Qt 6.4's buffered
    // QSaveFile commits a file cut short when its flush writes only part of the data.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) return false;
    const std::string bytes = text();
    if (file.write(bytes.data(), qint64(bytes.size())) != qint64(bytes.size())) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

std::string IniFile::text() const
{
    std::string out;
    for (const Line& line : m_lines) {
        out += line.text;
        out += line.eol;
    }
    return out;
}

std::optional<std::size_t> IniFile::findSection(std::string_view section) const
{
    for (std::size_t i = 0; i < m_lines.size(); ++i) {
        const LineInfo info = classify(m_lines[i].text);
        if (info.kind == LineInfo::Section && equalsNoCaseAscii(info.name, section)) return i;
    }
    return std::nullopt;
}

std::size_t IniFile::sectionEnd(std::size_t header) const
{
    for (std::size_t i = header + 1; i < m_lines.size(); ++i) {
        if (classify(m_lines[i].text).kind == LineInfo::Section) return i;
    }
    return m_lines.size();
}

std::optional<std::size_t> IniFile::findKey(std::size_t header, std::string_view key) const
{
    const std::size_t end = sectionEnd(header);
    for (std::size_t i = header + 1; i < end; ++i) {
        const LineInfo info = classify(m_lines[i].text);
        if (info.kind == LineInfo::Key && equalsNoCaseAscii(info.name, key)) return i;
    }
    return std::nullopt;
}

std::optional<std::string> IniFile::value(std::string_view section, std::string_view key) const
{
    const auto header = findSection(section);
    if (!header) return std::nullopt;
    const auto index = findKey(*header, key);
    if (!index) return std::nullopt;
    const std::string& text = m_lines[*index].text;
    return decodeValue(std::string_view(text).substr(classify(text).valueStart));
}

std::string IniFile::readString(std::string_view section, std::string_view key,
                                std::string_view defaultValue) const
{
    auto v = value(section, key);
    return v ? std::move(*v) : std::string(defaultValue);
}

int IniFile::readInteger(std::string_view section, std::string_view key, int defaultValue) const
{
    const auto v = value(section, key);
    if (!v) return defaultValue;
    return parseInteger(*v).value_or(defaultValue);
}

bool IniFile::readBool(std::string_view section, std::string_view key, bool defaultValue) const
{
    const auto v = value(section, key);
    if (!v) return defaultValue;
    const auto number = parseInteger(*v);
    return number ? *number != 0 : defaultValue;
}

std::optional<int> IniFile::parseInteger(std::string_view text)
{
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    int base = 10;
    if (text.size() >= 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text.remove_prefix(2);
    } else if (!text.empty() && text.front() == '$') {
        base = 16;
        text.remove_prefix(1);
    }
    if (text.empty()) return std::nullopt;

    const std::int64_t limit = negative ? -std::int64_t(std::numeric_limits<int>::min())
                                        : std::int64_t(std::numeric_limits<int>::max());
    std::int64_t magnitude = 0;
    for (const char c : text) {
        int digit;
        if (c >= '0' && c <= '9') {
            digit = c - '0';
        } else if (base == 16 && c >= 'a' && c <= 'f') {
            digit = c - 'a' + 10;
        } else if (base == 16 && c >= 'A' && c <= 'F') {
            digit = c - 'A' + 10;
        } else {
            return std::nullopt;
        }
        magnitude = magnitude * base + digit;
        if (magnitude > limit) return std::nullopt;
    }
    return int(negative ? -magnitude : magnitude);
}

void IniFile::insertLine(std::size_t at, std::string text)
{
    // The line before the new one may be a last line without a line break.
    if (at > 0 && m_lines[at - 1].eol.empty()) m_lines[at - 1].eol = m_newline;
    m_lines.insert(m_lines.begin() + std::ptrdiff_t(at), Line{std::move(text), m_newline});
}

bool IniFile::writeString(std::string_view section, std::string_view key, std::string_view value)
{
    if (!isStorableSection(section) || !isStorableKey(key) || hasLineBreak(value)) return false;
    const std::string encoded = encodeValue(value);

    const auto header = findSection(section);
    if (!header) {
        insertLine(m_lines.size(), '[' + std::string(section) + ']');
        insertLine(m_lines.size(), std::string(key) + '=' + encoded);
        return true;
    }

    if (const auto index = findKey(*header, key)) {
        // Keep the file's spelling of the key and its spacing around '='.
        std::string& text = m_lines[*index].text;
        std::size_t start = classify(text).valueStart;
        while (start < text.size() && isBlank(text[start])) ++start;
        text = text.substr(0, start) + encoded;
        return true;
    }

    // After the section's last line that is not blank, so blank lines that set off the next section stay
    // there.
    const std::size_t end = sectionEnd(*header);
    std::size_t at = *header + 1;
    for (std::size_t i = *header + 1; i < end; ++i) {
        if (!trimBlanks(m_lines[i].text).empty()) at = i + 1;
    }
    insertLine(at, std::string(key) + '=' + encoded);
    return true;
}

bool IniFile::writeInteger(std::string_view section, std::string_view key, int value)
{
    return writeString(section, key, std::to_string(value));
}

bool IniFile::writeBool(std::string_view section, std::string_view key, bool value)
{
    return writeString(section, key, value ? "1" : "0");
}

}  // namespace quillon
