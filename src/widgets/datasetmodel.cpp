#include "widgets/datasetmodel.h"

#include "data/dataerror.h"

#include <QHeaderView>
#include <QItemSelectionModel>
#include <QRegularExpression>
#include <QTableView>

DatasetModel::DatasetModel(Dataset &dataset, const QList<GridColumn> &columns, QObject *parent)
    : QAbstractTableModel(parent), m_dataset(dataset), m_columns(columns)
{
    connect(&m_dataset, &Dataset::rowsChanged, this, &DatasetModel::reset);
    connect(&m_dataset, &Dataset::rowChanged, this, [this](int row) {
        emit dataChanged(index(row, 0), index(row, columnCount() - 1));
    });
}

void DatasetModel::reset()
{
    beginResetModel();
    endResetModel();
}

int DatasetModel::rowCount(const QModelIndex &parent) const
{
    if (parent.isValid())
        return 0;
    try {
        return m_dataset.recordCount();
    } catch (const DataError &) {
        return 0;
    }
}

int DatasetModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_columns.size());
}

QString DatasetModel::displayText(const FieldDef &def, const QVariant &value, const QString &format, bool masked)
{
    if (value.isNull())
        return {};
    static const QRegularExpression emptyMask(QStringLiteral("^[\\s\\-_]*$"));
    if (masked && emptyMask.match(value.toString()).hasMatch())
        return {};
    switch (def.type) {
    case FieldType::Money:
        return value.value<Money>().format(format.isEmpty() ? QStringLiteral("#,##0.00") : format);
    case FieldType::Date:
        return value.toDate().toString(QStringLiteral("dd-MM-yyyy"));
    case FieldType::Memo:
        return value.toString().section(QLatin1Char('\n'), 0, 0);
    default:
        return value.toString();
    }
}

QVariant DatasetModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.column() >= m_columns.size())
        return {};
    const GridColumn &column = m_columns[index.column()];
    if (role == Qt::TextAlignmentRole)
        return QVariant(column.alignment);
    if (role != Qt::DisplayRole)
        return {};
    const int field = m_dataset.fieldIndex(column.field);
    if (field < 0)
        return {};
    try {
        return displayText(m_dataset.fields()[field], m_dataset.valueAt(index.row(), field), column.format,
                           column.masked);
    } catch (const DataError &) {
        return {};
    }
}

QVariant DatasetModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= m_columns.size())
        return QAbstractTableModel::headerData(section, orientation, role);
    const GridColumn &column = m_columns[section];
    if (role == Qt::DisplayRole)
        return column.title.isEmpty() ? column.field : column.title;
    if (role == Qt::TextAlignmentRole)
        return QVariant(column.alignment);
    return {};
}

GridBinding::GridBinding(QTableView &view, Dataset &dataset, const QList<GridColumn> &columns)
    : QObject(&view), m_view(view), m_dataset(dataset), m_model(new DatasetModel(dataset, columns, this))
{
    m_view.setModel(m_model);
    m_view.setSelectionBehavior(QAbstractItemView::SelectRows);
    m_view.setSelectionMode(QAbstractItemView::SingleSelection);
    m_view.setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_view.setTabKeyNavigation(false); // Tab leaves the grid; the arrows move within it
    // The look of every grid of the program: no row header, one line a row,
    // the last column taking the width left.
    m_view.verticalHeader()->hide();
    m_view.verticalHeader()->setDefaultSectionSize(m_view.fontMetrics().height() + 6);
    m_view.horizontalHeader()->setHighlightSections(false);
    m_view.horizontalHeader()->setStretchLastSection(true);
    m_view.setWordWrap(false);
    connect(m_view.selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex &current) { followSelection(current); });
    connect(m_model, &QAbstractItemModel::modelReset, this, &GridBinding::selectCurrent);
    connect(&m_dataset, &Dataset::cursorMoved, this, &GridBinding::selectCurrent);
    selectCurrent();
}

void GridBinding::selectCurrent()
{
    if (m_syncing || m_dataset.controlsDisabled())
        return;
    m_syncing = true;
    const int row = m_dataset.isOpen() ? m_dataset.currentRow() : -1;
    if (row >= 0 && row < m_model->rowCount()) {
        const int column = std::max(m_view.currentIndex().column(), 0);
        const QModelIndex target = m_model->index(row, column);
        m_view.selectionModel()->setCurrentIndex(target, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        m_view.scrollTo(target);
    } else {
        m_view.selectionModel()->clearSelection();
    }
    m_syncing = false;
}

void GridBinding::followSelection(const QModelIndex &current)
{
    if (m_syncing || !current.isValid() || !m_dataset.isOpen())
        return;
    m_syncing = true;
    try {
        m_dataset.moveTo(current.row());
    } catch (const DataError &) {
        // a record that cannot be posted keeps the cursor where it was
    }
    m_syncing = false;
    if (m_dataset.currentRow() != current.row())
        selectCurrent();
}
