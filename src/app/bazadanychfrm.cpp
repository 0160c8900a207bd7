#include "app/bazadanychfrm.h"

#include "data/dataerror.h"
#include "data/kopiaserwera.h"
#include "data/tdm.h"
#include "data/ustawieniabazy.h"
#include "widgets/przyciskiokna.h"

#include <QDir>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

TBazaDanychFrm::TBazaDanychFrm(TDM &dm, QWidget *parent) : QDialog(parent), dm(dm)
{
    setObjectName(QStringLiteral("TBazaDanychFrm"));
    setWindowTitle(QStringLiteral("Baza danych"));
    const PolaczenieSerwera serwer = PolaczenieSerwera::z(TDM::SerwerBazy());

    FolderRadio = new QRadioButton(QStringLiteral("&Folder na tym komputerze"), this);
    EdFolder = new QLineEdit(QDir::toNativeSeparators(TDM::SciezkaBazy()), this);
    SerwerRadio = new QRadioButton(QStringLiteral("Se&rwer PostgreSQL (wiele stanowisk)"), this);
    m_serwerPola = new QWidget(this);
    EdHost = new QLineEdit(serwer.host, m_serwerPola);
    EdPort = new QSpinBox(m_serwerPola);
    EdPort->setRange(1, 65535);
    EdPort->setValue(serwer.port);
    EdBaza = new QLineEdit(serwer.baza.isEmpty() ? QStringLiteral("tarlen") : serwer.baza, m_serwerPola);
    EdUzytkownik = new QLineEdit(serwer.uzytkownik, m_serwerPola);
    auto *pola = new QFormLayout(m_serwerPola);
    const auto wiersz = [pola](const QString &etykieta, QWidget *pole) {
        auto *label = new QLabel(etykieta);
        label->setBuddy(pole);
        pola->addRow(label, pole);
    };
    wiersz(QStringLiteral("Adr&es serwera:"), EdHost);
    wiersz(QStringLiteral("&Port:"), EdPort);
    wiersz(QStringLiteral("&Baza danych:"), EdBaza);
    wiersz(QStringLiteral("&Użytkownik:"), EdUzytkownik);
    pola->addRow(new QLabel(QStringLiteral("Hasło: z pliku haseł PostgreSQL (~/.pgpass) albo podawane\n"
                                           "przy połączeniu; nigdy w ustawieniach programu.")));
    (TDM::SerwerBazy().isEmpty() ? FolderRadio : SerwerRadio)->setChecked(true);

    auto *sprawdz = new QPushButton(QStringLiteral("&Sprawdź połączenie"), this);
    sprawdz->setObjectName(QStringLiteral("SprawdzBtn"));
    m_przenies = new QPushButton(QStringLiteral("Przenieś bazę z folderu &na serwer…"), this);
    m_przenies->setObjectName(QStringLiteral("PrzeniesBtn"));
    const auto [zapisz, anuluj] = NowePrzyciskiDialogu(EnterWDialogu::Zapisuje);

    auto *uklad = new QVBoxLayout(this);
    uklad->addWidget(FolderRadio);
    uklad->addWidget(EdFolder);
    uklad->addWidget(SerwerRadio);
    uklad->addWidget(m_serwerPola);
    auto *serwerowe = new QHBoxLayout;
    serwerowe->addWidget(sprawdz);
    serwerowe->addWidget(m_przenies);
    uklad->addLayout(serwerowe);
    uklad->addLayout(WierszPrzyciskow(zapisz, anuluj));

    connect(FolderRadio, &QRadioButton::toggled, this, &TBazaDanychFrm::UstawDostepnosc);
    connect(sprawdz, &QPushButton::clicked, this, &TBazaDanychFrm::SprawdzBtnClick);
    connect(m_przenies, &QPushButton::clicked, this, &TBazaDanychFrm::PrzeniesBtnClick);
    connect(zapisz, &QPushButton::clicked, this, &TBazaDanychFrm::PostBtnClick);
    connect(anuluj, &QPushButton::clicked, this, &QDialog::reject);
    const QList<QWidget *> kolejnosc{FolderRadio, EdFolder, SerwerRadio, EdHost, EdPort, EdBaza, EdUzytkownik,
                                     sprawdz, m_przenies, zapisz, anuluj};
    for (qsizetype i = 1; i < kolejnosc.size(); ++i)
        setTabOrder(kolejnosc[i - 1], kolejnosc[i]);
    UstawDostepnosc();
}

void TBazaDanychFrm::UstawDostepnosc()
{
    EdFolder->setEnabled(FolderRadio->isChecked());
    m_serwerPola->setEnabled(SerwerRadio->isChecked());
    // Only a folder database open now can be moved onto a server.
    m_przenies->setEnabled(SerwerRadio->isChecked() && dm.database().isOpen() && !dm.database().isServer());
}

QString TBazaDanychFrm::Polaczenie() const
{
    return PolaczenieSerwera{EdHost->text(), EdPort->value(), EdBaza->text(), EdUzytkownik->text()}.conninfo();
}

QString TBazaDanychFrm::Sprawdz()
{
    const QString polaczenie = Polaczenie();
    QString blad;
    if (!dm.PolaczZHaslem(polaczenie, [&] { blad = UstawieniaBazy::SprawdzPolaczenie(polaczenie); }))
        return QStringLiteral("Nie połączono z serwerem bazy danych: nie podano hasła.");
    return blad;
}

void TBazaDanychFrm::SprawdzBtnClick()
{
    const QString blad = Sprawdz();
    dm.Uwaga(blad.isEmpty() ? QStringLiteral("Połączenie z serwerem bazy danych działa.") : blad);
}

void TBazaDanychFrm::PrzeniesBtnClick()
{
    if (!dm.Potwierdz(QStringLiteral("Przenieść bazę danych z folderu\r%1\rna serwer %2?\r\r"
                                     "Baza danych w folderze zostaje, jak jest.")
                          .arg(QDir::toNativeSeparators(dm.database().filePath()), EdHost->text())))
        return;
    try {
        if (!dm.PolaczZHaslem(Polaczenie(), [this] { KopiaSerwera::PrzeniesNaSerwer(dm.database(), Polaczenie()); }))
            return;
        UstawieniaBazy::ZapiszSerwer(Polaczenie());
    } catch (const DataError &e) {
        dm.Uwaga(QStringLiteral("Nie udało się przenieść bazy danych na serwer.\r%1").arg(e.message()));
        return;
    }
    dm.OtworzTabele();
    dm.Uwaga(QStringLiteral("Baza danych została przeniesiona na serwer; program pracuje teraz na serwerze."));
    accept();
}

void TBazaDanychFrm::PostBtnClick()
{
    if (SerwerRadio->isChecked()) {
        const QString blad = Sprawdz();
        if (!blad.isEmpty()) {
            dm.Uwaga(blad);
            return;
        }
    }
    try {
        if (SerwerRadio->isChecked())
            UstawieniaBazy::ZapiszSerwer(Polaczenie());
        else
            UstawieniaBazy::ZapiszFolder(QDir::fromNativeSeparators(EdFolder->text().trimmed()));
    } catch (const DataError &e) {
        dm.Uwaga(e.message());
        return;
    }
    dm.OtworzTabele();
    accept();
}
