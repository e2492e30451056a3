#include "app/searchmain.h"
#include "app/splash.h"
#include "fakebrowser.h"
#include "projectfixture.h"
#include "scriptedprompter.h"
#include "selection/siteselection.h"
#include "store/programfolder.h"
#include "store/projectlifecycle.h"
#include "store/textlines.h"

#include <QAction>
#include <QLabel>
#include <QListWidget>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

class TestStartup : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void firstRunStartsWithAFreshTickedProject();
    void firstRecentProjectIsOpened();
    void commandLineProjectWinsOverTheRecentList();
    void badFirstRecentProjectStillStartsFresh_data();
    void badFirstRecentProjectStillStartsFresh();
    void ticksOfTheLastRunAreRestoredAndWrittenInListOrder();
    void splashClosesAtTheLaterOfTimerAndStartup();
    void helpCommands();
    void secondCopyCannotTakeTheProgramFolder();

private:
    TfrmMain *makeWindow(const QString &startupProject = QString());
    QString folder() const { return m_dir->path() + QLatin1Char('/'); }

    QTemporaryDir *m_dir = nullptr;
    ScriptedPrompter *m_prompter = nullptr;
    QList<QUrl> m_opened;
    bool m_openResult = true;
    FakeBrowserFactory m_browsers;
    TfrmMain *m_window = nullptr;
};

void TestStartup::init()
{
    m_dir = new QTemporaryDir;
    m_prompter = new ScriptedPrompter;
    m_opened.clear();
    m_openResult = true;
}

void TestStartup::cleanup()
{
    delete m_window;
    m_window = nullptr;
    delete m_prompter;
    delete m_dir;
}

TfrmMain *TestStartup::makeWindow(const QString &startupProject)
{
    TfrmMain::Options options;
    options.programFolder = folder();
    options.startupProject = startupProject;
    options.splashMilliseconds = 1000 * 1000; // the tests fire the timer themselves
    m_window = new TfrmMain(*m_prompter, [this](const QUrl &url) { m_opened << url; return m_openResult; }, m_browsers.factory(), options);
    return m_window;
}

void TestStartup::firstRunStartsWithAFreshTickedProject()
{
    TfrmMain *w = makeWindow();
    w->FormActivate();
    QVERIFY(m_prompter->shown.isEmpty());
    QVERIFY(w->isInitialised());
    QCOMPARE(w->selection().categoryNames(), QStringList{QStringLiteral("General")});
    QCOMPARE(w->selection().tickedCategoryIds(), QStringList{QStringLiteral("1")});
    QCOMPARE(w->findChild<QLabel *>(QStringLiteral("panFileName"))->text(), QString());
    QCOMPARE(w->findChild<QLabel *>(QStringLiteral("panModified"))->text(), QString());
    QVERIFY(!w->findChild<QAction *>(QStringLiteral("dxSaveProject"))->isEnabled());
    QVERIFY(w->findChild<QAction *>(QStringLiteral("dxImportBacklinks"))->isEnabled());
    QCOMPARE(w->findChild<QLabel *>(QStringLiteral("panPleaseSelectSite"))->text(),
             QStringLiteral("Please click \"Add Website\" button to get started"));
    QVERIFY(w->findChild<QWidget *>(QStringLiteral("dxRibbon"))->isEnabled());
    QCOMPARE(w->splash()->tag, 1);
    QVERIFY(w->splash()->hasHandCursor());

    // A later activation changes nothing.
    w->lifecycle().SetDirty();
    w->FormActivate();
    QVERIFY(m_prompter->shown.isEmpty());
    QCOMPARE(w->findChild<QLabel *>(QStringLiteral("panModified"))->text(), QStringLiteral("Modified"));
    QVERIFY(w->findChild<QAction *>(QStringLiteral("dxSaveProject"))->isEnabled());
}

