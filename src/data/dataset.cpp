#include "data/dataset.h"

#include "data/dataerror.h"
#include "core/polishtext.h"

namespace {

bool isTextType(FieldType type)
{
    return type == FieldType::Text || type == FieldType::Memo;
}

// A control character stored in a text cannot be typed to find it (a NUL
// ends the text for many a reader); a note keeps its tabs and line breaks.
QString withoutControlCharacters(const QString &text, bool keepLines)
{
    QString clean;
    clean.reserve(text.size());
    for (const QChar c : text)
        if (c.category() != QChar::Other_Control
            || (keepLines && (c == u'\t' || c == u'\n' || c == u'\r')))
            clean.append(c);
    return clean;
}

QString isoDate(const QDate &date)
{
    return date.isValid() ? date.toString(Qt::ISODate) : QString();
}

// Compares a stored value with a located one (both in storage form).
bool sameValue(const FieldDef &def, const QVariant &stored, const QVariant &wanted, LocateOptions options)
{
    if (isTextType(def.type) || def.type == FieldType::Date) {
        const QString s = stored.toString();
        const QString w = wanted.toString();
        const bool ignoreCase = options.testFlag(LocateOption::CaseInsensitive);
        if (options.testFlag(LocateOption::PartialKey))
            return ignoreCase ? startsWithIgnoringCase(s, w) : s.startsWith(w);
        return ignoreCase ? equalsIgnoringCase(s, w) : s == w;
    }
    if (stored.isNull() || wanted.isNull())
        return stored.isNull() == wanted.isNull();
    return stored.toLongLong() == wanted.toLongLong();
}

} // namespace

// --- Field -------------------------------------------------------------------

const FieldDef &Field::def() const
{
    return m_dataset.m_fields[m_index];
}

QVariant Field::value() const
{
    return Dataset::fromStorage(def(), stored());
}

QVariant Field::stored() const
{
    return m_dataset.currentValue(m_index);
}

bool Field::isNull() const
{
    const QVariant v = stored();
    return v.isNull() || (isTextType(def().type) && v.toString().isEmpty());
}

QString Field::asString() const
{
    const QVariant v = stored();
    if (v.isNull())
        return {};
    switch (def().type) {
    case FieldType::Money:
        return Money::fromRaw(v.toLongLong()).format(2, false);
    case FieldType::Date:
        return asDate().toString(QStringLiteral("dd-MM-yyyy"));
    default:
        return v.toString();
    }
}

int Field::asInteger() const
{
    return int(stored().toLongLong());
}

Money Field::asMoney() const
{
    return Money::fromRaw(stored().toLongLong());
}

QDate Field::asDate() const
{
    return QDate::fromString(stored().toString(), Qt::ISODate);
}

bool Field::asBoolean() const
{
    return stored().toLongLong() != 0;
}

void Field::setValue(const QVariant &value) const
{
    m_dataset.setCurrentValue(m_index, Dataset::toStorage(def(), value));
}

void Field::setString(const QString &text) const
{
    setValue(text);
}

void Field::setInteger(qint64 value) const
{
    setValue(value);
}

void Field::setMoney(Money value) const
{
    setValue(QVariant::fromValue(value));
}

void Field::setDate(const QDate &date) const
{
    setValue(date);
}

void Field::setBoolean(bool value) const
{
    setValue(value);
}

void Field::clear() const
{
    setValue(QVariant());
}

// --- Dataset -----------------------------------------------------------------

Dataset::Dataset(const QString &name, QObject *parent) : QObject(parent), m_name(name)
{
    setObjectName(name);
}

QVariant Dataset::toStorage(const FieldDef &def, const QVariant &value)
{
    switch (def.type) {
    case FieldType::Text:
    case FieldType::Memo: {
        // Never a null string: the store would keep it as null, not as "".
        const QString text = withoutControlCharacters(value.toString(), def.type == FieldType::Memo);
        if (text.isEmpty())
            return QStringLiteral("");
        if (def.type != FieldType::Text || def.size <= 0 || text.size() <= def.size)
            return text;
        // A character of another plane is kept whole or not at all: half of
        // it would be stored as a "?".
        QString cut = text.left(def.size);
        if (cut.back().isHighSurrogate())
            cut.chop(1);
        return cut;
    }
    case FieldType::Date:
        if (value.metaType().id() == QMetaType::QDate) {
            const QString iso = isoDate(value.toDate());
            return iso.isEmpty() ? QVariant() : QVariant(iso);
        }
        return value.isNull() || value.toString().isEmpty() ? QVariant() : QVariant(value.toString());
    case FieldType::Money:
        if (value.metaType() == QMetaType::fromType<Money>())
            return value.value<Money>().raw();
        if (value.metaType().id() == QMetaType::Double || value.metaType().id() == QMetaType::Float)
            return Money::fromReal(value.toDouble()).raw();
        // a whole number is a number of złoty
        return value.isNull() ? QVariant() : QVariant(Money::fromUnits(value.toLongLong()).raw());
    case FieldType::Logical:
        return value.isNull() ? QVariant() : QVariant(qint64(value.toBool() || value.toLongLong() != 0));
    case FieldType::SmallInt:
        return value.isNull() ? QVariant() : QVariant(qint64(std::clamp<qint64>(value.toLongLong(), -32768, 32767)));
    default:
        return value.isNull() ? QVariant() : QVariant(value.toLongLong());
    }
}

