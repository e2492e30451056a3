#include "app/searchmain.h"
#include "fakebrowser.h"
#include "projectfixture.h"
#include "scriptedprompter.h"
#include "search/searchrun.h"
#include "selection/searchfieldspanel.h"
#include "selection/siteselection.h"
#include "store/projectlifecycle.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

class TestSearchRun : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void threeOfFiveTickedSitesAreSearched();
    void refusals_data();
    void refusals();
    void enterInAFieldStartsTheSearch();
    void toolbarFollowsTheSiteOnShow();
    void newSearchThenSecondSearchDestroysOldPages();
    void badFlagsAndSchemesDoNotStopTheRun();
    void loginGoesFirstThenTheSearch();
    void pageStatesAreShownBesideTheNames();
    void newProjectWhileSearchIsOnShow();

private:
    void start(const QList<ProjectFixture::Site> &sites);
    void type(const QString &text, const QString &field = QStringLiteral("1"));
    QStringList searchedNames() const;
    QString browseStates() const;
    template <typename T> T *child(const char *name) const
    {
        T *w = m_window->findChild<T *>(QString::fromLatin1(name));
        if (!w)
            qFatal("no child %s", name);
        return w;
    }
    QList<FakeBrowser *> liveBrowsers() const;

    QTemporaryDir *m_dir = nullptr;
    ScriptedPrompter *m_prompter = nullptr;
    FakeBrowserFactory *m_browsers = nullptr;
    TfrmMain *m_window = nullptr;
};

void TestSearchRun::init()
{
    m_dir = new QTemporaryDir;
    m_prompter = new ScriptedPrompter;
    m_browsers = new FakeBrowserFactory;
}

void TestSearchRun::cleanup()
{
    delete m_window;
    m_window = nullptr;
    delete m_browsers;
    delete m_prompter;
    delete m_dir;
}

void TestSearchRun::start(const QList<ProjectFixture::Site> &sites)
{
    const QString project = ProjectFixture::create(m_dir->filePath(QStringLiteral("p.tdl")), {}, sites);
    TfrmMain::Options options;
    options.programFolder = m_dir->path() + QLatin1Char('/');
    options.startupProject = project;
    options.splashMilliseconds = 1000 * 1000;
    m_window = new TfrmMain(*m_prompter, [](const QUrl &) { return true; }, m_browsers->factory(), options);
    m_window->resize(1400, 900);
    m_window->show();
    m_window->FormActivate();
    QVERIFY(m_prompter->shown.isEmpty());
}

void TestSearchRun::type(const QString &text, const QString &field)
{
    QLineEdit *box = m_window->searchFields().box(field);
    QVERIFY(box);
    box->setText(text);
}

QStringList TestSearchRun::searchedNames() const
{
    QStringList names;
    auto *list = child<QListWidget>("lstSelectSite");
    for (int i = 0; i < list->count(); ++i)
        names << list->item(i)->text();
    return names;
}

QString TestSearchRun::browseStates() const
{
    QString s;
    for (const char *name : {"dxFirst", "dxPrev", "dxNext", "dxLast"})
        s += child<QAction>(name)->isEnabled() ? QLatin1Char('1') : QLatin1Char('0');
    return s;
}

QList<FakeBrowser *> TestSearchRun::liveBrowsers() const
{
    QList<FakeBrowser *> live;
    for (const auto &b : m_browsers->created) {
        if (b)
            live << b.data();
    }
    return live;
}

