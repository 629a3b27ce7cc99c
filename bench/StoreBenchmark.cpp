// One read and one write of a key in a settings file of 1,000 keys. Every call reads the whole
// file, and every write replaces it on disk (flushed), as the store does without a cache.
#include "settings/IniStore.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

using namespace lunor;

namespace {

constexpr int KeyCount = 1000;

std::string benchFile()
{
    return (std::filesystem::temp_directory_path() / "lunor-bench-CFG.dll").string();
}

// Settings and a catalogue of plug-ins, 1,000 keys in all; the keys the benchmarks use are the
// last of their section, so every lookup walks the whole file.
IniStore filledStore()
{
    IniStore store(benchFile());
    store.removeFile();
    IniDocument document;
    std::vector<std::pair<std::string, std::string>> settings;
    for (int i = 0; i < 10; ++i)
        settings.emplace_back("setting" + std::to_string(i), "1");
    std::vector<std::pair<std::string, std::string>> catalogue;
    for (int i = 0; i < KeyCount - 10; ++i)
        catalogue.emplace_back(
            "Operation " + std::to_string(i), "plugin" + std::to_string(i) + ".dll");
    document.appendSection("config", settings);
    document.appendSection("Package", catalogue);
    store.writeDocument(document);
    return store;
}

void BM_StoreReadKey(benchmark::State &state)
{
    IniStore store = filledStore();
    const std::string key = "operation " + std::to_string(KeyCount - 11);
    for (auto _ : state)
        benchmark::DoNotOptimize(store.readString("package", key, ""));
    store.removeFile();
}

void BM_StoreWriteKey(benchmark::State &state)
{
    IniStore store = filledStore();
    const std::string key = "Operation " + std::to_string(KeyCount - 11);
    int round = 0;
    for (auto _ : state)
        store.writeString("Package", key, (++round % 2) ? "a.dll" : "b.dll");
    store.removeFile();
}

} // namespace

BENCHMARK(BM_StoreReadKey)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_StoreWriteKey)->Unit(benchmark::kMicrosecond);
