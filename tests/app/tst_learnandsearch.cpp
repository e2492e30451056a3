// A site learnt in the main window's add-website dialog is listed and searched with typed terms,
// all with the real browser engine against a loopback server.
#include "app/searchmain.h"
#include "catalogue/addweb.h"
#include "httpserver.h"
#include "scriptedprompter.h"
#include "search/searchrun.h"
#include "selection/searchfieldspanel.h"
#include "selection/siteselection.h"
#include "ui/browserprofile.h"
#include "ui/webenginebrowser.h"
#include "webwait.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QWebEnginePage>
#include <QtTest>

class TestLearnAndSearch : public QObject
{
    Q_OBJECT

private slots:
    void learnThenSearch();

private:
    // With KORVALT_SHOTS set to a folder, the windows are saved there as pictures along the way.
    static void shot(QWidget *w, const QString &name)
    {
        const QString folder = qEnvironmentVariable("KORVALT_SHOTS");
        if (!folder.isEmpty())
            w->grab().save(folder + QLatin1Char('/') + name + QStringLiteral(".png"));
    }
};

void TestLearnAndSearch::learnThenSearch()
{
    HttpServer server;
    QVERIFY(server.start());
    server.setPage("/", R"(<html><head><title>Find shoes | Shoe Shop</title></head><body>
<h1>Shoe Shop</h1><form action="/find" method="get"><input name="q"><input type="hidden" name="sort" value="new">
<input type="submit" id="go" value="Find"></form></body></html>)");
    server.setPage("/find", R"(<html><head><title>Results</title></head><body>Results</body></html>)");

    QTemporaryDir dir;
    ScriptedPrompter prompter;
    BrowserProfile profile(dir.filePath(QStringLiteral("profile")));
    TfrmMain::Options options;
    options.programFolder = dir.path() + QLatin1Char('/');
    options.splashMilliseconds = 1000 * 1000;
    TfrmMain window(prompter, [](const QUrl &) { return true; }, profile.factory(), options);
    window.resize(1400, 900);
    window.show();
    window.FormActivate();
    QVERIFY(prompter.shown.isEmpty());

    TfrmAddWebsite *dialog = window.addWebsiteDialog();
    QVERIFY(dialog->prepare());
    dialog->show();
    auto *address = dialog->findChild<QLineEdit *>(QStringLiteral("edAddress"));
    address->setText(server.url(QStringLiteral("/")).toString());
    QTest::keyClick(address, Qt::Key_Return);
    auto *page = static_cast<WebEngineBrowser *>(dialog->browser())->page();
    QTRY_COMPARE_WITH_TIMEOUT(page->title(), QStringLiteral("Find shoes | Shoe Shop"), 20000);
    runJavaScript(page, QStringLiteral("document.querySelector('[name=q]').value = 'ZPQ-SEARCH-TERM';"
                                       "document.getElementById('go').click();"));
    QTRY_VERIFY_WITH_TIMEOUT(!dialog->addressTemplate().isEmpty(), 20000);
    QCOMPARE(dialog->addressTemplate(), server.url(QStringLiteral("/find?q=[ZPQ-SEARCH-TERM]&sort=new")).toString());
    QCOMPARE(dialog->findChild<QLineEdit *>(QStringLiteral("edName"))->text(), QStringLiteral("Shoe Shop"));
    QTRY_VERIFY_WITH_TIMEOUT(page->title() == QStringLiteral("Results"), 10000);
    shot(dialog, QStringLiteral("learnt"));
    dialog->findChild<QComboBox *>(QStringLiteral("lstCategories"))->setCurrentIndex(0);
    dialog->findChild<QPushButton *>(QStringLiteral("bOK"))->click();
    QVERIFY(!dialog->isVisible());
    QCOMPARE(dialog->tag(), 1);
    window.siteAdded(); // what the command does once the modal dialog has closed

    QCOMPARE(window.selection().sites().count(), 1);
    QCOMPARE(window.selection().sites().entry(0).name, QStringLiteral("Shoe Shop"));
    QCOMPARE(window.selection().siteTotal(), 1);
    QCOMPARE(window.findChild<QWidget *>(QStringLiteral("panModified"))->property("text").toString(),
             QStringLiteral("Modified"));

    server.clearRequests();
    window.searchFields().box(QStringLiteral("1"))->setText(QStringLiteral("blue suede & co"));
    window.searchRun().bGoClick();
    QTRY_VERIFY_WITH_TIMEOUT(!server.requestsFor("/find").isEmpty(), 20000);
    QCOMPARE(server.requestsFor("/find").first().query(), QByteArray("q=blue+suede+%26+co&sort=new"));
    QTRY_COMPARE_WITH_TIMEOUT(window.searchRun().pageState(0), SearchRun::PageState::Loaded, 20000);
    shot(&window, QStringLiteral("searched"));
    QVERIFY(prompter.shown.isEmpty());
}

KORVALT_WEB_TEST_MAIN(TestLearnAndSearch)
#include "tst_learnandsearch.moc"
