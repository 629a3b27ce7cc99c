#include "scheduler/TaskListModel.h"

#include "platform/TextCodec.h"

#include <QAbstractItemModelTester>
#include <QPixmap>
#include <QSignalSpy>

#include <gtest/gtest.h>

namespace lunor::test {
namespace {

TaskRow makeRow(const std::string &serial, const std::string &operationUtf8, bool running)
{
    TaskRow row;
    row.SerialNo = serial;
    row.text(TaskField::ModeLabel) = platform::utf8ToGbk("A - 倒计时方式");
    row.text(TaskField::OperationName) = platform::utf8ToGbk(operationUtf8);
    row.text(TaskField::Counter) = "10";
    row.text(TaskField::Preset) = "10";
    row.text(TaskField::ModeIndex) = "0";
    row.Running = running;
    row.RowImage = running ? 0 : 1;
    return row;
}

class TaskListModelTest : public ::testing::Test
{
protected:
    TaskList tasks;
    gui::TaskListModel model { tasks };
    // Checks the model's consistency after every change it reports.
    QAbstractItemModelTester tester { &model,
        QAbstractItemModelTester::FailureReportingMode::Fatal };
};

TEST_F(TaskListModelTest, ShowsTheRowsOfTheListWithoutACopy)
{
    tasks.append(makeRow("1", "关机", true));
    tasks.append({ makeRow("2", "记录器", false), makeRow("3", "提醒", true) });
    ASSERT_EQ(model.rowCount(), 3);
    EXPECT_EQ(model.columnCount(), 9);
    EXPECT_EQ(model.index(1, 0).data().toString(), QStringLiteral("2"));
    EXPECT_EQ(model.index(1, 1).data().toString(), QStringLiteral("A - 倒计时方式"));
    EXPECT_EQ(model.index(1, 2).data().toString(), QStringLiteral("记录器"));
    EXPECT_EQ(model.index(1, 6).data().toString(), QStringLiteral("10"));
    EXPECT_EQ(model.index(1, 8).data().toString(), QStringLiteral("0"));

    // A change in the list shows without the model being told anything but the range.
    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
    tasks.setText(2, TaskField::RemainingText, "0:0:9");
    tasks.setRunning(2, false);
    tasks.setRowImage(2, 1);
    tasks.flushChanges();
    ASSERT_EQ(changed.count(), 1);
    EXPECT_EQ(changed[0][0].toModelIndex(), model.index(2, 0));
    EXPECT_EQ(changed[0][1].toModelIndex(), model.index(2, 8));
    EXPECT_EQ(model.index(2, 4).data().toString(), QStringLiteral("0:0:9"));
}

TEST_F(TaskListModelTest, RemovalsAndClearingReachTheView)
{
    tasks.append({ makeRow("1", "a", true), makeRow("2", "b", true), makeRow("3", "c", true) });
    QSignalSpy removed(&model, &QAbstractItemModel::rowsRemoved);
    tasks.remove(1);
    ASSERT_EQ(removed.count(), 1);
    EXPECT_EQ(removed[0][1].toInt(), 1);
    EXPECT_EQ(model.index(1, 0).data().toString(), QStringLiteral("3"));
    tasks.clear();
    EXPECT_EQ(model.rowCount(), 0);
}

TEST_F(TaskListModelTest, FirstColumnCarriesTheRowPicture)
{
    tasks.append({ makeRow("1", "a", true), makeRow("2", "b", false) });
    const auto picture
        = [&](int row, int column) { return model.index(row, column).data(Qt::DecorationRole); };
    EXPECT_EQ(
        picture(0, 0).value<QPixmap>().cacheKey(), gui::TaskListModel::rowPicture(0).cacheKey());
    EXPECT_EQ(
        picture(1, 0).value<QPixmap>().cacheKey(), gui::TaskListModel::rowPicture(1).cacheKey());
    EXPECT_FALSE(picture(0, 1).isValid());
    EXPECT_EQ(gui::TaskListModel::rowPicture(0).size(), QSize(24, 24));
    EXPECT_EQ(gui::TaskListModel::rowPicture(1).size(), QSize(24, 24));
    EXPECT_NE(
        gui::TaskListModel::rowPicture(0).toImage(), gui::TaskListModel::rowPicture(1).toImage());
}

TEST_F(TaskListModelTest, RowsAreSelectableButNotEditable)
{
    tasks.append(makeRow("1", "a", true));
    const Qt::ItemFlags flags = model.flags(model.index(0, 2));
    EXPECT_TRUE(flags & Qt::ItemIsSelectable);
    EXPECT_FALSE(flags & Qt::ItemIsEditable);
}

} // namespace
} // namespace lunor::test
