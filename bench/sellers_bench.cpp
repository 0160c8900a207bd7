#include "sellers_bench.h"

#include "bare.h"
#include "timing.h"

#include "core/polishtext.h"
#include "core/twindow.h"
#include "data/tdm.h"
#include "invoices/windows/sprzedfrm.h"

#include <QApplication>
#include <QLineEdit>
#include <QTableView>

namespace {

constexpr int Sellers = 10000;

const char *const Names[] = {"Cegielnia", "Żwirownia", "Skład Budowlany", "Łączniki i Okucia", "Ślusarstwo",
                             "Hurtownia Stali", "Tartak", "Betoniarnia", "Dachy i Rynny", "Źródło Farb"};

// The i-th generated seller: a NIP that differs from every other, a code
// and a name with Polish letters.
QString nipOf(int i)
{
    const QString digits = QStringLiteral("%1").arg(1000000000LL + qint64(i) * 7919, 10, 10, QLatin1Char('0'));
    return digits.left(3) + u'-' + digits.mid(3, 3) + u'-' + digits.mid(6, 2) + u'-' + digits.mid(8, 2);
}

QString nameOf(int i)
{
    return QStringLiteral("%1 %2").arg(QString::fromUtf8(Names[i % std::size(Names)])).arg(i, 5, 10, QLatin1Char('0'));
}

int sellerCount(Bare &bare)
{
    int count = 0;
    bare.query("SELECT COUNT(*) FROM Firmy", {}, [&](sqlite3_stmt *st) { count = sqlite3_column_int(st, 0); });
    return count;
}

// Fills the register up to 10,000 sellers in one transaction.
void fillRegister(Bare &bare)
{
    const int present = sellerCount(bare);
    if (present >= Sellers)
        return;
    bare.query("BEGIN");
    for (int i = present; i < Sellers; ++i)
        bare.query("INSERT INTO Firmy (NIP, Kod, Firma) VALUES (?, ?, ?)", [i](sqlite3_stmt *st) {
            bindText(st, 1, nipOf(i));
            bindText(st, 2, QStringLiteral("K%1").arg(i, 5, 10, QLatin1Char('0')));
            bindText(st, 3, nameOf(i));
        });
    bare.query("COMMIT");
}

// Every prefix of each text, as the user types it letter after letter.
QStringList keystrokes(const QStringList &texts)
{
    QStringList prefixes;
    for (const QString &text : texts)
        for (qsizetype n = 1; n <= text.size(); ++n)
            prefixes << text.left(n);
    return prefixes;
}

// What the register runs for a prefix of one field, with the bare API.
void bareLocate(Bare &bare, const QByteArray &field, const QString &prefix)
{
    const QString upper = polishUpper(prefix);
    bare.query("SELECT rowid FROM Firmy WHERE pl_upper(substr(COALESCE(" + field + ", ''), 1, ?)) = ? "
               "ORDER BY NIP, rowid LIMIT 1",
               [&](sqlite3_stmt *st) {
                   sqlite3_bind_int(st, 1, int(upper.size()));
                   bindText(st, 2, upper);
               });
}

} // namespace

void benchSellers(Report &report, TDM &dm, Bare &bare)
{
    fillRegister(bare);
    // Written past the data module: the register reads itself anew.
    dm.Firmy.close();
    dm.Firmy.open();

    TWindow window;
    TSprzedFrm frm(dm, window);
    frm.resize(700, 500);
    frm.show();
    QApplication::processEvents();
    auto *edNip = frm.findChild<QLineEdit *>(QStringLiteral("EdNIP"));
    auto *edFirma = frm.findChild<QLineEdit *>(QStringLiteral("EdFirma"));

    const struct
    {
        QString name;
        QLineEdit *edit;
        QByteArray field;
        QStringList typed;
    } searches[] = {
        {QStringLiteral("Sprzedawcy: nazwa litera po literze (10 000)"), edFirma, "Firma",
         keystrokes({nameOf(7321).toLower(), nameOf(4444), nameOf(9998).toUpper()})},
        {QStringLiteral("Sprzedawcy: NIP cyfra po cyfrze (10 000)"), edNip, "NIP",
         keystrokes({nipOf(8123), nipOf(17), nipOf(5555)})},
    };
    for (const auto &s : searches) {
        int next = 0;
        const qsizetype count = s.typed.size();
        report.add(s.name,
                   medianMicros(int(count) * 5, [&] { s.edit->setText(s.typed[next++ % count]); }),
                   medianMicros(int(count) * 5, [&] { bareLocate(bare, s.field, s.typed[next++ % count]); }));
        s.edit->clear();
    }
    frm.hide();
}
