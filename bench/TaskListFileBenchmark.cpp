// Saving and loading "mission.mss" with 10,000 rows, as the close step and the start do.
#include "scheduler/TaskListFile.h"
#include "settings/IniStore.h"

#include <benchmark/benchmark.h>

#include <filesystem>

using namespace lunor;

namespace {

TaskList tenThousandRows()
{
    TaskList tasks;
    for (int i = 1; i <= 10000; ++i) {
        TaskRow row;
        row.SerialNo = std::to_string(i);
        row.texts = { "A - countdown", "shutdown", "C:\\some\\parameter.txt", "0:00:42", "keep",
            std::to_string(i), std::to_string(i * 2), std::to_string(i % 5) };
        row.Running = i % 2;
        tasks.append(row);
    }
    return tasks;
}

std::string benchFile()
{
    return (std::filesystem::temp_directory_path() / "lunor-bench-mission.mss").string();
}

void BM_TaskListSave10000(benchmark::State &state)
{
    const TaskList tasks = tenThousandRows();
    IniStore store(benchFile());
    for (auto _ : state)
        liebiao_save(tasks, store);
    store.removeFile();
}

void BM_TaskListLoad10000(benchmark::State &state)
{
    IniStore store(benchFile());
    liebiao_save(tenThousandRows(), store);
    for (auto _ : state) {
        TaskList tasks;
        liebiao_load(tasks, store);
        benchmark::DoNotOptimize(tasks.size());
    }
    store.removeFile();
}

} // namespace

BENCHMARK(BM_TaskListSave10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TaskListLoad10000)->Unit(benchmark::kMillisecond);