void TestSearchRun::threeOfFiveTickedSitesAreSearched()
{
    start({{QStringLiteral("A get"), 1, QStringLiteral("http://a.test/s?q=[ZPQ-SEARCH-TERM]&n=1")},
           {QStringLiteral("B unticked"), 1},
           {QStringLiteral("C post"), 1, QStringLiteral("http://c.test/find"), QStringLiteral("q=[ZPQ-SEARCH-TERM]&go=Go")},
           {QStringLiteral("D unticked"), 1},
           {QStringLiteral("E path"), 1, QStringLiteral("http://e.test/search/[ZPQ-SEARCH-TERM]")}});
    auto *view = child<QListView>("lstSites");
    for (int row : {1, 3})
        view->model()->setData(view->model()->index(row, 0), Qt::Unchecked, Qt::CheckStateRole);
    type(QStringLiteral("AT&T 50% книга"));
    m_window->searchRun().bGoClick();

    QVERIFY(m_prompter->shown.isEmpty());
    QCOMPARE(searchedNames(), (QStringList{"A get", "C post", "E path"}));
    QCOMPARE(m_window->searchRun().searchedSiteIndices(), (QVector<int>{0, 2, 4}));
    QCOMPARE(m_window->searchRun().pageCount(), 3);
    const QList<FakeBrowser *> browsers = liveBrowsers();
    QCOMPARE(browsers.size(), 3);
    QCOMPARE(browsers.at(0)->navigations.size(), 1);
    QCOMPARE(browsers.at(0)->navigations.first().address,
             QStringLiteral("http://a.test/s?q=AT%26T+50%25+%D0%BA%D0%BD%D0%B8%D0%B3%D0%B0&n=1"));
    QVERIFY(browsers.at(0)->navigations.first().body.isEmpty());
    QVERIFY(browsers.at(0)->navigations.first().headers.isEmpty());
    QCOMPARE(browsers.at(1)->navigations.first().address, QStringLiteral("http://c.test/find"));
    QCOMPARE(browsers.at(1)->navigations.first().body,
             QByteArray("q=AT%26T+50%25+%D0%BA%D0%BD%D0%B8%D0%B3%D0%B0&go=Go")); // exactly, no trailing zero
    QCOMPARE(browsers.at(1)->navigations.first().headers,
             QStringLiteral("Content-Type: application/x-www-form-urlencoded\r\n"));
    QCOMPARE(browsers.at(2)->navigations.first().address,
             QStringLiteral("http://e.test/search/AT&T%2050%25%20%D0%BA%D0%BD%D0%B8%D0%B3%D0%B0"));
    for (FakeBrowser *b : browsers) {
        QVERIFY(b->isSilent());
        QVERIFY(b->popupsAllowed());
    }

    // Search mode, the first searched site on show.
    QVERIFY(m_window->searchRun().inSearchMode());
    QVERIFY(child<QListWidget>("lstSelectSite")->isVisibleTo(m_window));
    QVERIFY(!child<QListView>("lstSites")->isVisibleTo(m_window));
    QVERIFY(!child<QListWidget>("chkCategories")->isEnabled());
    QVERIFY(child<QPushButton>("cxSearchAgain")->isVisibleTo(m_window));
    QVERIFY(!child<QPushButton>("bGo")->isVisibleTo(m_window));
    QVERIFY(!child<QAction>("dxImportBacklinks")->isEnabled());
    QVERIFY(!child<QCheckBox>("chkDisablePopups")->isEnabled());
    QCOMPARE(child<QWidget>("panTopSearch")->height(), 96);
    QCOMPARE(m_window->searchRun().currentSiteIndex(), 0);
    QCOMPARE(m_window->searchRun().currentBrowser(), browsers.at(0));
    QCOMPARE(child<QStackedWidget>("pcBrowsers")->currentWidget(), browsers.at(0)->parentWidget());
    QCOMPARE(m_window->searchRun().historyState(browsers.at(0)), QStringLiteral("xx"));
    QVERIFY(!child<QToolButton>("bBack1")->isEnabled());
    QVERIFY(!child<QToolButton>("bNext1")->isEnabled());
    QVERIFY(child<QToolButton>("bStop1")->isEnabled());
    QCOMPARE(browseStates(), QStringLiteral("0011"));

    // Site-browse commands walk the searched sites.
    child<QAction>("dxNext")->trigger();
    QCOMPARE(m_window->searchRun().currentSiteIndex(), 2);
    QCOMPARE(browseStates(), QStringLiteral("1111"));
    child<QAction>("dxLast")->trigger();
    QCOMPARE(m_window->searchRun().currentSiteIndex(), 4);
    QCOMPARE(browseStates(), QStringLiteral("1100"));
}

