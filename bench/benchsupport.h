#pragma once

#include "ui/browser.h"
#include "ui/prompter.h"

#include <QElapsedTimer>
#include <QString>
#include <cstdio>

// Answers nothing interactively: benchmarks never show a dialog.
class SilentPrompter final : public Prompter
{
public:
    QStringList shown;
    void warning(const QString &t) override { shown << t; }
    void error(const QString &t) override { shown << t; }
    void information(const QString &t) override { shown << t; }
    bool question(const QString &t) override { shown << t; return false; }
    QString openFileName(const QString &, const QString &) override { return QString(); }
    QString saveFileName(const QString &, const QString &, const QString &) override { return QString(); }
    bool getText(const QString &, const QString &, QString &) override { return false; }
};

inline void report(const QString &name, double value, const char *unit)
{
    std::printf("BENCH %s %.2f %s\n", qPrintable(name), value, unit);
    std::fflush(stdout);
}

template <typename F> double millis(F &&f)
{
    QElapsedTimer t;
    t.start();
    f();
    return t.nsecsElapsed() / 1e6;
}

// Best of n runs, in milliseconds.
template <typename F> double bestOf(int n, F &&f)
{
    double best = 1e300;
    for (int i = 0; i < n; ++i)
        best = qMin(best, millis(f));
    return best;
}

// For benchmarks that never search: no browser is ever asked for.
inline BrowserFactory nullBrowsers()
{
    return [](QWidget *) -> Browser * { return nullptr; };
}
