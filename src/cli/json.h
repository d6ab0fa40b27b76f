#pragma once

#include <string>
#include <string_view>

namespace quillon::cli {

// A JSON string literal of the given bytes. The bytes are UTF-8 text as stored; a byte that does not belong to
// a valid UTF-8 sequence becomes U+FFFD, so the output is valid JSON whatever the catalog holds.
std::string jsonString(std::string_view bytes);

}  // namespace quillon::cli