void TestStartup::firstRecentProjectIsOpened()
{
    const QString a = ProjectFixture::create(m_dir->filePath(QStringLiteral("a.tdl")), {QStringLiteral("Auctions")},
                                             {{QStringLiteral("Site One"), 2}});
    const QString b = ProjectFixture::create(m_dir->filePath(QStringLiteral("b.tdl")));
    TextLines::write(folder() + QStringLiteral("mru.txt"), {a, b});
    TfrmMain *w = makeWindow();
    w->FormActivate();
    QVERIFY(m_prompter->shown.isEmpty());
    QCOMPARE(w->lifecycle().projectFileName(), a);
    QCOMPARE(w->findChild<QLabel *>(QStringLiteral("panFileName"))->text(), a);
    QCOMPARE(w->selection().categoryNames(), (QStringList{QStringLiteral("Auctions"), QStringLiteral("General")}));
    QCOMPARE(w->selection().sites().count(), 1);
    auto *pane = w->findChild<QListWidget *>(QStringLiteral("dxBarApplicationMenu1ExtraPane"));
    QVERIFY(pane);
    QCOMPARE(pane->count(), 2);
    QCOMPARE(pane->item(0)->text(), a);
}

void TestStartup::commandLineProjectWinsOverTheRecentList()
{
    const QString a = ProjectFixture::create(m_dir->filePath(QStringLiteral("a.tdl")));
    const QString b = ProjectFixture::create(m_dir->filePath(QStringLiteral("b.tdl")), {QStringLiteral("FromB")});
    TextLines::write(folder() + QStringLiteral("mru.txt"), {a});
    TfrmMain *w = makeWindow(b);
    w->FormActivate();
    QCOMPARE(w->lifecycle().projectFileName(), b);
    QCOMPARE(w->lifecycle().recentList(), (QStringList{b, a}));
}

void TestStartup::badFirstRecentProjectStillStartsFresh_data()
{
    QTest::addColumn<bool>("exists");
    QTest::addColumn<QString>("messageStart");
    QTest::newRow("deleted since") << false << QStringLiteral("Unable to open file ");
    QTest::newRow("not a project") << true << QStringLiteral("Error Opening File - please try again.\r\n");
}

void TestStartup::badFirstRecentProjectStillStartsFresh()
{
    QFETCH(bool, exists);
    QFETCH(QString, messageStart);
    const QString bad = m_dir->filePath(QStringLiteral("bad.tdl"));
    if (exists) {
        QFile f(bad);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("plain text, no database");
    }
    const QString good = ProjectFixture::create(m_dir->filePath(QStringLiteral("good.tdl")));
    TextLines::write(folder() + QStringLiteral("mru.txt"), {bad, good});
    TfrmMain *w = makeWindow();
    // The window is activated again while the warning is on show: start-up does not restart.
    m_prompter->whileShown = [w](const QString &) { w->FormActivate(); };
    w->FormActivate();
    QCOMPARE(m_prompter->shown.size(), 1);
    QVERIFY(m_prompter->shown.first().startsWith(messageStart));
    QVERIFY(w->isInitialised());
    QCOMPARE(w->lifecycle().projectFileName(), QString());
    QCOMPARE(w->lifecycle().recentList(), QStringList{good});
    QCOMPARE(w->selection().tickedCategoryIds(), QStringList{QStringLiteral("1")});
}

void TestStartup::ticksOfTheLastRunAreRestoredAndWrittenInListOrder()
{
    // IDs: General 1, Books 2, Auctions 3, Zoo 4
    const QString p = ProjectFixture::create(m_dir->filePath(QStringLiteral("p.tdl")),
                                             {QStringLiteral("Books"), QStringLiteral("Auctions"), QStringLiteral("Zoo")},
                                             {{QStringLiteral("In Books"), 2}, {QStringLiteral("In Zoo"), 4}});
    TextLines::write(folder() + QStringLiteral("mru.txt"), {p});
    TextLines::write(folder() + QStringLiteral("settings.txt"), {QStringLiteral("4"), QStringLiteral("99")});
    TfrmMain *w = makeWindow();
    w->FormActivate();
    QCOMPARE(w->selection().tickedCategoryIds(), QStringList{QStringLiteral("4")});
    QCOMPARE(w->selection().sites().count(), 1);
    QCOMPARE(w->selection().sites().entry(0).name, QStringLiteral("In Zoo"));

    w->selection().setCategoriesTicked({QStringLiteral("2"), QStringLiteral("3")}, true);
    w->selection().setCategoriesTicked({QStringLiteral("4")}, false);
    w->close();
    QStringList written;
    QVERIFY(TextLines::read(folder() + QStringLiteral("settings.txt"), written));
    QCOMPARE(written, (QStringList{QStringLiteral("3"), QStringLiteral("2")})); // Auctions before Books

    // Nothing ticked at close: the file is written empty, and the next start ticks everything.
    delete m_window;
    m_window = nullptr;
    TfrmMain *again = makeWindow();
    again->FormActivate();
    QCOMPARE(again->selection().tickedCategoryIds().size(), 2);
    for (int i = 0; i < again->selection().categoryCount(); ++i)
        again->selection().setCategoryTicked(i, false);
    again->close();
    QCOMPARE(QFileInfo(folder() + QStringLiteral("settings.txt")).size(), 0);
    delete m_window;
    m_window = nullptr;
    TfrmMain *third = makeWindow();
    third->FormActivate();
    QCOMPARE(third->selection().tickedCategoryIds().size(), 4);
}

