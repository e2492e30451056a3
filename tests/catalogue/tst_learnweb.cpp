// Learning against real pages: Qt WebEngine, headless, talking to a loopback server of the test's
// own. What the server receives is the truth the captured requests are checked against.
#include "catalogue/addweb.h"
#include "catalogue/addwebsitehost.h"
#include "httpserver.h"
#include "scriptedprompter.h"
#include "store/database.h"
#include "store/schema.h"
#include "ui/browserprofile.h"
#include "ui/webenginebrowser.h"
#include "webwait.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QWebEnginePage>
#include <QtTest>

#include <memory>

namespace {

struct Observation
{
    QUrl url;
    QByteArray body;
    bool isMainFrame = true;
};

class RecordingHost final : public AddWebsiteHost
{
public:
    QList<int> ticked;
    int sitesAdded = 0;
    QStringList categoryNames() const override { return { QStringLiteral("General") }; }
    QStringList categoryIds() const override { return { QStringLiteral("1") }; }
    void tickCategory(int index) override { ticked << index; }
    void SetDirty() override { }
    void siteAdded() override { ++sitesAdded; }
    void searchFieldsChanged() override { }
};

const QByteArray kSearchPost = R"(<html><head><title>Find - Example Books</title></head><body>
<form method="post" action="/results?src=form">
  <input type="hidden" name="token" value="a b&amp;c=d/&#233;*~!">
  <input type="hidden" name="action" value="search">
  <input name="q"> <textarea name="note">one
two</textarea>
  <input type="submit" name="go" value="Search now"> <input type="submit" name="other" value="Other">
</form></body></html>)";

const QByteArray kSearchGet = R"(<html><head><title>Catalogue | Example Books</title></head><body>
<form method="get" action="/find"><input name="q"><input type="hidden" name="lang" value="en">
<button id="go" type="submit">Go</button></form></body></html>)";

const QByteArray kScriptPost = R"(<html><head><title>Scripted</title></head><body>
<form id="f" method="post" action="/results"><input name="q"><input type="hidden" name="page" value="1"></form>
<a id="go" href="#" onclick="document.getElementById('f').submit(); return false;">Search</a></body></html>)";

const QByteArray kFramed = R"(<html><head><title>Framed</title></head><body>
<iframe id="inner" src="/search-post" width="600" height="300"></iframe></body></html>)";

const QByteArray kResults = "<html><head><title>Results</title></head><body>Results</body></html>";

} // namespace

class TestLearnWeb final : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void reportsSubmittedForms_data();
    void reportsSubmittedForms();
    void postsExactBytes();
    void learnsLoginThenSearch();
    void learnsGetSearchAfterUnreachableAddress();
    void popUps();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<HttpServer> m_server;
    std::unique_ptr<BrowserProfile> m_profile;
};

void TestLearnWeb::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_server = std::make_unique<HttpServer>();
    QVERIFY(m_server->start());
    m_server->setPage("/search-post", kSearchPost);
    m_server->setPage("/search-get", kSearchGet);
    m_server->setPage("/scripted", kScriptPost);
    m_server->setPage("/framed", kFramed);
    m_server->setPage("/results", kResults);
    m_server->setPage("/find", kResults);
    m_profile = std::make_unique<BrowserProfile>(m_dir->path());
}

void TestLearnWeb::cleanup()
{
    m_profile.reset();
    m_server.reset();
    // The engine lets go of the profile's files a little after the profile is gone.
    QTRY_VERIFY_WITH_TIMEOUT(QDir(m_dir->path()).removeRecursively(), 5000);
    m_dir.reset();
}

void TestLearnWeb::reportsSubmittedForms_data()
{
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("script"); // runs in the page (or its frame) and submits
    QTest::addColumn<QByteArray>("target"); // path and query the server must receive
    QTest::addColumn<bool>("post");
    QTest::addColumn<bool>("mainFrame");

    const QString fillAndClick
        = QStringLiteral("document.querySelector('[name=q]').value = 'ZPQ-SEARCH-TERM';"
                         "document.querySelector('[name=go]').click();");
    QTest::newRow("post form, hidden fields, named submit button")
        << "/search-post" << fillAndClick << QByteArray("/results?src=form") << true << true;
    QTest::newRow("form posted by the page's own script")
        << "/scripted"
        << "document.querySelector('[name=q]').value = 'ZPQ SEARCH'; document.getElementById('go').click();"
        << QByteArray("/results") << true << true;
    QTest::newRow("get form") << "/search-get"
                              << "document.querySelector('[name=q]').value = 'my value&more';"
                                 "document.getElementById('go').click();"
                              << QByteArray("/find?q=my+value%26more&lang=en") << false << true;
    QTest::newRow("post form in a frame")
        << "/framed"
        << "var d = document.getElementById('inner').contentDocument;"
           "d.querySelector('[name=q]').value = 'ZPQ-SEARCH-TERM'; d.querySelector('[name=go]').click();"
        << QByteArray("/results?src=form") << true << false;
}

