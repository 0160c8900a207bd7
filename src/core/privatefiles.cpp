#include "core/privatefiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUuid>

#include <cerrno>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace PrivateFiles {

void restrictNewFiles()
{
#ifdef Q_OS_UNIX
    ::umask(077);
#endif
}

bool restrict(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return true;
    const QFile::Permissions owner = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser
                                     | (info.isDir() ? QFile::ExeOwner | QFile::ExeUser : QFile::Permissions());
    return QFile::setPermissions(path, info.permissions() & owner);
}

bool makeFolder(const QString &path)
{
    if (!QDir().mkpath(path))
        return false;
    restrict(path); // an immutable folder keeps its rights, and is no less usable
    return QFileInfo(path).isDir();
}

QString writeFailure(const QString &folder)
{
#ifdef Q_OS_UNIX
    // A probe of one page, synced: a full disk may take a name, not its contents.
    const QByteArray probe =
        QFile::encodeName(QDir(folder).filePath(QStringLiteral(".tarlen-proba-") + QUuid::createUuid().toString(QUuid::Id128)));
    const int fd = ::open(probe.constData(), O_WRONLY | O_CREAT | O_EXCL, 0600);
    int error = fd < 0 ? errno : 0;
    if (fd >= 0) {
        const QByteArray page(4096, '\0');
        if (::write(fd, page.constData(), size_t(page.size())) != page.size() || ::fsync(fd) != 0)
            error = errno;
        ::close(fd);
        ::unlink(probe.constData());
    }
    return error == 0 ? QString() : systemReason(error);
#else
    Q_UNUSED(folder);
    return {};
#endif
}

QString systemReason(int errorNumber)
{
    switch (errorNumber) {
    case ENOSPC:
#ifdef EDQUOT
    case EDQUOT:
#endif
        return QStringLiteral("brak miejsca na dysku");
    case EACCES:
    case EPERM:
    case EROFS:
        return QStringLiteral("brak prawa zapisu w folderze");
    case ENOENT:
        return QStringLiteral("brak pliku lub folderu");
    case EIO:
        return QStringLiteral("błąd zapisu na dysku");
    default:
        return QStringLiteral("błąd zapisu na dysku (kod systemu %1)").arg(errorNumber);
    }
}

} // namespace PrivateFiles
