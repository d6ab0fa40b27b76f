#include "id3tag.h"

#include <benchmark/benchmark.h>
#include <QByteArray>
#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <cstdint>
#include <string>
#include <vector>

using namespace quillon;

namespace {

std::string synchsafe(std::uint32_t v)
{
    return {char((v >> 21) & 0x7F), char((v >> 14) & 0x7F), char((v >> 7) & 0x7F), char(v & 0x7F)};
}

std::string frame(const std::string& id, const std::string& content)
{
    return id + synchsafe(std::uint32_t(content.size())) + std::string(2, '\0') + content;
}

std::string text(const std::string& s)
{
    return std::string(1, '\0') + s;
}

// A folder of MP3 files as a ripped disc holds them: most with a small tag, some with a cover picture in
// front of the text frames, some with only an ID3v1 trailer, some with no tag.
class Disc {
public:
    explicit Disc(int files)
    {
        const std::string audio(256 * 1024, '\x55');
        for (int i = 0; i < files; ++i) {
            std::string frames =
                frame("TIT2", text("Title " + std::to_string(i))) + frame("TPE1", text("Artist"));
            std::string bytes;
            switch (i % 4) {
            case 0:
            case 1: bytes = "ID3\x04" + std::string(2, '\0'); break;
            case 2:
                frames = frame("APIC", std::string(120 * 1024, '\x11')) + frames;
                bytes = "ID3\x04" + std::string(2, '\0');
                break;
            case 3: break;
            }
            if (!bytes.empty())
                bytes += synchsafe(std::uint32_t(frames.size() + 1024)) + frames + std::string(1024, '\0');
            bytes += audio;
            if (i % 8 == 3) bytes += "TAG" + std::string(125, 'x');
            const QString path = m_dir.filePath(QStringLiteral("%1.mp3").arg(i));
            QFile file(path);
            if (file.open(QIODevice::WriteOnly)) file.write(bytes.data(), qint64(bytes.size()));
            m_paths.push_back(path.toStdString());
        }
    }
    const std::vector<std::string>& paths() const { return m_paths; }

private:
    QTemporaryDir m_dir;
    std::vector<std::string> m_paths;
};

void readMediaInfoOfADisc(benchmark::State& state)
{
    const Disc disc(200);
    for (auto _ : state) {
        for (const std::string& path : disc.paths()) benchmark::DoNotOptimize(ReadMediaInfo(path));
    }
    state.SetItemsProcessed(state.iterations() * std::int64_t(disc.paths().size()));
}
BENCHMARK(readMediaInfoOfADisc)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