void TestStartup::splashClosesAtTheLaterOfTimerAndStartup()
{
    // Start-up finished before the timer: the splash waits, a click closes it.
    {
        TfrmMain *w = makeWindow();
        w->FormActivate();
        TfrmSplash *s = w->splash();
        QVERIFY(s->isVisible());
        QCOMPARE(s->tag, 1);
        s->FormClick();
        QVERIFY(!s->isVisible());
        delete m_window;
        m_window = nullptr;
    }
    // The timer fires after start-up: it closes the splash.
    {
        TfrmMain *w = makeWindow();
        w->FormActivate();
        TfrmSplash *s = w->splash();
        s->timCloseTimer();
        QVERIFY(!s->isVisible());
        QCOMPARE(s->tag, 0);
        delete m_window;
        m_window = nullptr;
    }
    // A click while start-up runs is ignored; a timer that fired during start-up lets it close at the end.
    {
        TfrmSplash s(nullptr, 1000 * 1000);
        s.tag = 0;
        s.show();
        s.FormClick();
        QVERIFY(s.isVisible());
        s.timCloseTimer();
        QVERIFY(s.isVisible());
        QVERIFY(s.timerFired());
    }
    // The about box: empty message, closes on a click.
    {
        TfrmSplash s(nullptr, 1000 * 1000);
        s.tag = -2;
        s.setMessage(QString());
        s.show();
        s.FormClick();
        QVERIFY(!s.isVisible());
        QCOMPARE(s.tag, -2);
    }
}

void TestStartup::helpCommands()
{
    TfrmMain *w = makeWindow();
    w->FormActivate();
    const QString guide = folder() + QStringLiteral("user_guide.pdf");
    const bool shipped = QFileInfo::exists(QCoreApplication::applicationDirPath() + QStringLiteral("/user_guide.pdf"));
    if (!shipped) {
        w->dxBarLargeButton1Click();
        QCOMPARE(m_prompter->shown.last(), QStringLiteral("Cannot find ") + guide + QStringLiteral("\r\n\r\nPlease re-install."));
    }
    { QFile f(guide); QVERIFY(f.open(QIODevice::WriteOnly)); f.write("%PDF-1.4"); }
    m_prompter->clear();
    w->dxBarLargeButton1Click();
    QVERIFY(m_prompter->shown.isEmpty());
    QCOMPARE(m_opened.last(), QUrl::fromLocalFile(guide));
    m_openResult = false;
    w->dxBarLargeButton1Click();
    QCOMPARE(m_prompter->shown.last(), QStringLiteral("Cannot launch your default PDF Reader.\r\n\r\nPlease ensure you have one "
                                                      "installed, and manually open ") + guide);
    m_prompter->clear();
    w->dxBarLargeButton5Click();
    QVERIFY(m_prompter->shown.isEmpty());
    QCOMPARE(m_opened.last().scheme(), QStringLiteral("https"));
}

void TestStartup::secondCopyCannotTakeTheProgramFolder()
{
    auto first = lockProgramFolder(folder());
    QVERIFY(first);
    QVERIFY(!lockProgramFolder(folder()));
    first.reset();
    QVERIFY(lockProgramFolder(folder()));
}

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