QVariant Dataset::fromStorage(const FieldDef &def, const QVariant &stored)
{
    if (stored.isNull())
        return isTextType(def.type) ? QVariant(QString()) : QVariant();
    switch (def.type) {
    case FieldType::Money:
        return QVariant::fromValue(Money::fromRaw(stored.toLongLong()));
    case FieldType::Date:
        return QDate::fromString(stored.toString(), Qt::ISODate);
    case FieldType::Logical:
        return stored.toLongLong() != 0;
    case FieldType::Text:
    case FieldType::Memo:
        return stored.toString();
    default:
        return stored.toLongLong();
    }
}

int Dataset::fieldIndex(QStringView fieldName) const
{
    for (int i = 0; i < m_fields.size(); ++i)
        if (QStringView(m_fields[i].name).compare(fieldName, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

Field Dataset::field(const QString &fieldName)
{
    const int index = fieldIndex(fieldName);
    if (index < 0)
        throw DataError(QStringLiteral("%1: brak pola %2").arg(m_name, fieldName));
    return Field(*this, index);
}

void Dataset::addCalculatedField(const FieldDef &def, Calculation calculation)
{
    m_calculatedDefs.append(def);
    m_calculations.append(std::move(calculation));
    m_fields.append(def);
}

void Dataset::open()
{
    if (isOpen())
        return;
    m_fields = openStorage();
    m_storedFieldCount = int(m_fields.size());
    m_fields += m_calculatedDefs;
    m_state = State::Browse;
    // The cursor stands before the first record; how many there are is not
    // asked until someone looks, so that opening a large table reads nothing.
    m_row = 0;
    m_unsettled = true;
    m_bof = true;
    emit opened();
    announceRows();
    announceCursor();
}

void Dataset::close()
{
    if (!isOpen())
        return;
    m_state = State::Inactive;
    m_buffer.clear();
    m_row = -1;
    m_bof = m_eof = true;
    closeStorage();
    emit closed();
    announceRows();
    announceCursor();
}

void Dataset::requireOpen() const
{
    if (!isOpen())
        throw DataError(QStringLiteral("%1: zbiór danych jest zamknięty").arg(m_name));
}

int Dataset::recordCount()
{
    return isOpen() ? storedCount() : 0;
}

void Dataset::settle()
{
    if (!m_unsettled)
        return;
    m_unsettled = false;
    if (storedCount() == 0) {
        m_row = -1;
        m_eof = true;
    } else {
        m_eof = false;
    }
}

int Dataset::currentRow()
{
    settle();
    return m_row;
}

int Dataset::recNo()
{
    return currentRow() + 1;
}

bool Dataset::eof()
{
    settle();
    return m_eof;
}

bool Dataset::bof()
{
    settle();
    return m_bof;
}

void Dataset::setRow(int row)
{
    m_unsettled = false;
    const int count = storedCount();
    const int previous = m_row;
    m_row = count == 0 ? -1 : std::clamp(row, 0, count - 1);
    m_bof = m_row <= 0 && row <= 0;
    m_eof = count == 0 || row >= count;
    if (m_row != previous)
        announceCursor();
}

void Dataset::leaveEditing()
{
    requireOpen();
    settle();
    if (isEditing())
        post();
}

void Dataset::first()
{
    leaveEditing();
    setRow(0);
    m_bof = true;
}

void Dataset::last()
{
    leaveEditing();
    setRow(storedCount() - 1);
    m_eof = true;
}

void Dataset::next()
{
    leaveEditing();
    setRow(m_row + 1);
    m_bof = false;
}

void Dataset::prior()
{
    leaveEditing();
    setRow(m_row - 1);
    m_eof = false;
}

void Dataset::moveTo(int row)
{
    leaveEditing();
    setRow(row);
}

void Dataset::edit()
{
    requireOpen();
    settle();
    if (isEditing())
        return;
    if (storedCount() == 0 || m_row < 0)
        throw DataError(QStringLiteral("%1: brak rekordu do edycji").arg(m_name));
    m_editCutShort = false;
    m_buffer = storedRow(m_row);
    m_assigned = QBitArray(m_storedFieldCount);
    m_state = State::Edit;
}

void Dataset::insert()
{
    leaveEditing();
    m_editCutShort = false;
    m_insertPosition = std::max(m_row, 0);
    m_buffer = SqlRow(m_storedFieldCount);
    m_assigned = QBitArray(m_storedFieldCount);
    m_state = State::Insert;
}

void Dataset::append()
{
    insert();
    m_insertPosition = storedCount();
}

void Dataset::post()
{
    requireOpen();
    if (m_editCutShort && !isEditing()) {
        m_editCutShort = false;
        throw DataError(QStringLiteral("Nie zapisano zmian w tabeli %1: w tym czasie zapisano ją w innym miejscu, "
                                       "a edycję przerwano. Wprowadź zmiany ponownie.")
                            .arg(m_name));
    }
    if (m_state == State::Edit) {
        const int row = updateStored(m_row, m_buffer, m_assigned);
        m_state = State::Browse;
        m_buffer.clear();
        if (row != m_row) {
            announceRows();
            setRow(row);
        } else if (!controlsDisabled()) {
            emit rowChanged(row);
        }
    } else if (m_state == State::Insert) {
        const int row = insertStored(m_insertPosition, m_buffer, m_assigned);
        m_state = State::Browse;
        m_buffer.clear();
        announceRows();
        m_row = -1;
        setRow(row);
    } else {
        return;
    }
    emit posted();
}

void Dataset::cancel()
{
    m_editCutShort = false;
    if (!isEditing())
        return;
    m_state = State::Browse;
    m_buffer.clear();
}

void Dataset::remove()
{
    requireOpen();
    if (m_state == State::Insert) {
        cancel();
        return;
    }
    cancel();
    settle();
    if (m_row < 0)
        throw DataError(QStringLiteral("%1: brak rekordu do usunięcia").arg(m_name));
    const int row = m_row;
    removeStored(row);
    announceRows();
    m_row = -1;
    setRow(row);
    emit removed();
}

bool Dataset::locate(const QString &fieldNames, const QVariantList &values, LocateOptions options)
{
    leaveEditing();
    const QStringList names = fieldNames.split(QLatin1Char(';'), Qt::SkipEmptyParts);
    if (names.size() != values.size())
        throw DataError(QStringLiteral("%1: liczba wartości nie zgadza się z liczbą pól").arg(m_name));
    QList<int> indexes;
    QVariantList wanted;
    for (int i = 0; i < names.size(); ++i) {
        const int index = fieldIndex(names[i].trimmed());
        if (index < 0 || index >= m_storedFieldCount)
            throw DataError(QStringLiteral("%1: brak pola %2").arg(m_name, names[i]));
        // Prefixes are not cut to the field's size: a longer prefix matches nothing.
        const FieldDef &def = m_fields[index];
        wanted << (isTextType(def.type) ? QVariant(values[i].toString()) : toStorage(def, values[i]));
        indexes << index;
    }
    const std::optional<int> row = findStored(indexes, wanted, options);
    if (!row)
        return false;
    setRow(*row);
    return true;
}

std::optional<int> Dataset::findStored(const QList<int> &fieldIndexes, const QVariantList &values,
                                       LocateOptions options)
{
    const int count = storedCount();
    for (int row = 0; row < count; ++row)
        if (matches(storedRow(row), m_fields, fieldIndexes, values, options))
            return row;
    return std::nullopt;
}

bool Dataset::matches(const SqlRow &record, const QList<FieldDef> &fields, const QList<int> &fieldIndexes,
                      const QVariantList &values, LocateOptions options)
{
    for (int i = 0; i < fieldIndexes.size(); ++i) {
        const int index = fieldIndexes[i];
        if (!sameValue(fields[index], record.value(index), values[i], options))
            return false;
    }
    return true;
}

QVariant Dataset::valueAt(int row, int index)
{
    if (!isOpen() || row < 0 || row >= storedCount() || index < 0 || index >= m_fields.size())
        return {};
    if (index >= m_storedFieldCount)
        return m_calculations[index - m_storedFieldCount](*this, row);
    return fromStorage(m_fields[index], storedRow(row).value(index));
}

QVariant Dataset::currentValue(int index)
{
    settle();
    if (index >= m_storedFieldCount) {
        if (m_state == State::Insert || m_row < 0)
            return {};
        return m_calculations[index - m_storedFieldCount](*this, m_row);
    }
    if (isEditing())
        return m_buffer.value(index);
    if (m_row < 0)
        return {};
    return storedRow(m_row).value(index);
}

void Dataset::setCurrentValue(int index, const QVariant &storage)
{
    if (!isEditing())
        throw DataError(QStringLiteral("%1: rekord nie jest w trybie edycji").arg(m_name));
    if (index >= m_storedFieldCount)
        throw DataError(QStringLiteral("%1: pole %2 jest wyliczane").arg(m_name, m_fields[index].name));
    m_buffer[index] = storage;
    m_assigned.setBit(index);
}

void Dataset::storageReloaded(std::optional<int> row)
{
    if (!isOpen())
        return;
    if (m_state == State::Edit) {
        cancel(); // the record being edited may be gone
        m_editCutShort = true;
    }
    announceRows();
    settle();
    const int target = row.value_or(m_row);
    m_row = -1;
    setRow(target);
}

void Dataset::disableControls()
{
    ++m_disabledControls;
}

void Dataset::enableControls()
{
    if (m_disabledControls == 0 || --m_disabledControls > 0)
        return;
    emit rowsChanged();
    emit cursorMoved();
}

void Dataset::announceRows()
{
    if (!controlsDisabled())
        emit rowsChanged();
}

void Dataset::announceCursor()
{
    if (!controlsDisabled())
        emit cursorMoved();
}
