#include "volumename.h"

#include <cstdint>

namespace quillon {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

bool isEscaped(char c)
{
    switch (c) {
    case '\\': case '/': case ':': case '*': case '?': case '"': case '<': case '>': case '|': return true;
    default: return false;
    }
}

}  // namespace

EncodedName EncodeVolumeName(std::string_view name)
{
    EncodedName result;
    for (std::size_t i = 0; i + 1 < name.size(); ++i) {
        if (name[i] == '~' && isDigit(name[i + 1])) {
            result.refused = true;
            result.message = std::string(kTildeDigitMessage);
            return result;
        }
    }
    result.fileName.reserve(name.size());
    for (const char c : name) {
        if (isEscaped(c)) {
            result.fileName += '~';
            result.fileName += std::to_string(static_cast<unsigned char>(c));
        } else {
            result.fileName += c;
        }
    }
    return result;
}

std::string DecodeVolumeName(std::string_view fileName)
{
    const std::string_view base = fileName.substr(0, fileName.size() >= 4 ? fileName.size() - 4 : 0);
    if (base.find('~') == std::string_view::npos) return std::string(base);
    std::string name;
    name.reserve(base.size());
    for (std::size_t i = 0; i < base.size();) {
        if (base[i] != '~') {
            name += base[i++];
            continue;
        }
        std::size_t j = i + 1;
        // Only the value modulo 256 matters, so it is kept modulo 256 as the digits come: any number of digits
        // decodes without overflow.
        std::uint32_t value = 0;
        while (j < base.size() && isDigit(base[j])) {
            value = (value * 10 + std::uint32_t(base[j] - '0')) % 256;
            ++j;
        }
        if (value >= 34 && value <= 124) {
            name += char(value);
        } else {
            name += base[j - 1];  // the "~" itself, or the last digit
        }
        i = j;
    }
    return name;
}

std::optional<std::string> catalogFilePath(const std::string& catalogFolder, std::string_view volumeName)
{
    EncodedName encoded = EncodeVolumeName(volumeName);
    if (encoded.refused) return std::nullopt;
    return catalogFolder + encoded.fileName + ".qvl";
}

}  // namespace quillon
