// Searching 1, 10 and 30 sites at once against a loopback server that answers after 200 ms:
// time to the first page on show and to all pages loaded, and the memory of the whole program
// (every browser engine process included).
#include "app/searchmain.h"
#include "benchsupport.h"
#include "httpserver.h"
#include "projectfixture.h"
#include "search/searchrun.h"
#include "selection/searchfieldspanel.h"
#include "selection/siteselection.h"
#include "ui/browserprofile.h"
#include "webwait.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QTemporaryDir>

#include <unistd.h>

namespace {

// Proportional set size of this process and all its descendants, in MB.
double programMemoryMb()
{
    QHash<int, int> parentOf;
    const QStringList pids = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs);
    for (const QString &pid : pids) {
        bool ok = false;
        const int p = pid.toInt(&ok);
        if (!ok)
            continue;
        QFile stat(QStringLiteral("/proc/%1/stat").arg(p));
        if (!stat.open(QIODevice::ReadOnly))
            continue;
        const QByteArray line = stat.readAll();
        const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
        parentOf.insert(p, fields.value(1).toInt());
    }
    const int self = int(::getpid());
    double kb = 0;
    for (auto it = parentOf.cbegin(); it != parentOf.cend(); ++it) {
        int p = it.key();
        while (p > 1 && p != self)
            p = parentOf.value(p, 0);
        if (p != self)
            continue;
        QFile smaps(QStringLiteral("/proc/%1/smaps_rollup").arg(it.key()));
        if (!smaps.open(QIODevice::ReadOnly))
            continue;
        for (const QByteArray &l : smaps.readAll().split('\n')) {
            if (l.startsWith("Pss:"))
                kb += l.mid(4).trimmed().split(' ').value(0).toDouble();
        }
    }
    return kb / 1024.0;
}

bool waitUntil(const std::function<bool()> &done, int timeoutMs)
{
    QElapsedTimer t;
    t.start();
    while (!done()) {
        if (t.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    prepareWebEngineForTests();
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);

    // One server per site: real sites are separate hosts, and a browser limits its connections
    // per host, not overall.
    std::vector<std::unique_ptr<HttpServer>> servers;
    for (int i = 0; i < 30; ++i) {
        auto server = std::make_unique<HttpServer>();
        if (!server->start())
            return 1;
        server->setHandler([](const HttpServer::Request &) {
            return HttpServer::Response::html("<html><head><title>Results</title></head><body><h1>Results</h1>"
                                              "<p>Some found items.</p></body></html>",
                                              200);
        });
        servers.push_back(std::move(server));
    }

    QTemporaryDir dir;
    BrowserProfile profile(dir.filePath(QStringLiteral("profile")));
    for (int n : {1, 10, 30}) {
        QList<ProjectFixture::Site> sites;
        for (int i = 0; i < n; ++i)
            sites.append({QStringLiteral("Site %1").arg(i, 2, 10, QLatin1Char('0')), 1,
                          servers[i]->url(QStringLiteral("/s?q=[ZPQ-SEARCH-TERM]")).toString()});
        const QString project = ProjectFixture::create(dir.filePath(QStringLiteral("p%1.tdl").arg(n)), {}, sites);
        SilentPrompter prompter;
        TfrmMain::Options options;
        options.programFolder = dir.filePath(QStringLiteral("prog%1").arg(n)) + QLatin1Char('/');
        QDir().mkpath(options.programFolder);
        options.startupProject = project;
        options.splashMilliseconds = 1;
        TfrmMain window(prompter, [](const QUrl &) { return true; }, profile.factory(), options);
        window.resize(1400, 900);
        window.show();
        window.FormActivate();
        SearchRun &run = window.searchRun();
        auto allLoaded = [&run, n] {
            for (int i = 0; i < n; ++i) {
                if (run.pageState(i) == SearchRun::PageState::Loading)
                    return false;
            }
            return true;
        };

        for (int round = 1; round <= 3; ++round) {
            waitUntil([] { return false; }, 500);
            const double before = programMemoryMb();
            window.searchFields().box(QStringLiteral("1"))->setText(QStringLiteral("round %1").arg(round));
            QElapsedTimer t;
            t.start();
            run.bGoClick();
            const double handOver = t.nsecsElapsed() / 1e6;
            if (!waitUntil([&run] { return run.pageState(0) != SearchRun::PageState::Loading; }, 60000))
                return 2;
            const double first = t.nsecsElapsed() / 1e6;
            if (!waitUntil(allLoaded, 120000))
                return 3;
            const double all = t.nsecsElapsed() / 1e6;
            waitUntil([] { return false; }, 2000);
            const double after = programMemoryMb();
            const QString tag = QStringLiteral("%1_sites%2").arg(n).arg(round == 1 ? QString() : round == 2 ? QStringLiteral("_second_search") : QStringLiteral("_third_search"));
            report(QStringLiteral("requests_handed_over_") + tag, handOver, "ms");
            report(QStringLiteral("first_page_shown_") + tag, first, "ms");
            report(QStringLiteral("all_pages_loaded_") + tag, all, "ms");
            report(QStringLiteral("memory_before_") + tag, before, "MB");
            report(QStringLiteral("memory_after_") + tag, after, "MB");
            report(QStringLiteral("memory_per_page_") + tag, (after - before) / n, "MB");
            run.cxSearchAgainClick();
        }
    }
    return 0;
}