void TestSearchRun::refusals_data()
{
    QTest::addColumn<bool>("withSite");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("message");
    QTest::newRow("no site in the project") << false << "x" << "No Sites Selected - Please Select one or more";
    QTest::newRow("nothing typed") << true << "" << "Please enter something to search for";
    QTest::newRow("a single space counts") << true << " " << "";
}

void TestSearchRun::refusals()
{
    QFETCH(bool, withSite);
    QFETCH(QString, typed);
    QFETCH(QString, message);
    start(withSite ? QList<ProjectFixture::Site>{{QStringLiteral("A"), 1}} : QList<ProjectFixture::Site>{});
    m_window->searchFields().cxButton1Click(m_window->database());
    type(typed);
    m_window->searchRun().bGoClick();
    if (message.isEmpty()) {
        QVERIFY(m_prompter->shown.isEmpty());
        QCOMPARE(liveBrowsers().size(), 1);
        QCOMPARE(liveBrowsers().first()->navigations.first().address, QStringLiteral("http://127.0.0.1/search?q=+"));
    } else {
        QCOMPARE(m_prompter->shown, QStringList{message});
        QCOMPARE(m_prompter->kinds, QStringList{QStringLiteral("error")});
        QVERIFY(liveBrowsers().isEmpty());
        QVERIFY(!m_window->searchRun().inSearchMode());
        if (withSite)
            QCOMPARE(m_window->focusWidget(), m_window->searchFields().box(QStringLiteral("1")));
    }
}

void TestSearchRun::enterInAFieldStartsTheSearch()
{
    start({{QStringLiteral("A"), 1}});
    type(QStringLiteral("term"));
    QLineEdit *box = m_window->searchFields().box(QStringLiteral("1"));
    QTest::keyClick(box, Qt::Key_Return);
    QCOMPARE(box->text(), QStringLiteral("term"));
    QCOMPARE(liveBrowsers().size(), 1);
    QVERIFY(m_window->searchRun().inSearchMode());
}

void TestSearchRun::toolbarFollowsTheSiteOnShow()
{
    start({{QStringLiteral("A"), 1}, {QStringLiteral("B"), 1}});
    type(QStringLiteral("x"));
    m_window->searchRun().bGoClick();
    const QList<FakeBrowser *> b = liveBrowsers();
    auto *pb = child<QProgressBar>("pb");
    auto *back = child<QToolButton>("bBack1");
    auto *forward = child<QToolButton>("bNext1");
    auto *link = child<QLineEdit>("edLink2");

    emit b.at(1)->progressChange(40, 100); // not on show
    QCOMPARE(pb->value(), 0);
    emit b.at(0)->progressChange(30, 100);
    QCOMPARE(pb->value(), 30);
    emit b.at(0)->commandStateChange(Browser::CommandBack, true);
    QVERIFY(back->isEnabled());
    QVERIFY(!forward->isEnabled());
    emit b.at(1)->commandStateChange(Browser::CommandForward, true);
    QVERIFY(!forward->isEnabled());
    QCOMPARE(m_window->searchRun().historyState(b.at(1)), QStringLiteral("x1"));
    b.at(0)->finishLoad(QUrl(QStringLiteral("http://a.test/result")), QStringLiteral("A results"));
    QCOMPARE(link->text(), QStringLiteral("http://a.test/result"));

    child<QAction>("dxNext")->trigger();
    QCOMPARE(pb->value(), 0);
    QVERIFY(!back->isEnabled());
    QVERIFY(forward->isEnabled());
    QCOMPARE(link->text(), QString());
    back->setEnabled(true);
    child<QToolButton>("bRefresh1")->click();
    child<QToolButton>("bStop1")->click();
    QCOMPARE(b.at(1)->refreshCalls, 1);
    QCOMPARE(b.at(1)->stopCalls, 1);
    QCOMPARE(b.at(0)->refreshCalls, 0);

    // The arrow keys move the selection like a click does.
    auto *searched = child<QListWidget>("lstSelectSite");
    searched->setFocus();
    QTest::keyClick(searched, Qt::Key_Up);
    QCOMPARE(m_window->searchRun().currentSiteIndex(), 0);
    QCOMPARE(link->text(), QStringLiteral("http://a.test/result"));
    QCOMPARE(browseStates(), QStringLiteral("0011"));
}

