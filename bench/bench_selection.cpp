// Category and site tick changes on large site lists, against the bare listing statement.
#include "app/searchmain.h"
#include "benchsupport.h"
#include "selection/sitefilter.h"
#include "selection/siteselection.h"
#include "store/database.h"
#include "store/schema.h"

#include <QApplication>
#include <QListView>
#include <QListWidget>
#include <QTemporaryDir>

namespace {

QString makeProject(const QString &path, int sites)
{
    Database db;
    db.open(path);
    Schema::createFreshTables(db);
    db.execute(QStringLiteral("INSERT INTO categories (Category) VALUES ('Small')"));
    db.execute(QStringLiteral("BEGIN"));
    for (int i = 0; i < sites; ++i) {
        db.execute(QStringLiteral("INSERT INTO sites (Category, site_name, site_url, site_post, is_post, login_site_url, "
                                  "login_site_post, login_is_post) VALUES (1, ?1, ?2, '', 0, '', '', 0)"),
                   {QStringLiteral("Site %1 of the catalogue").arg((i * 7919) % sites),
                    QStringLiteral("https://shop%1.example.com/search?q=[ZPQ-SEARCH-TERM]&sort=relevance").arg(i)});
    }
    db.execute(QStringLiteral("INSERT INTO sites (Category, site_name, site_url) VALUES (2, 'Only small', 'http://s/?q=[ZPQ-SEARCH-TERM]')"));
    db.execute(QStringLiteral("COMMIT"));
    return path;
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    for (int n : {1000, 10000, 100000}) {
        QTemporaryDir dir;
        const QString project = makeProject(dir.filePath(QStringLiteral("p.tdl")), n);
        SilentPrompter prompter;
        TfrmMain::Options options;
        options.programFolder = dir.path() + QLatin1Char('/');
        options.startupProject = project;
        options.splashMilliseconds = 1000 * 1000;
        TfrmMain window(prompter, [](const QUrl &) { return true; }, nullBrowsers(), options);
        window.resize(1400, 900);
        window.show();
        window.FormActivate();
        QCoreApplication::processEvents();
        SiteSelection &sel = window.selection();
        auto *categories = window.findChild<QListWidget *>(QStringLiteral("chkCategories"));
        auto *view = window.findChild<QListView *>(QStringLiteral("lstSites"));
        QListWidgetItem *small = categories->findItems(QStringLiteral("Small"), Qt::MatchExactly).value(0);
        if (!small || sel.sites().count() != n + 1) {
            std::fprintf(stderr, "unexpected start state: %d sites\n", sel.sites().count());
            return 1;
        }

        // One category tick change, as a click makes it, until the list is refilled and painted.
        bool tick = false;
        const double tickMs = bestOf(5, [&] {
            small->setCheckState(tick ? Qt::Checked : Qt::Unchecked);
            tick = !tick;
            view->viewport()->repaint();
            QCoreApplication::processEvents();
        });
        if (sel.sites().count() < n) {
            std::fprintf(stderr, "list not refilled\n");
            return 1;
        }

        const QString sql = sel.generateFilterSQL() + QLatin1String(kSiteListOrder);
        const double bareMs = bestOf(5, [&] { window.database().query(sql); });

        // One site tick change: only the ticks are looked at.
        bool siteTick = false;
        const double siteMs = bestOf(20, [&] {
            view->model()->setData(view->model()->index(n / 2, 0), siteTick ? Qt::Checked : Qt::Unchecked,
                                   Qt::CheckStateRole);
            siteTick = !siteTick;
            view->viewport()->repaint();
        });

        report(QStringLiteral("category_tick_%1_sites").arg(n), tickMs, "ms");
        report(QStringLiteral("listing_statement_%1_sites").arg(n), bareMs, "ms");
        report(QStringLiteral("category_tick_vs_statement_%1_sites").arg(n), tickMs / bareMs, "x");
        report(QStringLiteral("site_tick_%1_sites").arg(n), siteMs, "ms");
    }
    return 0;
}