void TestLearnWeb::reportsSubmittedForms()
{
    QFETCH(QString, page);
    QFETCH(QString, script);
    QFETCH(QByteArray, target);
    QFETCH(bool, post);
    QFETCH(bool, mainFrame);

    auto *browser = static_cast<WebEngineBrowser *>(m_profile->createBrowser(nullptr));
    std::unique_ptr<Browser> owner(browser);
    browser->resize(900, 600);
    browser->show();
    QList<Observation> seen;
    connect(browser, &Browser::beforeNavigate, this,
        [&](const QUrl &url, const QByteArray &body, bool isMainFrame) {
            seen.append({ url, body, isMainFrame });
        });
    QVERIFY(browser->navigate(m_server->url(page).toString()));
    QVERIFY(waitForLoad(browser->page()));
    if (page == QLatin1String("/framed"))
        QTRY_VERIFY_WITH_TIMEOUT(runJavaScript(browser->page(),
                                     QStringLiteral("!!document.getElementById('inner')"
                                                    ".contentDocument.querySelector('[name=q]')"))
                                     .toBool(),
            10000);
    runJavaScript(browser->page(), script);
    const QByteArray path = target.left(target.indexOf('?') < 0 ? target.size() : target.indexOf('?'));
    QTRY_VERIFY_WITH_TIMEOUT(!m_server->requestsFor(path).isEmpty(), 10000);
    const HttpServer::Request request = m_server->requestsFor(path).first();
    QCOMPARE(request.target, target);
    QCOMPARE(request.method, post ? QByteArray("POST") : QByteArray("GET"));

    // Exactly one report of the submission, with the body byte for byte as the server got it.
    const QUrl sent = m_server->url(QString::fromLatin1(target));
    QTRY_VERIFY_WITH_TIMEOUT(
        std::any_of(seen.cbegin(), seen.cend(), [&](const Observation &o) { return o.url == sent; }), 5000);
    QTest::qWait(50);
    QList<Observation> reports;
    for (const Observation &o : std::as_const(seen)) {
        if (o.url == sent)
            reports << o;
    }
    QCOMPARE(reports.size(), 1);
    QCOMPARE(reports.first().body, request.body);
    QCOMPARE(reports.first().body.isEmpty(), !post);
    QCOMPARE(reports.first().isMainFrame, mainFrame);
    if (page == QLatin1String("/search-post")) {
        // The one submit button used is in the body; the "action" field did not hide the form's action.
        QCOMPARE(request.body,
            QByteArray("token=a+b%26c%3Dd%2F%C3%A9*%7E%21&action=search&q=ZPQ-SEARCH-TERM"
                       "&note=one%0D%0Atwo&go=Search+now"));
    }
}

void TestLearnWeb::postsExactBytes()
{
    auto *browser = static_cast<WebEngineBrowser *>(m_profile->createBrowser(nullptr));
    std::unique_ptr<Browser> owner(browser);
    QSignalSpy seen(browser, &Browser::beforeNavigate);
    const QByteArray body("q=red+shoes&t=%C3%A9%20x&raw=a b");
    QVERIFY(browser->navigate(m_server->url(QStringLiteral("/results?via=post")).toString(), body,
        QStringLiteral("Content-Type: application/x-www-form-urlencoded\r\n")));
    QVERIFY(waitForLoad(browser->page()));
    const QList<HttpServer::Request> requests = m_server->requestsFor("/results");
    QCOMPARE(requests.size(), 1);
    QCOMPARE(requests.first().method, QByteArray("POST"));
    QCOMPARE(requests.first().target, QByteArray("/results?via=post"));
    QCOMPARE(requests.first().body, body);
    QCOMPARE(requests.first().headers.value("content-type"), QByteArray("application/x-www-form-urlencoded"));
    QVERIFY(!seen.isEmpty());
    QCOMPARE(seen.first().at(1).toByteArray(), body);
    QCOMPARE(browser->title(), QStringLiteral("Results"));
    QVERIFY(!browser->isBusy());

    // An address that cannot be loaded starts nothing.
    QVERIFY(!browser->navigate(QStringLiteral("   ")));
}

