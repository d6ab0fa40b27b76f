#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quillon {

// The message shown when a volume name cannot become a file name.
inline constexpr std::string_view kTildeDigitMessage = "fName cannot contain \"~\" character followed by number.";

struct EncodedName {
    std::string fileName;  // without the ".qvl" extension
    bool refused = false;
    std::string message;  // the refusal's text, for the caller to show
};

// The file-name form of a volume name: the nine characters that file names on Windows cannot hold become "~"
// and their decimal code. Catalog folders move between systems, so the same escapes are used everywhere.
// A name holding "~" followed by a digit is refused: it would not decode to itself.
EncodedName EncodeVolumeName(std::string_view name);

// The volume name of a catalog file name (with its 4-character extension).
std::string DecodeVolumeName(std::string_view fileName);

// catalog folder + encoded name + ".qvl"; empty when the name is refused.
std::optional<std::string> catalogFilePath(const std::string& catalogFolder, std::string_view volumeName);

}  // namespace quillon
