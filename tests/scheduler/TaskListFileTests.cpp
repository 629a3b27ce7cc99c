#include "scheduler/TaskListFile.h"

#include "TempFolder.h"
#include "platform/TextCodec.h"
#include "settings/IniStore.h"

#include <gtest/gtest.h>

using namespace lunor;
using lunor::test::TempFolder;

namespace {

std::string gbk(const char *utf8)
{
    return platform::utf8ToGbk(utf8);
}

TaskRow makeRow(const std::string &serial, bool running, const std::string &param)
{
    TaskRow row;
    row.SerialNo = serial;
    row.text(TaskField::ModeLabel) = gbk("A - 倒计时方式");
    row.text(TaskField::OperationName) = gbk("关机");
    row.text(TaskField::ParamText) = param;
    row.text(TaskField::RemainingText) = "0:00:42";
    row.text(TaskField::AfterRun) = gbk("保留");
    row.text(TaskField::Counter) = "42";
    row.text(TaskField::Preset) = "60";
    row.text(TaskField::ModeIndex) = "0";
    row.Running = running;
    row.RowImage = running ? 0 : 1;
    return row;
}

void expectSameRows(const TaskList &a, const TaskList &b)
{
    ASSERT_EQ(a.size(), b.size());
    for (std::size_t i = 0; i < a.size(); ++i) {
        EXPECT_EQ(a.row(i).SerialNo, b.row(i).SerialNo) << i;
        EXPECT_EQ(a.row(i).texts, b.row(i).texts) << i;
        EXPECT_EQ(a.row(i).Running, b.row(i).Running) << i;
        EXPECT_EQ(a.row(i).RowImage, b.row(i).RowImage) << i;
    }
}

class TaskListFileTest : public ::testing::Test
{
protected:
    TempFolder folder;
    IniStore missionIni { folder.file("mission.mss") };
};

} // namespace

TEST_F(TaskListFileTest, RowsComeBackInOrderWithTheirTextsAndStates)
{
    TaskList saved;
    saved.append(makeRow("1", true, "a"));
    saved.append(makeRow("2", false, ""));
    saved.append(makeRow("3", true, gbk("关机 参数")));
    liebiao_save(saved, missionIni);

    TaskList loaded;
    liebiao_load(loaded, missionIni);
    expectSameRows(saved, loaded);
    EXPECT_EQ(loaded.row(1).RowImage, 1);
}

TEST_F(TaskListFileTest, TheFileHoldsOneSectionPerRowWithKeysInOrder)
{
    TaskList saved;
    saved.append(makeRow("1", false, "x"));
    liebiao_save(saved, missionIni);
    const std::string expected = "[1]\r\n1=" + gbk("A - 倒计时方式") + "\r\n2=" + gbk("关机")
        + "\r\n3=x\r\n4=0:00:42\r\n5=" + gbk("保留") + "\r\n6=42\r\n7=60\r\n8=0\r\nbool=0\r\n";
    EXPECT_EQ(folder.read("mission.mss"), expected);
}

TEST_F(TaskListFileTest, RowsSharingASerialNumberAllSurvive)
{
    TaskList saved;
    saved.append(makeRow("1", true, "first"));
    saved.append(makeRow("3", true, "second"));
    saved.append(makeRow("3", false, "third"));
    liebiao_save(saved, missionIni);

    TaskList loaded;
    liebiao_load(loaded, missionIni);
    expectSameRows(saved, loaded);
}

TEST_F(TaskListFileTest, TextsWithOuterSpacesOrQuotesComeBackUnchanged)
{
    TaskList saved;
    const char *params[] = { " lead", "trail ", "\"quoted\"", "'single'", "\"", "a \"b\" c", "\t" };
    int serial = 1;
    for (const char *param : params)
        saved.append(makeRow(std::to_string(serial++), true, param));
    liebiao_save(saved, missionIni);

    TaskList loaded;
    liebiao_load(loaded, missionIni);
    expectSameRows(saved, loaded);
}

TEST_F(TaskListFileTest, AnEmptyListLeavesNoFile)
{
    folder.write("mission.mss", "[1]\r\n1=old\r\n");
    liebiao_save(TaskList {}, missionIni);
    EXPECT_FALSE(folder.exists("mission.mss"));
    // And a missing file loads nothing.
    TaskList loaded;
    liebiao_load(loaded, missionIni);
    EXPECT_TRUE(loaded.empty());
}

TEST_F(TaskListFileTest, MissingKeysGiveEmptyTextsAndAStoppedRow)
{
    folder.write("mission.mss",
        "[7]\r\n2=op\r\n8=0\r\n[8]\r\nBOOL=0x1\r\n[9]\r\nbool=yes\r\n"
        "[10]\nbool = -2\n");
    TaskList loaded;
    liebiao_load(loaded, missionIni);
    ASSERT_EQ(loaded.size(), 4u);
    EXPECT_EQ(loaded.row(0).SerialNo, "7");
    EXPECT_EQ(loaded.row(0).text(TaskField::OperationName), "op");
    EXPECT_EQ(loaded.row(0).text(TaskField::ParamText), "");
    EXPECT_FALSE(loaded.row(0).Running);
    EXPECT_EQ(loaded.row(0).RowImage, 1);
    EXPECT_TRUE(loaded.row(1).Running);
    EXPECT_EQ(loaded.row(1).RowImage, 0);
    EXPECT_FALSE(loaded.row(2).Running);
    EXPECT_TRUE(loaded.row(3).Running);
}

TEST_F(TaskListFileTest, ARefusedSaveIsReportedAsTheStoreWriteError)
{
    // A file where the store's folder should be makes every write fail, also for root.
    folder.write("blocked", "a file, not a folder");
    IniStore blocked(folder.file("blocked/mission.mss"));
    TaskList saved;
    saved.append(makeRow("1", true, "new"));
    try {
        liebiao_save(saved, blocked);
        FAIL() << "the save did not report the refused write";
    } catch (const StoreWriteError &error) {
        EXPECT_EQ(
            std::string(error.what()), "Unable to write to " + folder.file("blocked/mission.mss"));
    }
}

TEST_F(TaskListFileTest, TenThousandRowsRoundTrip)
{
    TaskList saved;
    for (int i = 1; i <= 10000; ++i)
        saved.append(makeRow(std::to_string(i), i % 3 != 0, "p" + std::to_string(i)));
    liebiao_save(saved, missionIni);
    TaskList loaded;
    liebiao_load(loaded, missionIni);
    expectSameRows(saved, loaded);
}