void TestSearchRun::newSearchThenSecondSearchDestroysOldPages()
{
    start({{QStringLiteral("A"), 1}, {QStringLiteral("B"), 1}});
    type(QStringLiteral("one"));
    m_window->searchRun().bGoClick();
    QList<QPointer<FakeBrowser>> first;
    for (FakeBrowser *b : liveBrowsers())
        first << b;
    QCOMPARE(first.size(), 2);

    child<QPushButton>("cxSearchAgain")->click();
    QVERIFY(!m_window->searchRun().inSearchMode());
    QVERIFY(!child<QWidget>("panBrowsers")->isVisibleTo(m_window));
    QCOMPARE(browseStates(), QStringLiteral("0000"));
    QCOMPARE(m_window->focusWidget(), m_window->searchFields().box(QStringLiteral("1")));

    type(QStringLiteral("two"));
    m_window->searchRun().bGoClick();
    for (const QPointer<FakeBrowser> &b : first)
        QVERIFY(b.isNull()); // gone with their pages at once
    QCOMPARE(liveBrowsers().size(), 2);
    QCOMPARE(m_window->searchRun().pageCount(), 2);
    QCOMPARE(liveBrowsers().first()->navigations.first().address, QStringLiteral("http://127.0.0.1/search?q=two"));
}

void TestSearchRun::badFlagsAndSchemesDoNotStopTheRun()
{
    start({{QStringLiteral("A file"), 1, QStringLiteral("file:///etc/passwd?[ZPQ-SEARCH-TERM]")},
           {QStringLiteral("B flag"), 1, QStringLiteral("http://b.test/?q=[ZPQ-SEARCH-TERM]"), QStringLiteral("x=[ZPQ-SEARCH-TERM]")},
           {QStringLiteral("C script"), 1, QStringLiteral("javascript:alert('[ZPQ-SEARCH-TERM]')")},
           {QStringLiteral("D ok"), 1}});
    m_window->database().execute(QStringLiteral("UPDATE sites SET is_post = 'yes' WHERE site_name = 'B flag'"));
    m_window->selection().showFilteredRecords();
    type(QStringLiteral("t"));
    m_window->searchRun().bGoClick();
    QVERIFY(m_prompter->shown.isEmpty());
    QCOMPARE(m_window->searchRun().pageCount(), 4);
    const QList<FakeBrowser *> b = liveBrowsers();
    QCOMPARE(b.size(), 2); // two addresses were not sent
    QCOMPARE(b.at(0)->navigations.first().address, QStringLiteral("http://b.test/?q=t"));
    QVERIFY(b.at(0)->navigations.first().body.isEmpty()); // a flag that is no integer is a GET
    QCOMPARE(b.at(1)->navigations.first().address, QStringLiteral("http://127.0.0.1/search?q=t"));

    // The first site is on show and says why nothing was sent.
    auto *stack = child<QStackedWidget>("pcBrowsers");
    auto *note = stack->currentWidget()->findChild<QLabel *>(QStringLiteral("labNotSent"));
    QVERIFY(note);
    QVERIFY(note->text().contains(QStringLiteral("was not sent")));
    QVERIFY(note->text().contains(QStringLiteral("file:///etc/passwd")));
    QCOMPARE(m_window->searchRun().currentBrowser(), nullptr);
    QCOMPARE(m_window->searchRun().pageState(0), SearchRun::PageState::Failed);
    child<QToolButton>("bRefresh1")->click(); // nothing to act on, nothing happens
}

