#include "widgets/wyborpliku.h"

#include <QDir>
#include <QFileDialog>
#include <QTreeView>
#include <QUrl>

QString WybierzPlik(QWidget *parent, const PytanieOPlik &pytanie)
{
    QFileDialog okno(parent, pytanie.tytul, pytanie.start, pytanie.filtr);
    // The toolkit's own dialog: the platform's may offer neither the
    // shortcuts nor the order.
    okno.setOption(QFileDialog::DontUseNativeDialog);
    okno.setAcceptMode(pytanie.zapis ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    okno.setFileMode(pytanie.zapis ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    if (!pytanie.skroty.isEmpty()) {
        QList<QUrl> skroty;
        for (const QString &folder : pytanie.skroty)
            if (QDir(folder).exists())
                skroty << QUrl::fromLocalFile(folder);
        okno.setSidebarUrls(skroty + okno.sidebarUrls());
    }
    if (pytanie.najnowszeNajpierw) {
        okno.setViewMode(QFileDialog::Detail);
        if (auto *lista = okno.findChild<QTreeView *>(QStringLiteral("treeView")))
            lista->sortByColumn(3, Qt::DescendingOrder); // the date of change
    }
    if (okno.exec() != QDialog::Accepted || okno.selectedFiles().isEmpty())
        return {};
    return okno.selectedFiles().constFirst();
}
