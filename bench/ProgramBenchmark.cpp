// The main window with 10,000 rows in "mission.mss": the load at start, one second's pass
// with the list view's update, and the save at close. Runs under the offscreen platform.
#include "ProgramWindow.h"
#include "app/TForm_Main.h"

#include "platform/TextCodec.h"
#include "scheduler/TaskListFile.h"
#include "settings/IniStore.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTreeView>

#include <filesystem>

using namespace lunor;

namespace {

namespace fs = std::filesystem;

// A program folder with auto-save on and 10,000 armed rows of all five modes, none due.
std::string prepareProgramFolder()
{
    const fs::path folder = fs::temp_directory_path() / "lunor-program-benchmark";
    fs::remove_all(folder);
    fs::create_directories(folder / "程序功能");
    const std::string path = folder.string() + "/";
    IniStore(path + "CFG.dll").writeBool("config", "CB_save", true);

    TaskList tasks;
    const std::string label = platform::utf8ToGbk("A - 倒计时方式");
    const std::string keep = platform::utf8ToGbk("保留");
    for (int i = 1; i <= 10000; ++i) {
        const int mode = i % 5;
        TaskRow row;
        row.SerialNo = std::to_string(i);
        const std::string counter = mode == ModeAtTime ? "2099-12-31 23:59:59" : "2000000000";
        row.texts = { label, "op", "param", "-", mode == ModeLoop ? "" : keep, counter, counter,
            std::to_string(mode) };
        row.Running = true;
        tasks.append(row);
    }
    IniStore mission(path + "mission.mss");
    liebiao_save(tasks, mission);
    return path;
}

void BM_StartWithTenThousandRows(benchmark::State &state)
{
    const std::string folder = prepareProgramFolder();
    for (auto _ : state) {
        test::ProgramWindow program(folder);
        gui::TForm_Main &window = program.window;
        benchmark::DoNotOptimize(window.tasks().size());
        state.PauseTiming();
        window.FormClose(gui::TForm_Main::CloseReason::System);
        state.ResumeTiming();
    }
}

void BM_PassWithListViewUpdate(benchmark::State &state)
{
    const std::string folder = prepareProgramFolder();
    test::ProgramWindow program(folder);
    gui::TForm_Main &window = program.window;
    window.show();
    QApplication::processEvents();
    auto *view = window.findChild<QTreeView *>("LV_liebiao");
    for (auto _ : state) {
        window.TimeTimer();
        // Let the view take the change notices and repaint what is visible.
        QApplication::processEvents();
        view->viewport()->repaint();
    }
    state.counters["rows"] = static_cast<double>(window.tasks().size());
    window.FormClose(gui::TForm_Main::CloseReason::System);
}

void BM_CloseStepSavesTenThousandRows(benchmark::State &state)
{
    const std::string folder = prepareProgramFolder();
    for (auto _ : state) {
        state.PauseTiming();
        auto window = std::make_unique<gui::TForm_Main>(folder);
        state.ResumeTiming();
        window->FormClose(gui::TForm_Main::CloseReason::System);
        state.PauseTiming();
        window.reset();
        state.ResumeTiming();
    }
}

} // namespace

BENCHMARK(BM_StartWithTenThousandRows)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PassWithListViewUpdate)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CloseStepSavesTenThousandRows)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
