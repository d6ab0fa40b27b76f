#pragma once

#include <string>
#include <string_view>
#include <utility>

namespace quillon {

// The outcome of a core operation: success, or the message the user is to read.
struct Status {
    bool ok = true;
    std::string message;

    static Status success() { return {}; }
    static Status failure(std::string text) { return {false, std::move(text)}; }
    explicit operator bool() const { return ok; }
};

// "Cannot open file %s" and its kin, with the path in place of %s.
inline std::string withPath(std::string_view format, const std::string& path)
{
    std::string text(format);
    const auto at = text.find("%s");
    if (at != std::string::npos) text.replace(at, 2, path);
    return text;
}

}  // namespace quillon
