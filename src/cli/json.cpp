#include "json.h"

#include "codepage.h"

#include <cstdio>

namespace quillon::cli {

std::string jsonString(std::string_view bytes)
{
    static const Utf8CodePage utf8(QLocale::c());
    std::string out;
    out.reserve(bytes.size() + 2);
    out += '"';
    for (std::size_t i = 0; i < bytes.size();) {
        const auto c = static_cast<unsigned char>(bytes[i]);
        if (c >= 0x80) {
            const std::size_t len = utf8.charLength(bytes, i);
            if (len == 1) {
                out += "\\ufffd";
            } else {
                out.append(bytes.substr(i, len));
            }
            i += len;
            continue;
        }
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            if (c < 0x20) {
                char buf[8];
                std::snprintf(buf, sizeof buf, "\\u%04x", c);
                out += buf;
            } else {
                out += char(c);
            }
        }
        ++i;
    }
    out += '"';
    return out;
}

}  // namespace quillon::cli
