// Writes a folder of synthetic catalog files for benchmarks and demos.
//   quillon-gencatalogs OUT_DIR [--volumes N] [--files N] [--folders N] [--seed N]
// The files, folders and a tenth of .mp3 files with media info are spread over the volumes; names have the
// lengths of real music, photo and document collections.
#include "catalog.h"
#include "catalogfile.h"
#include "volumename.h"

#include <QCoreApplication>
#include <QDir>

#include <cstdint>
#include <cstdlib>
#include <iostream>
#include <random>
#include <string>
#include <vector>

using namespace quillon;

namespace {

const char* const kWords[] = {
    "Live",    "Session", "Album",   "Track",   "Holiday", "Summer",  "Winter",  "Concert", "Backup",  "Project",
    "Report",  "Draft",   "Final",   "Photos",  "Family",  "Garden",  "Travel",  "Berlin",  "Paris",   "London",
    "Blue",    "Red",     "Night",   "Morning", "Dance",   "Piano",   "Guitar",  "Remix",   "Edition", "Volume",
    "Archive", "Budget",  "Invoice", "Letter",  "Notes",   "Setup",   "Driver",  "Manual",  "Scan",    "Video",
    "Mix",     "Jazz",    "Rock",    "Classic", "Best Of", "Demo",    "Intro",   "Outro",   "Chapter", "Lesson",
};
const char* const kExtensions[] = {".jpg", ".txt", ".doc", ".pdf", ".avi", ".zip", ".exe", ".dll", ".png", ".xls"};
const char* const kArtists[] = {"The Beatles", "Miles Davis", "Nina Simone", "Radiohead", "Kraftwerk",
                                "Ella Fitzgerald", "Daft Punk", "Johann Sebastian Bach", "Portishead", "Björk"};

class NameMaker {
public:
    explicit NameMaker(std::uint32_t seed) : m_rng(seed) {}
    std::string words(int minWords, int maxWords)
    {
        std::string name;
        const int count = pick(minWords, maxWords);
        for (int i = 0; i < count; ++i) {
            if (i) name += ' ';
            name += kWords[pick(0, int(std::size(kWords)) - 1)];
        }
        if (pick(0, 2) == 0) name += " " + std::to_string(pick(1, 2024));
        return name;
    }
    int pick(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(m_rng); }
    std::mt19937& rng() { return m_rng; }

private:
    std::mt19937 m_rng;
};

int argValue(std::vector<std::string>& args, const std::string& flag, int fallback)
{
    for (std::size_t i = 0; i + 1 < args.size(); ++i) {
        if (args[i] == flag) return std::atoi(args[i + 1].c_str());
    }
    return fallback;
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty() || args[0].rfind("--", 0) == 0) {
        std::cerr << "usage: quillon-gencatalogs OUT_DIR [--volumes 200] [--files 1000000] [--folders 60000] "
                     "[--seed 1]\n";
        return 2;
    }
    std::string out = args[0];
    if (out.back() != '/') out += '/';
    const int volumes = std::max(1, argValue(args, "--volumes", 200));
    const int files = std::max(0, argValue(args, "--files", 1'000'000));
    const int folders = std::max(0, argValue(args, "--folders", 60'000));
    NameMaker names(std::uint32_t(argValue(args, "--seed", 1)));
    QDir().mkpath(QString::fromStdString(out));

    const DateTime base = encodeDateTime({1998, 1, 1});
    std::int64_t written = 0;
    for (int v = 0; v < volumes; ++v) {
        Catalog catalog;
        const std::string volumeName = "Disc " + std::to_string(v + 1) + " " + names.words(1, 2);
        CatalogNode* volume = catalog.addVolume(volumeName, NewFolderData(base + v * 10.5), nullptr);
        TextStore& store = *volume->store();
        // Folders: each hangs below a random earlier node, which gives bushy trees a few levels deep.
        std::vector<CatalogNode*> nodes{volume};
        const int folderCount = folders / volumes + (v < folders % volumes ? 1 : 0);
        for (int f = 0; f < folderCount; ++f) {
            CatalogNode* parent = nodes[std::size_t(names.pick(0, int(nodes.size()) - 1))];
            if (parent->level() > 8) parent = volume;
            nodes.push_back(parent->addFolder(names.words(1, 3), NewFolderData(base + names.pick(0, 9000))));
        }
        const int fileCount = files / volumes + (v < files % volumes ? 1 : 0);
        for (int f = 0; f < fileCount; ++f) {
            CatalogNode* folder = nodes[std::size_t(names.pick(0, int(nodes.size()) - 1))];
            const DateTime date = base + names.pick(0, 9000) + names.pick(0, 43199) / 43200.0;
            const std::int64_t size = std::int64_t(names.pick(0, 1 << 20)) * names.pick(1, 64);
            if (f % 10 == 0) {
                const std::string artist = kArtists[names.pick(0, int(std::size(kArtists)) - 1)];
                const std::string title = names.words(1, 4);
                const std::string name = std::to_string(names.pick(1, 20)) + " - " + artist + " - " + title + ".mp3";
                folder->data().Files.push_back(makeFileData(store, name, size, date, artist, " - " + title));
            } else {
                const std::string name =
                    names.words(1, 3) + kExtensions[names.pick(0, int(std::size(kExtensions)) - 1)];
                folder->data().Files.push_back(makeFileData(store, name, size, date));
            }
        }
        const std::string path = out + EncodeVolumeName(volumeName).fileName + ".qvl";
        if (Status s = writeVolumeFile(path, *volume, "LABEL", "/media/cdrom/"); !s) {
            std::cerr << s.message << '\n';
            return 1;
        }
        written += fileCount;
    }
    std::cout << volumes << " catalogs, " << folders << " folders, " << written << " files in " << out << '\n';
    return 0;
}