void TestLearnWeb::learnsLoginThenSearch()
{
    m_server->setPage("/login", R"(<html><head><title>Sign in</title></head><body>
<form method="post" action="/dologin"><input name="user"><input type="password" name="pass">
<input type="submit" id="in" value="Sign in"></form></body></html>)");
    m_server->setHandler([](const HttpServer::Request &request) {
        HttpServer::Response response;
        response.status = 0;
        if (request.path() == "/dologin") {
            response = HttpServer::Response::redirect("/search-post");
            response.headers.append(qMakePair(QByteArray("Set-Cookie"), QByteArray("sid=42; Path=/")));
        }
        return response;
    });

    const QString dbPath = m_dir->filePath(QStringLiteral("temp1.db"));
    Database db;
    db.open(dbPath);
    Schema::createFreshTables(db);
    ScriptedPrompter prompter;
    RecordingHost host;
    TfrmAddWebsite dialog(db, prompter, m_profile->factory(), dbPath, host);
    QVERIFY(dialog.prepare());
    dialog.show();
    auto *page = static_cast<WebEngineBrowser *>(dialog.browser())->page();
    auto *panTellSearch = dialog.findChild<QWidget *>(QStringLiteral("panTellSearch"));
    auto *panBottom = dialog.findChild<QWidget *>(QStringLiteral("panBottom"));

    auto *address = dialog.findChild<QLineEdit *>(QStringLiteral("edAddress"));
    address->setText(m_server->url(QStringLiteral("/login")).toString());
    QTest::keyClick(address, Qt::Key_Return);
    QTRY_VERIFY_WITH_TIMEOUT(panTellSearch->isVisible(), 20000);

    dialog.findChild<QLineEdit *>(QStringLiteral("txtUser"))->setText(QStringLiteral("alice"));
    dialog.findChild<QLineEdit *>(QStringLiteral("txtPassword"))->setText(QStringLiteral("s3cret"));
    runJavaScript(page,
        QStringLiteral("document.querySelector('[name=user]').value = 'alice';"
                       "document.querySelector('[name=pass]').value = 's3cret';"
                       "document.getElementById('in').click();"));
    QTRY_COMPARE_WITH_TIMEOUT(prompter.shown,
        QStringList { QStringLiteral("Got Login info - please now perform a search") }, 10000);
    QTRY_COMPARE_WITH_TIMEOUT(page->title(), QStringLiteral("Find - Example Books"), 10000);

    runJavaScript(page,
        QStringLiteral("document.querySelector('[name=q]').value = 'ZPQ-SEARCH-TERM';"
                       "document.querySelector('[name=go]').click();"));
    QTRY_VERIFY_WITH_TIMEOUT(panBottom->isVisible(), 10000);
    QCOMPARE(dialog.addressTemplate(), m_server->url(QStringLiteral("/results?src=form")).toString());
    QCOMPARE(dialog.bodyTemplate(),
        QStringLiteral("token=a+b%26c%3Dd%2F%C3%A9*%7E%21&action=search&q=[ZPQ-SEARCH-TERM]"
                       "&note=one%0D%0Atwo&go=Search+now"));
    QCOMPARE(
        dialog.findChild<QLineEdit *>(QStringLiteral("edName"))->text(), QStringLiteral("Example Books"));
    // The login cookie reached the search: both run in the one profile.
    QTRY_VERIFY_WITH_TIMEOUT(!m_server->requestsFor("/results").isEmpty(), 10000);
    QCOMPARE(m_server->requestsFor("/results").first().headers.value("cookie"), QByteArray("sid=42"));

    dialog.findChild<QComboBox *>(QStringLiteral("lstCategories"))->setCurrentIndex(0);
    dialog.findChild<QPushButton *>(QStringLiteral("bOK"))->click();
    QVERIFY(!dialog.isVisible());
    ResultTable sites = db.query(QStringLiteral("SELECT * FROM sites"));
    QCOMPARE(sites.rowCount(), 1);
    QCOMPARE(sites.text(QStringLiteral("is_post")), QStringLiteral("1"));
    QCOMPARE(
        sites.text(QStringLiteral("login_site_url")), m_server->url(QStringLiteral("/dologin")).toString());
    QCOMPARE(sites.text(QStringLiteral("login_site_post")), QStringLiteral("user=alice&pass=s3cret"));
    QCOMPARE(sites.text(QStringLiteral("login_is_post")), QStringLiteral("1"));
}

