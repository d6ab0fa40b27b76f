// Writes a folder tree of small files for the scanning benchmark.
//   quillon-gentree OUT_DIR [--files N] [--folders N] [--mp3-every N] [--seed N]
// Folders are nested up to five deep. With --mp3-every N (default 10, 0 for none) every N-th file is an
// .mp3 whose tag is, in turn, ID3v1, ID3v2.2, ID3v2.3 and ID3v2.4; the rest are files of a few hundred bytes.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <random>
#include <string>
#include <vector>

namespace {

const char* const kWords[] = {"Live",   "Session", "Album",  "Track",   "Holiday", "Summer",
                              "Winter", "Concert", "Backup", "Project", "Report",  "Draft",
                              "Photos", "Family",  "Travel", "Piano"};
const char* const kExtensions[] = {".jpg", ".txt", ".doc", ".pdf", ".png", ".zip"};

int argValue(const std::vector<std::string>& args, const std::string& flag, int fallback)
{
    for (std::size_t i = 0; i + 1 < args.size(); ++i) {
        if (args[i] == flag) return std::atoi(args[i + 1].c_str());
    }
    return fallback;
}

void syncsafe(std::string& out, std::uint32_t v)
{
    for (int shift = 21; shift >= 0; shift -= 7) out += char((v >> shift) & 0x7F);
}

void bigEndian(std::string& out, std::uint32_t v, int bytes)
{
    for (int i = bytes - 1; i >= 0; --i) out += char((v >> (8 * i)) & 0xFF);
}

// A tag with the artist and title frames, Latin-1 text.
std::string id3v2(int version, const std::string& artist, const std::string& title)
{
    std::string frames;
    const auto frame = [&](const char* id22, const char* id, const std::string& text) {
        const std::string content = std::string(1, '\0') + text;
        if (version == 2) {
            frames += id22;
            bigEndian(frames, std::uint32_t(content.size()), 3);
        } else {
            frames += id;
            if (version == 4)
                syncsafe(frames, std::uint32_t(content.size()));
            else
                bigEndian(frames, std::uint32_t(content.size()), 4);
            frames += std::string(2, '\0');
        }
        frames += content;
    };
    frame("TP1", "TPE1", artist);
    frame("TT2", "TIT2", title);
    frames += std::string(64, '\0');  // padding, as taggers leave
    std::string tag = "ID3";
    tag += char(version);
    tag += '\0';
    tag += '\0';
    syncsafe(tag, std::uint32_t(frames.size()));
    return tag + frames;
}

std::string id3v1(const std::string& artist, const std::string& title)
{
    std::string tag = "TAG";
    const auto field = [&tag](const std::string& text, std::size_t width) {
        tag += text.substr(0, width);
        tag += std::string(width - std::min(width, text.size()), '\0');
    };
    field(title, 30);
    field(artist, 30);
    field("Album", 30);
    field("1999", 4);
    field("", 30);
    tag += char(12);
    return tag;
}

bool writeFile(const std::string& path, const std::string& bytes)
{
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) return false;
    const bool ok = ::write(fd, bytes.data(), bytes.size()) == ssize_t(bytes.size());
    ::close(fd);
    return ok;
}

}  // namespace

int main(int argc, char** argv)
{
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty() || args[0].compare(0, 2, "--") == 0) {
        std::cerr << "usage: quillon-gentree OUT_DIR [--files N] [--folders N] [--mp3-every N] [--seed N]\n";
        return 2;
    }
    const std::string root = args[0];
    const int files = argValue(args, "--files", 100000);
    const int folders = std::max(1, argValue(args, "--folders", 5000));
    const int mp3Every = argValue(args, "--mp3-every", 10);
    std::mt19937 rng(std::uint32_t(argValue(args, "--seed", 1)));
    const auto pick = [&rng](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    const auto words = [&](int n) {
        std::string s;
        for (int i = 0; i < n; ++i)
            s += (i ? " " : "") + std::string(kWords[pick(0, int(std::size(kWords)) - 1)]);
        return s;
    };

    if (::mkdir(root.c_str(), 0755) != 0) {
        std::cerr << "quillon-gentree: cannot make " << root << ": " << std::strerror(errno) << '\n';
        return 1;
    }
    // Each new folder goes below a random earlier one that is less than five deep.
    std::vector<std::pair<std::string, int>> made{{root, 0}};
    for (int i = 0; i < folders; ++i) {
        std::pair<std::string, int> parent;
        do parent = made[std::size_t(pick(0, int(made.size()) - 1))];
        while (parent.second >= 5);
        const std::string path = parent.first + "/" + words(pick(1, 3)) + " " + std::to_string(i);
        if (::mkdir(path.c_str(), 0755) != 0) return 1;
        made.emplace_back(path, parent.second + 1);
    }
    const std::string body(4096, 'q');
    for (int i = 0; i < files; ++i) {
        const std::string& folder = made[std::size_t(1 + i % folders)].first;
        const std::string base = folder + "/" + words(pick(1, 4)) + " " + std::to_string(i);
        bool ok;
        if (mp3Every > 0 && i % mp3Every == 0) {
            const std::string artist = words(2);
            const std::string title = words(3);
            const std::string audio = body.substr(0, std::size_t(pick(200, 2000)));
            switch ((i / mp3Every) % 4) {
                case 0:
                    ok = writeFile(base + ".mp3", audio + id3v1(artist, title));
                    break;
                case 1:
                    ok = writeFile(base + ".mp3", id3v2(2, artist, title) + audio);
                    break;
                case 2:
                    ok = writeFile(base + ".mp3", id3v2(3, artist, title) + audio);
                    break;
                default:
                    ok = writeFile(base + ".mp3", id3v2(4, artist, title) + audio);
                    break;
            }
        } else {
            ok = writeFile(base + kExtensions[pick(0, int(std::size(kExtensions)) - 1)],
                           body.substr(0, std::size_t(pick(0, 1500))));
        }
        if (!ok) {
            std::cerr << "quillon-gentree: cannot write in " << folder << '\n';
            return 1;
        }
    }
    std::cout << folders << " folders, " << files << " files in " << root << '\n';
    return 0;
}
