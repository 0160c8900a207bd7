#include "support/paradoxfixture.h"

extern "C" {
#include <paradox.h>
}

#include <QDate>
#include <QFile>
#include <QStringEncoder>

bool writeParadoxTable(const QString &path, const QList<ParadoxColumn> &columns, const QList<QVariantList> &rows)
{
    pxdoc_t *px = PX_new();
    if (!px)
        return false;
    auto *fields = static_cast<pxfield_t *>(px->malloc(px, columns.size() * sizeof(pxfield_t), "fields"));
    for (qsizetype i = 0; i < columns.size(); ++i) {
        fields[i].px_fname = PX_strdup(px, columns[i].name);
        fields[i].px_ftype = columns[i].type;
        fields[i].px_flen = columns[i].size;
        fields[i].px_fdc = 0;
    }
    if (PX_create_file(px, fields, int(columns.size()), QFile::encodeName(path).constData(), pxfFileTypNonIndexDB) != 0) {
        PX_delete(px);
        return false;
    }
    // pxlib measures a value in bytes before it converts it, so UTF-8 text
    // with Polish letters that fills its field would overrun the record:
    // the values are handed over in the table's own code page.
    PX_set_value(px, "codepage", 1250);
    PX_set_parameter(px, "inputencoding", "CP1250");
    PX_set_parameter(px, "targetencoding", "CP1250");
    QStringEncoder cp1250("windows-1250");
    bool ok = true;
    for (const QVariantList &row : rows) {
        QList<QByteArray> texts(columns.size());
        QList<pxval_t *> values(columns.size());
        for (qsizetype i = 0; i < columns.size(); ++i) {
            pxval_t *v = nullptr;
            MAKE_PXVAL(px, v);
            values[i] = v;
            const QVariant value = row.value(i);
            v->isnull = !value.isValid();
            v->type = columns[i].type;
            switch (columns[i].type) {
            case pxfAlpha:
                texts[i] = cp1250(value.toString().left(columns[i].size));
                v->isnull = texts[i].isEmpty();
                v->value.str.val = texts[i].data();
                v->value.str.len = int(texts[i].size());
                break;
            case pxfDate: {
                const QDate d = value.toDate();
                v->value.lval = PX_GregorianToSdn(d.year(), d.month(), d.day()) - 1721425;
                break;
            }
            case pxfCurrency: case pxfNumber:
                v->value.dval = value.toDouble();
                break;
            default:
                v->value.lval = long(value.toLongLong());
            }
        }
        const int inserted = PX_insert_record(px, values.data());
        for (pxval_t *v : values)
            FREE_PXVAL(px, v);
        ok = ok && inserted >= 0;
    }
    PX_close(px);
    PX_delete(px);
    return ok;
}

QList<ParadoxColumn> previousPodatnikColumns()
{
    return {{"PodatId", pxfAutoInc, 4}, {"Nazwisko", pxfAlpha, 50}, {"Imie", pxfAlpha, 30},
            {"Urzad", pxfAlpha, 100}, {"NIP", pxfAlpha, 13}, {"PESEL", pxfAlpha, 11},
            {"Dokument", pxfAlpha, 100}, {"Kraj", pxfAlpha, 30}, {"Wojew", pxfAlpha, 20},
            {"Powiat", pxfAlpha, 30}, {"Gmina", pxfAlpha, 30}, {"Ulica", pxfAlpha, 30},
            {"Posesja", pxfAlpha, 10}, {"Lokal", pxfAlpha, 10}, {"Miasto", pxfAlpha, 30},
            {"KodPoczt", pxfAlpha, 10}, {"Poczta", pxfAlpha, 30}, {"MNIP", pxfAlpha, 13},
            {"MPESEL", pxfAlpha, 11}, {"MNazwisko", pxfAlpha, 50}, {"MImie", pxfAlpha, 30},
            {"MDokument", pxfAlpha, 100}, {"MKraj", pxfAlpha, 30}, {"MWojew", pxfAlpha, 20},
            {"MPowiat", pxfAlpha, 30}, {"MGmina", pxfAlpha, 30}, {"MUlica", pxfAlpha, 30},
            {"MPosesja", pxfAlpha, 10}, {"MLokal", pxfAlpha, 10}, {"MMiasto", pxfAlpha, 30},
            {"MKodPoczt", pxfAlpha, 10}, {"MPoczta", pxfAlpha, 30}};
}

int paradoxFieldCount(const QByteArray &table)
{
    return quint8(table[0x21]) | (quint8(table[0x22]) << 8);
}

qsizetype paradoxNameEnd(const QByteArray &table, int field)
{
    // The names follow the field list, two pointer arrays and the table name.
    const int version = quint8(table[0x39]);
    const int count = paradoxFieldCount(table);
    qsizetype at = (version >= 5 ? 0x78 : 0x58) + 2 * count + 4 + 4 * count + (version >= 12 ? 261 : 79);
    for (int i = 0;; ++i) {
        const qsizetype end = table.indexOf('\0', at);
        if (i == field || end < 0)
            return end;
        at = end + 1;
    }
}
