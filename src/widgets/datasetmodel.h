#pragma once

#include "data/dataset.h"

#include <QAbstractTableModel>
#include <QPointer>

class QTableView;

// One column of a grid over a dataset.
struct GridColumn
{
    QString field;
    QString title;                       // the field's name when empty
    Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter;
    QString format;                      // for money: a display pattern such as "#,##0.00"
    // A text kept as typed through an input mask ("   -   -  -  "): its
    // blanks and separators alone show nothing.
    bool masked = false;
};

// Shows a dataset in a grid: one row per record, reading only the rows the
// view asks for, and reading the dataset anew whenever its records change.
class DatasetModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    DatasetModel(Dataset &dataset, const QList<GridColumn> &columns, QObject *parent = nullptr);

    Dataset &dataset() const { return m_dataset; }
    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    // The text a cell shows for a field's value.
    static QString displayText(const FieldDef &def, const QVariant &value, const QString &format,
                               bool masked = false);

private:
    void reset();

    Dataset &m_dataset;
    QList<GridColumn> m_columns;
};

// Keeps a grid's selected row and the dataset's current record together:
// moving the cursor selects its row, selecting a row moves the cursor.
// Whole rows are selected, one at a time.
class GridBinding : public QObject
{
    Q_OBJECT
public:
    GridBinding(QTableView &view, Dataset &dataset, const QList<GridColumn> &columns);

    DatasetModel &model() { return *m_model; }

private:
    void selectCurrent();
    void followSelection(const QModelIndex &current);

    QTableView &m_view;
    Dataset &m_dataset;
    DatasetModel *m_model;
    bool m_syncing = false;
};
