#include "support/pdfwords.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>

namespace {

constexpr double MmPerPoint = 25.4 / 72;

QString unescaped(QString text)
{
    text.replace(QStringLiteral("&lt;"), QStringLiteral("<"));
    text.replace(QStringLiteral("&gt;"), QStringLiteral(">"));
    text.replace(QStringLiteral("&quot;"), QStringLiteral("\""));
    text.replace(QStringLiteral("&apos;"), QStringLiteral("'"));
    text.replace(QStringLiteral("&amp;"), QStringLiteral("&"));
    return text;
}

} // namespace

QList<PdfWord> pdfWords(const QString &pdfFile, int page)
{
    QProcess pdftotext;
    const QString p = QString::number(page);
    pdftotext.start(QStringLiteral("pdftotext"),
                    {QStringLiteral("-bbox"), QStringLiteral("-f"), p, QStringLiteral("-l"), p,
                     pdfFile, QStringLiteral("-")});
    if (!pdftotext.waitForFinished(60000) || pdftotext.exitCode() != 0)
        return {};
    static const QRegularExpression word(QStringLiteral(
        R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">(.*?)</word>)re"));
    QList<PdfWord> words;
    const QString html = QString::fromUtf8(pdftotext.readAllStandardOutput());
    for (auto it = word.globalMatch(html); it.hasNext();) {
        const auto m = it.next();
        const QPointF topLeft(m.captured(1).toDouble() * MmPerPoint, m.captured(2).toDouble() * MmPerPoint);
        const QPointF bottomRight(m.captured(3).toDouble() * MmPerPoint, m.captured(4).toDouble() * MmPerPoint);
        words.append({unescaped(m.captured(5)), QRectF(topLeft, bottomRight)});
    }
    return words;
}

QString wordsAt(const QList<PdfWord> &words, double xMm, double yMm, double toleranceMm)
{
    QStringList found;
    for (const PdfWord &w : words)
        if (qAbs(w.mm.left() - xMm) <= toleranceMm && qAbs(w.mm.top() - yMm) <= toleranceMm)
            found << w.text;
    return found.join(u' ');
}

PdfWord findWord(const QList<PdfWord> &words, const QString &text)
{
    for (const PdfWord &w : words)
        if (w.text == text)
            return w;
    return {};
}

QList<PdfWord> combCharacters(const QList<PdfWord> &words)
{
    double digit = 0;
    for (const PdfWord &w : words)
        if (w.text.size() == 1)
            digit = w.mm.width();
    QList<PdfWord> characters;
    for (const PdfWord &w : words) {
        const QStringList parts = w.text.split(QLatin1Char('-'), Qt::SkipEmptyParts);
        for (qsizetype i = 0; i < parts.size(); ++i) {
            const double left = i == 0 ? w.mm.left() : w.mm.right() - digit;
            characters << PdfWord{parts[i], QRectF(left, w.mm.top(), digit, w.mm.height())};
        }
    }
    return characters;
}

void keepPdf(const QString &pdfFile, const QString &name)
{
    const QString shots = qEnvironmentVariable("TARLEN_SHOTS");
    if (shots.isEmpty())
        return;
    QDir().mkpath(shots);
    const QString copy = shots + QLatin1Char('/') + name + QStringLiteral(".pdf");
    QFile::remove(copy);
    QFile::copy(pdfFile, copy);
}
