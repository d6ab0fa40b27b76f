#include "codepage.h"
#include "masks.h"

#include <benchmark/benchmark.h>

#include <QLocale>

#include <random>
#include <string>
#include <vector>

using namespace quillon;

namespace {

// File names of the lengths and kinds a music collection has, some with accented letters.
const std::vector<std::string>& sampleNames()
{
    static const std::vector<std::string> names = [] {
        const std::vector<std::string> words = {"Track", "01",   "live", "Caf\xC3\xA9",  "remaster",
                                                "The",   "Band", "disc", "\xE2\x82\xAC", "mix",
                                                "intro", "-",    " "};
        const std::vector<std::string> extensions = {".mp3", ".MP3", ".flac", ".jpg", ".txt", ".m3u", ""};
        std::mt19937 rng(1);
        std::vector<std::string> out;
        for (int i = 0; i < 4096; ++i) {
            std::string name;
            for (int w = 2 + int(rng() % 6); w > 0; --w) name += words[rng() % words.size()];
            name += extensions[rng() % extensions.size()];
            out.push_back(std::move(name));
        }
        return out;
    }();
    return names;
}

void matchAll(benchmark::State& state, const char* mask)
{
    const Utf8CodePage utf8(QLocale(QLocale::English, QLocale::UnitedStates));
    const TMask compiled(mask, utf8);
    const auto& names = sampleNames();
    for (auto _ : state) {
        int hits = 0;
        for (const auto& name : names) hits += compiled.matches(name) ? 1 : 0;
        benchmark::DoNotOptimize(hits);
    }
    state.SetItemsProcessed(std::int64_t(state.iterations()) * std::int64_t(names.size()));
}

}  // namespace

BENCHMARK_CAPTURE(matchAll, suffix, "*.mp3");
BENCHMARK_CAPTURE(matchAll, prefix, "track*");
BENCHMARK_CAPTURE(matchAll, contains, "*live*");
BENCHMARK_CAPTURE(matchAll, setPrefix, "[a-m]*");
BENCHMARK_CAPTURE(matchAll, generalTwoStars, "*live*.mp3");
BENCHMARK_CAPTURE(matchAll, generalSetsAndQuestionMarks, "[t]rack??*[!x]");
BENCHMARK_CAPTURE(matchAll, generalManyStars, "*a*a*a*a*b");

BENCHMARK_MAIN();
