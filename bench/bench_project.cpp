// Open and Save of a large project against a plain file copy, and start-up time.
#include "app/searchmain.h"
#include "benchsupport.h"
#include "store/database.h"
#include "store/projectlifecycle.h"
#include "store/schema.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>

#include <unistd.h>

namespace {

// Seconds since the process started, from the kernel's own record.
double processAgeMs()
{
    QFile stat(QStringLiteral("/proc/self/stat"));
    if (!stat.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray line = stat.readAll();
    const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
    const double startTicks = fields.value(19).toDouble(); // field 22 of the whole line
    QFile uptime(QStringLiteral("/proc/uptime"));
    if (!uptime.open(QIODevice::ReadOnly))
        return -1;
    const double up = uptime.readAll().split(' ').value(0).toDouble();
    return (up - startTicks / double(sysconf(_SC_CLK_TCK))) * 1000.0;
}

void makeBigProject(const QString &path, int sites)
{
    Database db;
    db.open(path);
    Schema::createFreshTables(db);
    db.execute(QStringLiteral("BEGIN"));
    const QString url = QStringLiteral("https://www.example-shop-%1.com/catalogue/search/results?department=all&sort=relevance"
                                       "&view=grid&page=1&lang=en-GB&currency=GBP&q=[ZPQ-SEARCH-TERM]&session=")
        + QString(240, QLatin1Char('s'));
    for (int i = 0; i < sites; ++i) {
        db.execute(QStringLiteral("INSERT INTO sites (Category, site_name, site_url, site_post, is_post, login_site_url, "
                                  "login_site_post, login_is_post) VALUES (1, ?1, ?2, ?3, 1, '', '', 0)"),
                   {QStringLiteral("Site %1").arg(i), url.arg(i),
                    QStringLiteral("query=[ZPQ-SEARCH-TERM]&type=all&submit=Search&token=%1").arg(i)});
    }
    db.execute(QStringLiteral("COMMIT"));
}

} // namespace

int main(int argc, char **argv)
{
    const double atMain = processAgeMs();
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    QTemporaryDir dir;

    // Start-up with an empty program folder, up to the ribbon being enabled.
    {
        SilentPrompter prompter;
        TfrmMain::Options options;
        options.programFolder = dir.filePath(QStringLiteral("startup")) + QLatin1Char('/');
        QDir().mkpath(options.programFolder);
        TfrmMain window(prompter, [](const QUrl &) { return true; }, nullBrowsers(), options);
        window.show();
        window.FormActivate();
        const double ready = processAgeMs();
        report(QStringLiteral("startup_to_ribbon_enabled"), ready, "ms");
        report(QStringLiteral("startup_before_main"), atMain, "ms");
    }

    const int sites = 100000;
    const QString project = dir.filePath(QStringLiteral("big.tdl"));
    makeBigProject(project, sites);
    report(QStringLiteral("project_size"), QFileInfo(project).size() / 1e6, "MB");

    const QString copyTarget = dir.filePath(QStringLiteral("copy.tdl"));
    const double copyMs = bestOf(3, [&] {
        QFile::remove(copyTarget);
        QFile::copy(project, copyTarget);
    });
    report(QStringLiteral("plain_file_copy_100k_sites"), copyMs, "ms");

    SilentPrompter prompter;
    Database db;
    const QString folder = dir.filePath(QStringLiteral("prog")) + QLatin1Char('/');
    QDir().mkpath(folder);
    ProjectLifecycle life(db, prompter, folder);
    life.dxNewProjectClick();
    const double openMs = bestOf(3, [&] { life.OpenProjectFile(project); });
    report(QStringLiteral("open_project_100k_sites"), openMs, "ms");
    const QString saveTarget = dir.filePath(QStringLiteral("saved.tdl"));
    const double saveMs = bestOf(3, [&] { life.SaveProjectFile(saveTarget); });
    report(QStringLiteral("save_project_100k_sites"), saveMs, "ms");
    report(QStringLiteral("open_vs_copy"), openMs / copyMs, "x");
    report(QStringLiteral("save_vs_copy"), saveMs / copyMs, "x");
    if (!prompter.shown.filter(QStringLiteral("Error")).isEmpty()) {
        std::fprintf(stderr, "unexpected messages: %s\n", qPrintable(prompter.shown.join(QLatin1Char('|'))));
        return 1;
    }
    return 0;
}
