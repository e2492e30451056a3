// A search with the real browser engine against a loopback server.
#include "app/searchmain.h"
#include "httpserver.h"
#include "projectfixture.h"
#include "scriptedprompter.h"
#include "search/searchrun.h"
#include "selection/searchfieldspanel.h"
#include "ui/browserprofile.h"
#include "webwait.h"

#include <QApplication>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QtTest>

class TestSearchWeb : public QObject
{
    Q_OBJECT

private slots:
    void getAndPostSitesSearchedAtOnce();
};

void TestSearchWeb::getAndPostSitesSearchedAtOnce()
{
    HttpServer server;
    QVERIFY(server.start());
    server.setPage("/get", "<html><title>GET results</title><body>found</body></html>");
    server.setPage("/post", "<html><title>POST results</title><body>found</body></html>");
    server.setPage("/never", HttpServer::Response::html("<html><title>late</title></html>", 60000));

    QTemporaryDir dir;
    const QString base = server.url(QString()).toString();
    const QString project = ProjectFixture::create(
        dir.filePath(QStringLiteral("p.tdl")), {},
        {{QStringLiteral("Get site"), 1, base + QStringLiteral("/get?q=[ZPQ-SEARCH-TERM]&page=1")},
         {QStringLiteral("Post site"), 1, base + QStringLiteral("/post"),
          QStringLiteral("query=[zpq-search-term]&kind=all&submit=Search")},
         {QStringLiteral("Slow site"), 1, base + QStringLiteral("/never?q=[ZPQ-SEARCH-TERM]")}});

    ScriptedPrompter prompter;
    BrowserProfile profile(dir.filePath(QStringLiteral("profile")));
    {
        TfrmMain::Options options;
        options.programFolder = dir.path() + QLatin1Char('/');
        options.startupProject = project;
        options.splashMilliseconds = 1000 * 1000;
        TfrmMain window(prompter, [](const QUrl &) { return true; }, profile.factory(), options);
        window.resize(1200, 800);
        window.show();
        window.FormActivate();
        QVERIFY(prompter.shown.isEmpty());

        window.searchFields().box(QStringLiteral("1"))->setText(QStringLiteral("AT&T red shoes 50% é"));
        window.searchRun().bGoClick();
        QVERIFY(prompter.shown.isEmpty());

        QTRY_VERIFY_WITH_TIMEOUT(!server.requestsFor("/get").isEmpty() && !server.requestsFor("/post").isEmpty(), 30000);
        const HttpServer::Request get = server.requestsFor("/get").first();
        QCOMPARE(get.method, QByteArray("GET"));
        QCOMPARE(get.query(), QByteArray("q=AT%26T+red+shoes+50%25+%C3%A9&page=1"));
        const HttpServer::Request post = server.requestsFor("/post").first();
        QCOMPARE(post.method, QByteArray("POST"));
        QCOMPARE(post.body, QByteArray("query=AT%26T+red+shoes+50%25+%C3%A9&kind=all&submit=Search"));
        QCOMPARE(post.headers.value("content-type"), QByteArray("application/x-www-form-urlencoded"));

        // The two answering sites load; the slow one keeps loading without holding them up.
        QTRY_COMPARE_WITH_TIMEOUT(window.searchRun().pageState(0), SearchRun::PageState::Loaded, 30000);
        QTRY_COMPARE_WITH_TIMEOUT(window.searchRun().pageState(1), SearchRun::PageState::Loaded, 30000);
        QCOMPARE(window.searchRun().pageState(2), SearchRun::PageState::Loading);
        QTRY_VERIFY_WITH_TIMEOUT(window.findChild<QLineEdit *>(QStringLiteral("edLink2"))->text().contains(QStringLiteral("/get?q=")), 10000);
        window.searchRun().SetBrowserVisible(window.searchRun().searchedSiteIndices().at(2), true);
        window.searchRun().bStop1Click();
        server.close();
    }
}

KORVALT_WEB_TEST_MAIN(TestSearchWeb)
#include "tst_searchweb.moc"
