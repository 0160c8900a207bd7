#include "vzm/windows/rozliczeniezakladka.h"

#include "vzm/rozliczenie.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {
enum Kolumna { KolPozycja, KolOpis, KolDzialanie, KolKwota, Kolumn };
}

TRozliczenieZakladka::TRozliczenieZakladka(QWidget *parent) : QWidget(parent)
{
    m_naglowek = new QLabel;
    m_naglowek->setObjectName(QStringLiteral("RozliczenieNaglowek"));
    m_naglowek->setWordWrap(true);
    m_naglowek->setTextFormat(Qt::PlainText);
    m_wiersze = new QTableWidget(0, Kolumn);
    m_wiersze->setObjectName(QStringLiteral("RozliczenieGrid"));
    m_wiersze->setHorizontalHeaderLabels(
        {QStringLiteral("Poz."), QStringLiteral("Opis"), QStringLiteral("Obliczenie"), QStringLiteral("Kwota")});
    m_wiersze->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_wiersze->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_wiersze->setWordWrap(true);
    m_wiersze->verticalHeader()->hide();
    m_wiersze->horizontalHeader()->setSectionResizeMode(KolOpis, QHeaderView::Stretch);
    m_wiersze->horizontalHeader()->setSectionResizeMode(KolDzialanie, QHeaderView::ResizeToContents);
    m_wiersze->horizontalHeader()->setSectionResizeMode(KolKwota, QHeaderView::ResizeToContents);
    m_wiersze->horizontalHeader()->setSectionResizeMode(KolPozycja, QHeaderView::ResizeToContents);
    m_drukuj = new QPushButton(QStringLiteral("&Drukuj rozliczenie..."));
    m_drukuj->setObjectName(QStringLiteral("DrukujRozliczenieBtn"));
    m_drukuj->setAutoDefault(false);

    auto *pasek = new QHBoxLayout;
    pasek->addWidget(m_naglowek, 1);
    pasek->addWidget(m_drukuj, 0, Qt::AlignTop);
    auto *uklad = new QVBoxLayout(this);
    uklad->addLayout(pasek);
    uklad->addWidget(m_wiersze, 1);
}

void TRozliczenieZakladka::Pokaz(const TRozliczenieZwrotu &rozliczenie)
{
    m_naglowek->setText(rozliczenie.Naglowek().join(QLatin1Char('\n')));
    const QList<TWierszRozliczenia> &wiersze = rozliczenie.Wiersze();
    m_wiersze->clearSpans();
    m_wiersze->setRowCount(int(wiersze.size()));
    for (int r = 0; r < wiersze.size(); ++r) {
        const TWierszRozliczenia &w = wiersze[r];
        const bool wyrozniony = w.rodzaj != TWierszRozliczenia::Rodzaj::Wiersz;
        const bool sekcja = w.rodzaj == TWierszRozliczenia::Rodzaj::Sekcja;
        // A heading spans the row from its first cell.
        const QString teksty[Kolumn] = {sekcja ? w.Opis
                                               : w.Pozycja > 0 ? QString::number(w.Pozycja) + QLatin1Char('.') : QString(),
                                        sekcja ? QString() : w.Opis, w.Dzialanie, w.Kwota};
        for (int k = 0; k < Kolumn; ++k) {
            auto *komorka = new QTableWidgetItem(teksty[k]);
            if (k == KolKwota || (k == KolPozycja && !sekcja))
                komorka->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            QFont czcionka = komorka->font();
            czcionka.setBold(wyrozniony);
            komorka->setFont(czcionka);
            m_wiersze->setItem(r, k, komorka);
        }
        if (sekcja)
            m_wiersze->setSpan(r, KolPozycja, 1, Kolumn - 1);
    }
    m_wiersze->resizeRowsToContents();
}
