#pragma once

// The kill and fault tests run the program's data side in a child process
// (crash_writer) under the preload library of faultshim.c.

#include <QMap>
#include <QProcess>
#include <QRegularExpression>
#include <QString>
#include <QStringList>

struct ChildRun
{
    int exitCode = -1; // -1 when it did not end by itself
    QString out;
    QString err;
};

// Runs `program` with `args`, the preload library `shim` and the extra
// environment `env`, and waits for it.
inline ChildRun runUnderShim(const QString &program, const QString &shim, const QStringList &args,
                             const QMap<QString, QString> &env = {})
{
    QProcess p;
    QProcessEnvironment e = QProcessEnvironment::systemEnvironment();
    e.insert(QStringLiteral("LD_PRELOAD"), shim);
    for (auto it = env.begin(); it != env.end(); ++it)
        e.insert(it.key(), it.value());
    p.setProcessEnvironment(e);
    p.start(program, args);
    p.waitForFinished(120000);
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

// The file-changing calls the child counted ("licznik N"), -1 when it did not say.
inline int countedCalls(const ChildRun &run)
{
    static const QRegularExpression re(QStringLiteral("licznik (\\d+)"));
    const auto m = re.match(run.out);
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}
