#include "windows_bench.h"

#include "bare.h"
#include "generator.h"
#include "timing.h"

#include "core/twindow.h"
#include "data/tdm.h"
#include "vzm/attachmentmodel.h"
#include "vzm/formmodel.h"
#include "vzm/windows/vzm1_3frm.h"
#include "vzm/windows/wnioskifrm.h"

#include <QApplication>
#include <QHeaderView>
#include <QStandardItemModel>
#include <QTableView>

namespace {

// Every grid of the window drawn, the hidden tabs' too.
void paintGrids(QWidget &window)
{
    for (QTableView *grid : window.findChildren<QTableView *>())
        grid->grab();
}

// The baseline of the applications window: the same reads with the bare
// API, shown the plainest way Qt has (item models in views of the same
// size), so that the ratio is what the program adds to reading and drawing.
class PlainGrids
{
public:
    explicit PlainGrids(QWidget &window)
    {
        for (const char *name : {"VzmAGrid", "VzmBGrid", "VzmCGrid", "MainGrid"}) {
            auto *grid = window.findChild<QTableView *>(QLatin1StringView(name));
            auto *view = new QTableView;
            view->setModel(new QStandardItemModel(view));
            view->resize(grid->size());
            m_views.emplace_back(view);
        }
    }

    // The invoice lists of one application: their rows, with the seller of
    // each row on screen looked up, drawn in the first three views.
    void showInvoices(Bare &bare, int vzmId)
    {
        const char *lists[] = {"A", "B", "C"};
        for (int l = 0; l < 3; ++l)
            show(*m_views[l], bare,
                 "SELECT rowid, FaktId, VzmId, Oznacz, NrFakt, LpFakt, DataWyst, KodSprzed, NipSprzed, Brutto, VatA, VatB"
                 "\nFROM Faktury\nWHERE VzmId=:VzmId and Oznacz=:Oznacz",
                 [&](sqlite3_stmt *st) {
                     sqlite3_bind_int(st, 1, vzmId);
                     bindText(st, 2, QLatin1String(lists[l]));
                 },
                 true);
    }

    // The taxpayer's applications, drawn in the last view.
    void showApplications(Bare &bare, int podatId)
    {
        show(*m_views.back(), bare,
             "SELECT rowid, VzmId, PodatId, NrKolej, Korekta, NrKoryg, Faktur, SztukA, SztukB, SztukC, "
             "Zwrot, DataPier, Wersja\nFROM Vzmy\nWHERE PodatId=:PodatId\nORDER BY NrKolej",
             [&](sqlite3_stmt *st) { sqlite3_bind_int(st, 1, podatId); }, false);
    }

private:
    void show(QTableView &view, Bare &bare, const QByteArray &sql, const std::function<void(sqlite3_stmt *)> &bind,
              bool sellers)
    {
        auto *model = static_cast<QStandardItemModel *>(view.model());
        model->clear();
        bare.query(sql, bind, [model](sqlite3_stmt *st) {
            QList<QStandardItem *> row;
            for (int c = 0; c < sqlite3_column_count(st); ++c)
                row << new QStandardItem(QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(st, c))));
            model->appendRow(row);
        });
        const int onScreen = view.height() / view.verticalHeader()->defaultSectionSize() + 1;
        for (int row = 0; sellers && row < std::min(model->rowCount(), onScreen); ++row)
            bare.query("SELECT Firma FROM Firmy WHERE NIP = ?",
                       [](sqlite3_stmt *st) { bindText(st, 1, QStringLiteral("526-025-02-74")); });
        view.grab();
    }

    std::vector<std::unique_ptr<QTableView>> m_views;
};

} // namespace

void benchWindows(Report &report, TDM &dm, Bare &bare, const GeneratedRegister &reg, const QString &register_)
{
    TVzm_3 vzm(dm);
    TVZMab vzmab(dm);
    TWindow window;
    TWnioskiFrm frm(dm, vzm, vzmab, window);
    frm.resize(1280, 800);
    dm.Podatnik.locate(QStringLiteral("PodatId"), reg.busyTaxpayer);
    frm.Otworz();
    frm.show();
    QApplication::processEvents();
    PlainGrids plain(frm);

    report.add(QStringLiteral("Okno wniosków, 300 faktur (%1)").arg(register_),
               medianMicros(21, [&] {
                   frm.Otworz();
                   paintGrids(frm);
               }),
               medianMicros(21, [&] {
                   plain.showApplications(bare, reg.busyTaxpayer);
                   plain.showInvoices(bare, reg.busyApplication);
               }));

    auto *applications = frm.findChild<QTableView *>(QStringLiteral("MainGrid"));
    report.add(QStringLiteral("Inny wniosek i z powrotem (%1)").arg(register_),
               medianMicros(21, [&] {
                   applications->selectRow(1);
                   paintGrids(frm);
                   applications->selectRow(0);
                   paintGrids(frm);
               }),
               medianMicros(21, [&] {
                   plain.showInvoices(bare, reg.otherApplication);
                   plain.showInvoices(bare, reg.busyApplication);
               }));

    const auto bind = [](int value) { return [value](sqlite3_stmt *st) { sqlite3_bind_int(st, 1, value); }; };
    report.add(QStringLiteral("Edytor wniosku do pokazania (%1)").arg(register_),
               medianMicros(11, [&] {
                   vzm.Wczytaj(reg.busyTaxpayer, reg.busyApplication);
                   TVZM1_3Frm editor(dm, vzm, window, &frm);
                   editor.Przygotuj();
                   editor.show();
                   editor.grab();
                   editor.hide();
               }),
               // The same reads with the bare API, and the same window drawn empty.
               medianMicros(11, [&] {
                   TVZM1_3Frm editor(dm, vzm, window, &frm);
                   editor.show();
                   editor.grab();
                   editor.hide();
                   bare.query("SELECT * FROM Podatnik WHERE PodatId = ?", bind(reg.busyTaxpayer));
                   for (const char *list : {"A", "B", "C"})
                       bare.query(QByteArray("SELECT COUNT(*) FROM Faktury WHERE VzmId = ? AND Oznacz = '") + list + "'",
                                  bind(reg.busyApplication));
                   for (const char *column : {"VatA", "VatB"})
                       for (const char *list : {"A", "B", "C"})
                           bare.query(QByteArray("SELECT SUM(") + column + ") FROM Faktury WHERE VzmId = ? AND Oznacz = '"
                                          + list + "'",
                                      bind(reg.busyApplication));
                   bare.query("SELECT * FROM VZMy WHERE VzmId = ?", bind(reg.busyApplication));
                   bare.query("SELECT * FROM VZMw3 WHERE VzmId = ? ORDER BY WpisId LIMIT 1", bind(reg.busyApplication));
                   bare.query("SELECT * FROM Imiona");
                   for (const char *field : {"Urzad", "Kraj", "Powiat", "Gmina", "Miasto", "Ulica", "Poczta"})
                       bare.query(QByteArray("SELECT DISTINCT ") + field + " FROM Podatnik ORDER BY " + field);
               }));
    frm.hide();
}
