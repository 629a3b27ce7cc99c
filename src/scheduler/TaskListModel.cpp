#include "scheduler/TaskListModel.h"

#include "gui/GbkText.h"

#include <QPainter>
#include <QPainterPath>

namespace lunor::gui {
namespace {

QPixmap drawRowPicture(bool armed)
{
    QPixmap picture(24, 24);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(armed ? QColor(0x1e, 0x7b, 0x34) : QColor(0x9e, 0x1c, 0x1c), 1.5));
    painter.setBrush(armed ? QColor(0x3c, 0xb3, 0x52) : QColor(0xd9, 0x3b, 0x3b));
    painter.drawEllipse(QRectF(2.5, 2.5, 19, 19));
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    if (armed) {
        // A play mark: the task is armed.
        QPainterPath triangle;
        triangle.moveTo(9.5, 7);
        triangle.lineTo(17.5, 12);
        triangle.lineTo(9.5, 17);
        triangle.closeSubpath();
        painter.drawPath(triangle);
    } else {
        // A pause mark: the task is stopped.
        painter.drawRect(QRectF(8, 7.5, 3, 9));
        painter.drawRect(QRectF(13, 7.5, 3, 9));
    }
    return picture;
}

QString columnCaption(int section)
{
    static const std::array<QString, TaskListModel::ColumnCount> captions = {
        QStringLiteral("序号"),
        QStringLiteral("计时方式"),
        QStringLiteral("操作"),
        QStringLiteral("参数"),
        QStringLiteral("剩余时间"),
        QStringLiteral("操作后是否删除"),
        QStringLiteral("初始化时间"),
        QStringLiteral("当前时间"),
        QStringLiteral("计时方式"),
    };
    return captions[static_cast<std::size_t>(section)];
}

Qt::Alignment columnAlignment(int section)
{
    return section == 0 ? Qt::AlignLeft | Qt::AlignVCenter : Qt::AlignCenter;
}

} // namespace

TaskListModel::TaskListModel(TaskList &tasks, QObject *parent)
    : QAbstractTableModel(parent)
    , m_tasks(tasks)
{
    m_tasks.setObserver(this);
}

TaskListModel::~TaskListModel()
{
    m_tasks.setObserver(nullptr);
}

const QPixmap &TaskListModel::rowPicture(int index)
{
    static const QPixmap armed = drawRowPicture(true);
    static const QPixmap stopped = drawRowPicture(false);
    return index == 0 ? armed : stopped;
}

int TaskListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_tasks.size());
}

int TaskListModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant TaskListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= ColumnCount)
        return {};
    const TaskRow &row = m_tasks.row(static_cast<std::size_t>(index.row()));
    switch (role) {
    case Qt::DisplayRole:
        if (index.column() == 0)
            return fromGbk(row.SerialNo);
        return fromGbk(row.texts[static_cast<std::size_t>(index.column() - 1)]);
    case Qt::DecorationRole:
        if (index.column() == 0 && (row.RowImage == 0 || row.RowImage == 1))
            return rowPicture(row.RowImage);
        return {};
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(columnAlignment(index.column()));
    default:
        return {};
    }
}

QVariant TaskListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= ColumnCount)
        return {};
    if (role == Qt::DisplayRole)
        return columnCaption(section);
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(columnAlignment(section));
    return {};
}

Qt::ItemFlags TaskListModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}

void TaskListModel::rowsAboutToBeInserted(std::size_t first, std::size_t last)
{
    beginInsertRows({}, static_cast<int>(first), static_cast<int>(last));
}

void TaskListModel::rowsInserted()
{
    endInsertRows();
}

void TaskListModel::rowsAboutToBeRemoved(std::size_t first, std::size_t last)
{
    beginRemoveRows({}, static_cast<int>(first), static_cast<int>(last));
}

void TaskListModel::rowsRemoved()
{
    endRemoveRows();
}

void TaskListModel::rowsChanged(std::size_t first, std::size_t last)
{
    emit dataChanged(
        index(static_cast<int>(first), 0), index(static_cast<int>(last), ColumnCount - 1));
}

} // namespace lunor::gui
