#pragma once

#include "scheduler/TaskList.h"

#include <QAbstractTableModel>
#include <QPixmap>

#include <array>

namespace lunor::gui {

// Shows the task list in the list view: reads the rows straight from the one TaskList and
// turns its change notices into the model's, so that there is no second copy of the tasks.
class TaskListModel final : public QAbstractTableModel, public TaskListObserver
{
    Q_OBJECT
public:
    static constexpr int ColumnCount = 9;

    explicit TaskListModel(TaskList &tasks, QObject *parent = nullptr);
    ~TaskListModel() override;

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

    // The two 24 × 24 row pictures: 0 armed, 1 stopped.
    static const QPixmap &rowPicture(int index);

    void rowsAboutToBeInserted(std::size_t first, std::size_t last) override;
    void rowsInserted() override;
    void rowsAboutToBeRemoved(std::size_t first, std::size_t last) override;
    void rowsRemoved() override;
    void rowsChanged(std::size_t first, std::size_t last) override;

private:
    TaskList &m_tasks;
};

} // namespace lunor::gui
