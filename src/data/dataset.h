#pragma once

#include "data/database.h"
#include "data/schema.h"

#include "core/money.h"

#include <QBitArray>
#include <QDate>
#include <QList>
#include <QObject>
#include <QVariant>

#include <functional>
#include <optional>

class Dataset;

// One field of a dataset's current record (the edit buffer while editing).
// value() and setValue() speak the field's type: QString, qint64, Money,
// QDate, bool; an empty field reads as a null variant (empty text for texts).
class Field
{
public:
    Field(Dataset &dataset, int index) : m_dataset(dataset), m_index(index) {}

    const FieldDef &def() const;
    QVariant value() const;
    bool isNull() const;
    QString asString() const;
    int asInteger() const;
    Money asMoney() const;
    QDate asDate() const; // null date when empty
    bool asBoolean() const;

    void setValue(const QVariant &value) const; // converted to the field's type
    void setString(const QString &text) const;  // cut to the field's size
    void setInteger(qint64 value) const;
    void setMoney(Money value) const;
    void setDate(const QDate &date) const; // a null date empties the field
    void setBoolean(bool value) const;
    void clear() const;

private:
    QVariant stored() const;
    Dataset &m_dataset;
    int m_index;
};

enum class LocateOption { CaseInsensitive = 1, PartialKey = 2 };
Q_DECLARE_FLAGS(LocateOptions, LocateOption)
Q_DECLARE_OPERATORS_FOR_FLAGS(LocateOptions)

// A set of records with a cursor, as the windows and models see every table,
// query and in-memory table: navigation, editing and locating.
//
// Navigation while a record is being edited posts it first. A failed post
// throws DataError and leaves the record in edit, so the caller can cancel.
// An edit cut short because the table was written elsewhere meanwhile (the
// record may be gone) is not lost in silence: the next post throws
// DataError saying the changes were not saved.
class Dataset : public QObject
{
    Q_OBJECT
public:
    enum class State { Inactive, Browse, Edit, Insert };
    using Calculation = std::function<QVariant(Dataset &, int row)>;

    explicit Dataset(const QString &name, QObject *parent = nullptr);

    const QString &name() const { return m_name; }

    // Stored fields first, then the calculated ones.
    const QList<FieldDef> &fields() const { return m_fields; }
    int fieldIndex(QStringView fieldName) const; // by name, ignoring case; -1 when absent
    Field field(const QString &fieldName);     // throws DataError for an unknown name
    void addCalculatedField(const FieldDef &def, Calculation calculation);

    void open();
    void close();
    bool isOpen() const { return m_state != State::Inactive; }
    State state() const { return m_state; }
    bool isEditing() const { return m_state == State::Edit || m_state == State::Insert; }

    int recordCount();
    bool isEmpty() { return recordCount() == 0; }
    int recNo();      // 1-based position of the current record; 0 when there is none
    int currentRow(); // 0-based; -1 when there is none
    void first();
    void last();
    void next();
    void prior();
    void moveTo(int row);
    bool eof();
    bool bof();

    void edit(); // throws DataError on an empty dataset: there is no record to edit
    void insert();
    void append();
    void post();
    void cancel();
    void remove();

    // Moves to the first record, in the dataset's order, whose fields (names
    // joined by ";") hold the values; stays put when there is none.
    // PartialKey and CaseInsensitive apply to text fields.
    bool locate(const QString &fieldNames, const QVariantList &values, LocateOptions options = {});
    bool locate(const QString &fieldName, const QVariant &value, LocateOptions options = {})
    {
        return locate(fieldName, QVariantList{value}, options);
    }

    // The value of field `fieldIndex` in record `row`, for grids, typed as Field::value().
    QVariant valueAt(int row, int fieldIndex);

    // While controls are disabled, views over the dataset do not follow it;
    // enabling them again makes every view read it anew.
    void disableControls();
    void enableControls();
    bool controlsDisabled() const { return m_disabledControls > 0; }

    // Values are stored as the store keeps them: text, whole numbers, money in
    // ten-thousandths, dates as ISO text, logical values as 0/1, null for empty.
    // toStorage drops control characters from texts (a memo keeps its tabs
    // and line breaks) and cuts them to the field's size; a whole number given for money
    // is a number of złoty, a real is rounded to the ten-thousandth.
    static QVariant toStorage(const FieldDef &def, const QVariant &value);
    static QVariant fromStorage(const FieldDef &def, const QVariant &stored);

signals:
    void opened();
    void closed();
    void cursorMoved();     // the current record is another one (also when opened or closed)
    void rowsChanged();     // records were added, removed or read anew
    void rowChanged(int row);
    void posted();
    void removed();

protected:
    // What each kind of dataset provides. Rows are 0-based positions in the
    // dataset's order.
    virtual QList<FieldDef> openStorage() = 0; // answers the stored fields
    virtual void closeStorage() = 0;
    virtual int storedCount() = 0;
    virtual SqlRow storedRow(int row) = 0;
    // Each answers the row's position afterwards.
    virtual int updateStored(int row, const SqlRow &values, const QBitArray &changed) = 0;
    virtual int insertStored(int position, SqlRow &values, const QBitArray &assigned) = 0;
    virtual void removeStored(int row) = 0;
    virtual std::optional<int> findStored(const QList<int> &fieldIndexes, const QVariantList &values,
                                          LocateOptions options);

    int storedFieldCount() const { return m_storedFieldCount; }
    // The records were changed from elsewhere: keeps the cursor in range and
    // tells the views. `row` is the current record's new position, if known.
    void storageReloaded(std::optional<int> row = std::nullopt);
    static bool matches(const SqlRow &record, const QList<FieldDef> &fields, const QList<int> &fieldIndexes,
                        const QVariantList &values, LocateOptions options);

private:
    friend class Field;
    QVariant currentValue(int index);
    void setCurrentValue(int index, const QVariant &storage);
    void requireOpen() const;
    void settle();
    void leaveEditing();
    void setRow(int row);
    void announceRows();
    void announceCursor();

    QString m_name;
    QList<FieldDef> m_fields;
    int m_storedFieldCount = 0;
    QList<FieldDef> m_calculatedDefs;
    QList<Calculation> m_calculations;
    State m_state = State::Inactive;
    int m_row = -1;
    bool m_unsettled = false; // opened, but not yet told how many records there are
    bool m_bof = true;
    bool m_eof = true;
    int m_insertPosition = 0;
    SqlRow m_buffer;
    QBitArray m_assigned;
    int m_disabledControls = 0;
    bool m_editCutShort = false; // told by the next post
};
