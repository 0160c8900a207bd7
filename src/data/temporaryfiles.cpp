#include "data/temporaryfiles.h"

#include "data/dataerror.h"

#include "core/privatefiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSaveFile>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <unistd.h>
#endif

namespace {

QString reasonIn(const QString &folder)
{
    const QString reason = PrivateFiles::writeFailure(folder);
    return reason.isEmpty() ? QStringLiteral("błąd zapisu na dysku") : reason;
}

bool isTemporaryName(const QString &path)
{
    static const QRegularExpression re(QStringLiteral("^\\..+\\.tmp-[0-9a-f]{8}$"));
    return re.match(QFileInfo(path).fileName()).hasMatch();
}

QStringList entries(const QString &registerFile)
{
    QFile file(registerFile);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

// The entry must be on disk before the file it names is.
bool append(const QString &registerFile, const QString &path)
{
    QFile file(registerFile);
    if (!file.open(QIODevice::Append))
        return false;
    file.setPermissions(QFile::ReadOwner | QFile::WriteOwner);
    const QByteArray line = path.toUtf8() + '\n';
    bool ok = file.write(line) == line.size() && file.flush();
#ifdef Q_OS_UNIX
    ok = ok && ::fsync(file.handle()) == 0;
#endif
    return ok;
}

void rewrite(const QString &registerFile, const QStringList &lines)
{
    if (lines.isEmpty()) {
        QFile::remove(registerFile);
        return;
    }
    QSaveFile file(registerFile);
    if (file.open(QIODevice::WriteOnly)) {
        file.write(lines.join(QLatin1Char('\n')).toUtf8() + '\n');
        file.commit();
    }
}

} // namespace

namespace TemporaryFiles {

QString registerOf(const QString &databaseFile)
{
    return databaseFile + QStringLiteral(".tymczasowe");
}

QString create(const QString &databaseFile, const QString &target)
{
    const QFileInfo info(target);
    const QString folder = info.absolutePath();
    for (int attempt = 0; attempt < 16; ++attempt) {
        const QString path = QDir(folder).filePath(QStringLiteral(".%1.tmp-%2")
                                                       .arg(info.fileName())
                                                       .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0')));
        if (QFileInfo::exists(path))
            continue;
        if (!append(registerOf(databaseFile), path))
            throw DataError(QStringLiteral("Nie można zapisać pliku %1 (%2)")
                                .arg(QDir::toNativeSeparators(registerOf(databaseFile)),
                                     reasonIn(QFileInfo(databaseFile).absolutePath())));
        QFile file(path);
        if (file.open(QIODevice::NewOnly | QIODevice::WriteOnly)
            && file.setPermissions(QFile::ReadOwner | QFile::WriteOwner))
            return path;
        file.remove();
        release(databaseFile, path);
        throw DataError(QStringLiteral("Nie można utworzyć pliku w folderze %1: %2").arg(QDir::toNativeSeparators(folder), reasonIn(folder)));
    }
    throw DataError(QStringLiteral("Nie można utworzyć pliku w folderze %1").arg(QDir::toNativeSeparators(folder)));
}

void release(const QString &databaseFile, const QString &path)
{
    const QString registerFile = registerOf(databaseFile);
    QStringList lines = entries(registerFile);
    if (lines.removeAll(path) > 0 || lines.isEmpty())
        rewrite(registerFile, lines);
}

QStringList removeLeftovers(const QString &databaseFile)
{
    const QString registerFile = registerOf(databaseFile);
    QStringList removed;
    for (const QString &path : entries(registerFile)) {
        if (!isTemporaryName(path))
            continue;
        QFile::remove(path + QStringLiteral("-journal"));
        if (QFile::remove(path))
            removed << path;
    }
    QFile::remove(registerFile);
    return removed;
}

} // namespace TemporaryFiles
