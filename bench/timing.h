#pragma once

#include "data/messageboxes.h"

#include <QElapsedTimer>
#include <QList>
#include <QTextStream>

#include <algorithm>
#include <cstdio>
#include <functional>

// The median time of one call of `work`, in microseconds; `before`, when
// given, runs untimed before each call.
inline double medianMicros(int repeats, const std::function<void()> &work, const std::function<void()> &before = {})
{
    work(); // warm up: caches, prepared statements
    QList<double> times;
    QElapsedTimer timer;
    for (int i = 0; i < repeats; ++i) {
        if (before)
            before();
        timer.start();
        work();
        times << timer.nsecsElapsed() / 1000.0;
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// Message boxes of a program without a screen: printed, answered No.
class ConsoleMessageBoxes : public MessageBoxes
{
public:
    bool ask(const MessageRequest &request) override
    {
        std::fprintf(stderr, "%s: %s\n", qPrintable(request.title), qPrintable(request.text));
        return false;
    }
    int choose(const MessageRequest &request) override { return ask(request) ? 0 : -1; }
};

// The table of figures: our time, the bare sqlite3 time and their ratio.
class Report
{
public:
    explicit Report(QTextStream &out) : m_out(out) {}

    void add(const QString &name, double ours, double bare) { m_rows.append({name, ours, bare}); }
    void addAlone(const QString &name, double ours) { m_rows.append({name, ours, 0}); }
    void baseline(const QString &name, double ours, double bare)
    {
        add(name, ours, bare);
        m_baseline = ours;
    }
    // Compares the last row with the baseline row (for instance a full register with an empty one).
    void compareWithBaseline(const QString &name) { m_comparisons.append({name, m_rows.last().ours / m_baseline}); }

    void print() const
    {
        m_out << QStringLiteral("\n%1 %2 %3 %4\n").arg(QStringLiteral("operacja"), -44).arg(QStringLiteral("Tarlen µs"), 12)
                     .arg(QStringLiteral("sqlite3 µs"), 12).arg(QStringLiteral("stosunek"), 9);
        for (const Row &r : m_rows) {
            m_out << QStringLiteral("%1 %2 ").arg(r.name, -44).arg(r.ours, 12, 'f', 1);
            if (r.bare > 0)
                m_out << QStringLiteral("%1 %2\n").arg(r.bare, 12, 'f', 1).arg(r.ours / r.bare, 9, 'f', 2);
            else
                m_out << QStringLiteral("%1 %2\n").arg(QStringLiteral("-"), 12).arg(QStringLiteral("-"), 9);
        }
        for (const auto &[name, ratio] : m_comparisons)
            m_out << QStringLiteral("%1 %2\n").arg(name, -70).arg(ratio, 9, 'f', 2);
        m_out.flush();
    }

private:
    struct Row
    {
        QString name;
        double ours;
        double bare;
    };
    QTextStream &m_out;
    QList<Row> m_rows;
    QList<std::pair<QString, double>> m_comparisons;
    double m_baseline = 1;
};
