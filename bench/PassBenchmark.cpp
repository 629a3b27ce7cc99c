// One pass of the scheduler over many armed rows with nothing due, through the real function
// library and the real clock.
#include "kelmu/KelmuFunctions.h"
#include "scheduler/TaskPass.h"

#include <benchmark/benchmark.h>

#include <stdexcept>

using namespace lunor;

namespace {

class NeverRuns final : public OperationRunner
{
public:
    void ExeCute(const std::string &, const std::string &) override
    {
        throw std::logic_error("nothing should be due in this benchmark");
    }
};

// Far enough away that no number of passes makes anything due.
TaskRow armedRow(int mode, int serial)
{
    TaskRow row;
    row.SerialNo = std::to_string(serial);
    row.text(TaskField::ModeLabel) = "A";
    row.text(TaskField::OperationName) = "op";
    row.text(TaskField::ParamText) = "param";
    row.text(TaskField::RemainingText) = "-";
    const char *counter = "2000000000";
    if (mode == ModeAtTime)
        counter = serial % 2 ? "2099-12-31 23:59:59" : "03:33:33";
    row.text(TaskField::Counter) = counter;
    row.text(TaskField::Preset) = counter;
    row.text(TaskField::ModeIndex) = std::to_string(mode);
    row.Running = true;
    return row;
}

void BM_PassOverArmedRows(benchmark::State &state)
{
    TaskList tasks;
    const auto rows = static_cast<int>(state.range(0));
    for (int i = 0; i < rows; ++i)
        tasks.append(armedRow(i % 5, i + 1));
    LibraryKelmuFunctions kelmu;
    NeverRuns runner;
    TaskPass pass(tasks, kelmu, runner);
    for (auto _ : state)
        pass.liebiao_caozuo(DateTime::now());
    state.SetItemsProcessed(state.iterations() * rows);
}

} // namespace

BENCHMARK(BM_PassOverArmedRows)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