void TestLearnWeb::learnsGetSearchAfterUnreachableAddress()
{
    const QString dbPath = m_dir->filePath(QStringLiteral("temp1.db"));
    Database db;
    db.open(dbPath);
    Schema::createFreshTables(db);
    ScriptedPrompter prompter;
    RecordingHost host;
    TfrmAddWebsite dialog(db, prompter, m_profile->factory(), dbPath, host);
    QVERIFY(dialog.prepare());
    dialog.show();
    auto *page = static_cast<WebEngineBrowser *>(dialog.browser())->page();
    auto *panTellSearch = dialog.findChild<QWidget *>(QStringLiteral("panTellSearch"));
    auto *address = dialog.findChild<QLineEdit *>(QStringLiteral("edAddress"));

    // Nothing listens there: the browser shows its error page, and nothing is learnt.
    HttpServer closed;
    QVERIFY(closed.start());
    const QString unreachable = closed.url(QStringLiteral("/?q=ZPQ-SEARCH-TERM")).toString();
    closed.close();
    address->setText(unreachable);
    QTest::keyClick(address, Qt::Key_Return);
    QTRY_VERIFY_WITH_TIMEOUT(panTellSearch->isVisible(), 20000);
    QVERIFY(dialog.addressTemplate().isEmpty());

    address->setText(m_server->url(QStringLiteral("/search-get")).toString());
    QTest::keyClick(address, Qt::Key_Return);
    QTRY_COMPARE_WITH_TIMEOUT(page->title(), QStringLiteral("Catalogue | Example Books"), 10000);
    runJavaScript(page,
        QStringLiteral("document.querySelector('[name=q]').value = 'ZPQ-SEARCH-TERM';"
                       "document.getElementById('go').click();"));
    QTRY_VERIFY_WITH_TIMEOUT(!dialog.addressTemplate().isEmpty(), 10000);
    QCOMPARE(dialog.addressTemplate(),
        m_server->url(QStringLiteral("/find?q=[ZPQ-SEARCH-TERM]&lang=en")).toString());
    QCOMPARE(dialog.bodyTemplate(), QString());
    QCOMPARE(
        dialog.findChild<QLineEdit *>(QStringLiteral("edName"))->text(), QStringLiteral("Example Books"));
    QVERIFY(prompter.shown.isEmpty());
}

void TestLearnWeb::popUps()
{
    m_server->setPage("/opener", R"(<html><head><title>Opener</title></head><body>
<script>window.open('/popup', '_blank', 'width=400,height=300');</script></body></html>)");
    m_server->setPage("/popup", "<html><head><title>Pop-up</title></head><body>Pop-up</body></html>");

    for (const bool allowed : { false, true }) {
        auto *browser = static_cast<WebEngineBrowser *>(m_profile->createBrowser(nullptr));
        std::unique_ptr<Browser> owner(browser);
        browser->setPopupsAllowed(allowed);
        browser->show();
        QSignalSpy asked(browser, &Browser::newWindow);
        m_server->clearRequests();
        QVERIFY(browser->navigate(m_server->url(QStringLiteral("/opener")).toString()));
        QTRY_COMPARE_WITH_TIMEOUT(asked.size(), 1, 10000);
        QCOMPARE(asked.first().at(0).toUrl(), m_server->url(QStringLiteral("/popup")));
        QCOMPARE(asked.first().at(1).toBool(), allowed);
        const auto popups = [&] {
            QList<WebEngineBrowser *> found;
            for (QWidget *widget : QApplication::topLevelWidgets()) {
                if (widget != browser && qobject_cast<WebEngineBrowser *>(widget) && widget->isVisible())
                    found << static_cast<WebEngineBrowser *>(widget);
            }
            return found;
        };
        if (allowed) {
            QTRY_COMPARE_WITH_TIMEOUT(m_server->requestsFor("/popup").size(), 1, 10000);
            QCOMPARE(popups().size(), 1);
            QTRY_COMPARE_WITH_TIMEOUT(popups().first()->windowTitle(), QStringLiteral("Pop-up"), 10000);
        } else {
            QTest::qWait(300);
            QVERIFY(m_server->requestsFor("/popup").isEmpty());
            QVERIFY(popups().isEmpty());
        }
    }
}

KORVALT_WEB_TEST_MAIN(TestLearnWeb)
#include "tst_learnweb.moc"