void TestSearchRun::loginGoesFirstThenTheSearch()
{
    start({{QStringLiteral("Members"), 1, QStringLiteral("http://m.test/find?q=[ZPQ-SEARCH-TERM]")},
           {QStringLiteral("Open"), 1}});
    m_window->database().execute(
        QStringLiteral("UPDATE sites SET login_site_url = 'http://m.test/login', login_site_post = 'user=me&pw=secret' "
                       "WHERE site_name = 'Members'"));
    m_window->selection().showFilteredRecords();
    QCOMPARE(m_window->selection().sites().entry(0).doLogin, QStringLiteral("1"));
    type(QStringLiteral("gold"));
    m_window->searchRun().bGoClick();

    QList<FakeBrowser *> b = liveBrowsers();
    QCOMPARE(b.size(), 2);
    QCOMPARE(b.at(0)->navigations.first().address, QStringLiteral("http://m.test/login"));
    QCOMPARE(b.at(0)->navigations.first().body, QByteArray("user=me&pw=secret"));
    QCOMPARE(b.at(1)->navigations.first().address, QStringLiteral("http://127.0.0.1/search?q=gold"));

    b.at(0)->finishLoad(QUrl(QStringLiteral("http://m.test/welcome")), QStringLiteral("Welcome"));
    b = liveBrowsers();
    QCOMPARE(b.size(), 3);
    QCOMPARE(b.at(2)->navigations.first().address, QStringLiteral("http://m.test/find?q=gold"));
    QCOMPARE(m_window->selection().sites().entry(0).doLogin, QStringLiteral("0"));
    // The search page of the site on show replaces its login page.
    QCOMPARE(m_window->searchRun().currentBrowser(), b.at(2));
    // A later navigation of the login page does not search again.
    b.at(0)->finishLoad(QUrl(QStringLiteral("http://m.test/again")), QStringLiteral("Again"));
    QCOMPARE(liveBrowsers().size(), 3);
}

void TestSearchRun::pageStatesAreShownBesideTheNames()
{
    start({{QStringLiteral("A"), 1}, {QStringLiteral("B"), 1}});
    type(QStringLiteral("x"));
    m_window->searchRun().bGoClick();
    const QList<FakeBrowser *> b = liveBrowsers();
    QCOMPARE(m_window->searchRun().pageState(0), SearchRun::PageState::Loading);
    b.at(0)->finishLoad(QUrl(QStringLiteral("http://a/")), QStringLiteral("A"));
    b.at(1)->finishLoad(QUrl(QStringLiteral("http://b/")), QStringLiteral("B"), false);
    QCOMPARE(m_window->searchRun().pageState(0), SearchRun::PageState::Loaded);
    QCOMPARE(m_window->searchRun().pageState(1), SearchRun::PageState::Failed);
    QCOMPARE(searchedNames(), (QStringList{"A", "B"}));
    QVERIFY(!child<QListWidget>("lstSelectSite")->item(0)->icon().isNull());
}

void TestSearchRun::newProjectWhileSearchIsOnShow()
{
    start({{QStringLiteral("A"), 1}, {QStringLiteral("B"), 1}});
    type(QStringLiteral("x"));
    m_window->searchRun().bGoClick();
    const QList<FakeBrowser *> b = liveBrowsers();
    m_window->lifecycle().dxNewProjectClick();
    QVERIFY(m_prompter->shown.isEmpty());
    QVERIFY(!m_window->searchRun().inSearchMode());
    QVERIFY(child<QListWidget>("chkCategories")->isEnabled());
    QVERIFY(child<QListView>("lstSites")->isVisibleTo(m_window));
    // Late events of the old pages change nothing and raise nothing.
    emit b.at(1)->progressChange(50, 100);
    b.at(1)->finishLoad(QUrl(QStringLiteral("http://late/")), QStringLiteral("Late"));
    emit b.at(0)->commandStateChange(Browser::CommandBack, true);
    QVERIFY(m_prompter->shown.isEmpty());
}

QTEST_MAIN(TestSearchRun)
#include "tst_searchrun.moc"
