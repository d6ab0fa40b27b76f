#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace quillon {

// Bytes of one file seen through a small window (defined in id3tag.cpp).
class ByteSource;

// The ID3v1 trailer: the last 128 bytes of a file. Text fields hold the raw bytes, padding included.
struct TID3v1Tag {
    bool Exists = false;
    std::array<char, 3> Header{};
    std::array<char, 30> Title{};
    std::array<char, 30> Artist{};
    std::array<char, 30> Album{};
    std::array<char, 4> Year{};
    std::array<char, 30> Comment{};
    std::uint8_t Genre = 0;
};

// Fills tag from the last 128 bytes of the file; a file shorter than that, or one that cannot be read, has no
// trailer (Exists false).
void ReadID3v1(const std::string& path, TID3v1Tag& tag);
void ReadID3v1FromBytes(std::string_view fileBytes, TID3v1Tag& tag);

// The text of an ID3v1 field in the bytes it was written in: bytes from the first up to the first one outside
// 32..126 and 192..255, less leading and trailing spaces. Letters of single-byte code pages above 191 pass;
// a byte such as 0xA9 ends the text.
std::string CleanID3v1Text(std::string_view field);

// The text of an ID3v2 text frame's content (its encoding byte first) in the active code page: the first
// string of the frame, less leading and trailing characters of code 0 to 32. Encodings: 0 ISO-8859-1,
// 1 UTF-16 with a byte-order mark (little-endian without one), 2 UTF-16BE, 3 UTF-8; any other gives "".
std::string DecodeFrameText(std::string_view content);

// An ID3v2 tag (versions 2.2, 2.3 and 2.4) at the start of a file.
class TID3v2 final {
public:
    TID3v2() = default;

    // True when the 10 header bytes could be read; Exists tells whether they were an ID3v2 header.
    bool ReadFromFile(const std::string& path);
    // The same over the whole file's bytes.
    bool ReadFromBytes(std::string_view fileBytes);
    bool ReadFromSource(ByteSource& source);

    void ResetData();

    bool Exists = false;
    std::uint8_t VersionID = 0;
    // Header, tag and footer in bytes; 0 when the tag would be longer than the file.
    std::int32_t Size = 0;
    std::string Title;
    std::string Artist;
    std::string Album;
    std::uint8_t Track = 0;
    std::string Year;
    std::string Genre;
    std::string Comment;
    std::string Composer;
    std::string Encoder;
    std::string Rights;
    std::string Language;
    std::string Link;
};

// What the catalog keeps of an MP3 file: Artist and Title are shown joined with nothing between them.
struct MediaText {
    std::string Artist;
    // " - " and the title; empty when the file has no tag at all.
    std::string Title;
};

// From the ID3v2 tag; without an ID3v2 header from the ID3v1 trailer; without either, the file name (the
// part after the last "/") less its last 4 characters as the artist. path uses "/" between folders.
MediaText ReadMediaInfo(const std::string& path);
MediaText ReadMediaInfoFromBytes(std::string_view fileBytes, std::string_view fileName);

}  // namespace quillon
