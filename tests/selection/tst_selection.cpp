#include "app/searchmain.h"
#include "fakebrowser.h"
#include "projectfixture.h"
#include "scriptedprompter.h"
#include "selection/searchfieldspanel.h"
#include "selection/sitefilter.h"
#include "selection/siteselection.h"
#include "store/projectlifecycle.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QPushButton>
#include <QScrollArea>
#include <QTemporaryDir>
#include <QtTest>

class TestSelection : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void listingStatement_data();
    void listingStatement();
    void sitesOfTickedCategoriesByNameDeletedCategoryCountedNotListed();
    void untickedSiteStaysUntickedAcrossRefreshesAndProjects();
    void guidanceTexts();
    void tickAllBoxes();
    void siteTickOnlyLooksAtTicks();
    void selectionShowsEditDeleteStrip();
    void fieldsGrid_data();
    void fieldsGrid();
    void missingBoxesAndEmptyKeywords();
    void oddNamesAreShownAsTyped();
    void browseCommandsFollowTheSearchedSitesList();

private:
    void start(const QStringList &categories, const QList<ProjectFixture::Site> &sites);
    void userTicksCategory(const QString &name, bool ticked);
    void userTicksSite(int index, bool ticked);
    QStringList siteNames() const;
    QString guidance() const;

    QTemporaryDir *m_dir = nullptr;
    ScriptedPrompter *m_prompter = nullptr;
    FakeBrowserFactory m_browsers;
    TfrmMain *m_window = nullptr;
    QString m_project;
};

void TestSelection::init()
{
    m_dir = new QTemporaryDir;
    m_prompter = new ScriptedPrompter;
}

void TestSelection::cleanup()
{
    delete m_window;
    m_window = nullptr;
    delete m_prompter;
    delete m_dir;
}

void TestSelection::start(const QStringList &categories, const QList<ProjectFixture::Site> &sites)
{
    m_project = ProjectFixture::create(m_dir->filePath(QStringLiteral("p.tdl")), categories, sites);
    TfrmMain::Options options;
    options.programFolder = m_dir->path() + QLatin1Char('/');
    options.startupProject = m_project;
    options.splashMilliseconds = 1000 * 1000;
    m_window = new TfrmMain(*m_prompter, [](const QUrl &) { return true; }, m_browsers.factory(), options);
    m_window->resize(1200, 800);
    m_window->show();
    m_window->FormActivate();
    QVERIFY(m_prompter->shown.isEmpty());
}

void TestSelection::userTicksCategory(const QString &name, bool ticked)
{
    auto *list = m_window->findChild<QListWidget *>(QStringLiteral("chkCategories"));
    const auto items = list->findItems(name, Qt::MatchExactly);
    QCOMPARE(items.size(), 1);
    items.first()->setCheckState(ticked ? Qt::Checked : Qt::Unchecked); // as a click does
}

void TestSelection::userTicksSite(int index, bool ticked)
{
    auto *view = m_window->findChild<QListView *>(QStringLiteral("lstSites"));
    QVERIFY(view->model()->setData(view->model()->index(index, 0), ticked ? Qt::Checked : Qt::Unchecked,
                                   Qt::CheckStateRole));
}

QStringList TestSelection::siteNames() const
{
    QStringList names;
    for (const SiteEntry &e : m_window->selection().sites().entries())
        names << e.name + (e.ticked ? QString() : QStringLiteral(" (unticked)"));
    return names;
}

QString TestSelection::guidance() const
{
    auto *label = m_window->findChild<QLabel *>(QStringLiteral("panPleaseSelectSite"));
    return label->isVisibleTo(m_window) ? label->text() : QStringLiteral("<ready>");
}

void TestSelection::listingStatement_data()
{
    QTest::addColumn<QVector<CategoryTick>>("ticks");
    QTest::addColumn<QString>("restriction");
    QTest::newRow("empty list") << QVector<CategoryTick>{} << QStringLiteral(" WHERE sites.Category IN (-1) ");
    QTest::newRow("none ticked") << QVector<CategoryTick>{{"4", false}, {"9", false}}
                                 << QStringLiteral(" WHERE sites.Category IN (-1) ");
    QTest::newRow("one") << QVector<CategoryTick>{{"7", true}} << QStringLiteral(" WHERE sites.Category IN (7) ");
    QTest::newRow("several in list order, not by ID")
        << QVector<CategoryTick>{{"9", true}, {"2", false}, {"4", true}, {"12", true}}
        << QStringLiteral(" WHERE sites.Category IN (9,4,12) ");
}

void TestSelection::listingStatement()
{
    QFETCH(QVector<CategoryTick>, ticks);
    QFETCH(QString, restriction);
    const QString expected = QStringLiteral(
        "SELECT sites.ID, sites.Category, sites.site_name, sites.site_url, sites.site_post, sites.is_post, "
        "sites.login_site_url, sites.login_site_post, sites.login_is_post FROM sites, categories ")
        + restriction + QStringLiteral(" AND sites.Category = categories.ID ");
    QCOMPARE(generateFilterSQL(ticks), expected);
}

void TestSelection::sitesOfTickedCategoriesByNameDeletedCategoryCountedNotListed()
{
    start({QStringLiteral("Books"), QStringLiteral("Auctions")},
          {{QStringLiteral("zeta"), 2}, {QStringLiteral("Alpha"), 2}, {QStringLiteral("beta"), 3},
           {QStringLiteral("Orphan"), 42}, {QStringLiteral("General one"), 1}});
    QCOMPARE(siteNames(), (QStringList{"Alpha", "beta", "General one", "zeta"}));
    QCOMPARE(m_window->selection().siteTotal(), 5);
    userTicksCategory(QStringLiteral("General"), false);
    userTicksCategory(QStringLiteral("Books"), false);
    QCOMPARE(siteNames(), QStringList{"beta"});
    QCOMPARE(m_window->selection().siteTotal(), 5);
    QCOMPARE(m_window->selection().sites().entry(0).doLogin, QStringLiteral("0"));
    QCOMPARE(m_window->selection().sites().entry(0).category, QStringLiteral("3"));
}

void TestSelection::untickedSiteStaysUntickedAcrossRefreshesAndProjects()
{
    start({QStringLiteral("Books")}, {{QStringLiteral("A"), 2}, {QStringLiteral("B"), 2}, {QStringLiteral("C"), 1}});
    userTicksSite(1, false); // B
    QCOMPARE(siteNames(), (QStringList{"A", "B (unticked)", "C"}));
    userTicksCategory(QStringLiteral("Books"), false);
    QCOMPARE(siteNames(), QStringList{"C"});
    userTicksCategory(QStringLiteral("Books"), true);
    QCOMPARE(siteNames(), (QStringList{"A", "B (unticked)", "C"}));

    // Re-ticking brings it back ticked from then on.
    userTicksSite(1, true);
    userTicksCategory(QStringLiteral("General"), false);
    QCOMPARE(siteNames(), (QStringList{"A", "B"}));

    // Across an open, by identifier: site 2 of the other project comes in unticked.
    userTicksSite(0, false); // A, ID 1
    const QString other = ProjectFixture::create(m_dir->filePath(QStringLiteral("other.tdl")), {QStringLiteral("Books")},
                                                 {{QStringLiteral("First"), 2}, {QStringLiteral("Second"), 2}});
    m_window->selection().showFilteredRecords(); // harvest the tick
    m_window->lifecycle().OpenProjectFile(other);
    QCOMPARE(siteNames(), (QStringList{"First (unticked)", "Second"}));
}

void TestSelection::guidanceTexts()
{
    start({}, {});
    QCOMPARE(guidance(), QStringLiteral("Please click \"Add Website\" button to get started"));

    Database &db = m_window->database();
    ProjectFixture::addSites(db, {{QStringLiteral("S"), 1}});
    userTicksCategory(QStringLiteral("General"), false);
    QCOMPARE(guidance(), QStringLiteral("Please Select Site(s) to Search"));
    userTicksCategory(QStringLiteral("General"), true);
    QCOMPARE(guidance(), QStringLiteral("<ready>"));
    QCOMPARE(m_window->findChild<QWidget *>(QStringLiteral("panTopSearch"))->height(), 200);
    userTicksSite(0, false);
    QCOMPARE(guidance(), QStringLiteral("Please Select Site(s) to Search"));
    QCOMPARE(m_window->findChild<QWidget *>(QStringLiteral("panTopSearch"))->height(), 96);
    QVERIFY(!m_window->findChild<QPushButton *>(QStringLiteral("bGo"))->isVisibleTo(m_window));

    db.execute(QStringLiteral("DELETE FROM categories"));
    m_window->selection().PopulateFilterCategories();
    m_window->selection().showFilteredRecords();
    QCOMPARE(guidance(), QStringLiteral("Please click \"Site Category Management\" to create some categories"));
}

void TestSelection::tickAllBoxes()
{
    start({QStringLiteral("Books")}, {{QStringLiteral("A"), 2}, {QStringLiteral("B"), 1}});
    auto *allCategories = m_window->findChild<QCheckBox *>(QStringLiteral("chkSiteCategories"));
    auto *allSites = m_window->findChild<QCheckBox *>(QStringLiteral("chkSitesTicked"));
    ProjectFixture::addSites(m_window->database(), {{QStringLiteral("Added behind its back"), 2}});

    allCategories->click(); // now unticked
    QCOMPARE(m_window->selection().tickedCategoryIds(), QStringList{});
    QCOMPARE(siteNames(), QStringList{});
    QCOMPARE(m_window->selection().siteTotal(), 2); // no recount
    allCategories->click();
    QCOMPARE(m_window->selection().tickedCategoryIds().size(), 2);
    QCOMPARE(siteNames().size(), 3);

    allSites->click(); // untick every site
    QCOMPARE(siteNames(), (QStringList{"A (unticked)", "Added behind its back (unticked)", "B (unticked)"}));
    QCOMPARE(guidance(), QStringLiteral("Please Select Site(s) to Search"));
    m_window->selection().showFilteredRecords();
    QCOMPARE(siteNames(), (QStringList{"A (unticked)", "Added behind its back (unticked)", "B (unticked)"}));
    allSites->click();
    m_window->selection().showFilteredRecords();
    QCOMPARE(siteNames(), (QStringList{"A", "Added behind its back", "B"}));
    QCOMPARE(guidance(), QStringLiteral("<ready>"));
}

void TestSelection::siteTickOnlyLooksAtTicks()
{
    start({}, {{QStringLiteral("A"), 1}, {QStringLiteral("B"), 1}});
    // A site added behind the list's back is not picked up by a site tick change: no re-read.
    ProjectFixture::addSites(m_window->database(), {{QStringLiteral("C"), 1}});
    userTicksSite(0, false);
    QCOMPARE(siteNames(), (QStringList{"A (unticked)", "B"}));
    QCOMPARE(guidance(), QStringLiteral("<ready>"));
    QLineEdit *first = m_window->searchFields().box(QStringLiteral("1"));
    QVERIFY(first);
    QCOMPARE(m_window->focusWidget(), first);
}

void TestSelection::selectionShowsEditDeleteStrip()
{
    start({}, {{QStringLiteral("A"), 1}, {QStringLiteral("B"), 1}});
    auto *view = m_window->findChild<QListView *>(QStringLiteral("lstSites"));
    auto *strip = m_window->findChild<QWidget *>(QStringLiteral("panRecordCount"));
    QVERIFY(!strip->isVisibleTo(m_window));
    view->setCurrentIndex(view->model()->index(1, 0));
    QVERIFY(strip->isVisibleTo(m_window));
    QCOMPARE(m_window->selection().selectedSite(), 1);
    auto *del = m_window->findChild<QPushButton *>(QStringLiteral("cxDeleteSite"));
    QCOMPARE(del->geometry().right() + 1, strip->width());
    m_window->selection().showFilteredRecords();
    QVERIFY(!strip->isVisibleTo(m_window));
    QCOMPARE(m_window->selection().selectedSite(), -1);
}

void TestSelection::fieldsGrid_data()
{
    QTest::addColumn<int>("fields");
    QTest::addColumn<QList<QRect>>("boxes");
    const int h = QLineEdit().sizeHint().height();
    QTest::newRow("1") << 1 << QList<QRect>{QRect(144, 2, 200, h)};
    QTest::newRow("2") << 2 << QList<QRect>{QRect(144, 2, 200, h), QRect(500, 2, 200, h)};
    QTest::newRow("3") << 3 << QList<QRect>{QRect(144, 2, 200, h), QRect(500, 2, 200, h), QRect(144, 34, 200, h)};
}

void TestSelection::fieldsGrid()
{
    QFETCH(int, fields);
    QFETCH(QList<QRect>, boxes);
    start({}, {{QStringLiteral("A"), 1}});
    Database &db = m_window->database();
    for (int i = 2; i <= fields; ++i)
        db.execute(QStringLiteral("INSERT INTO keywords (Keyword, Search_Text, Type, Form_Order) VALUES (?1, ?2, 0, ?3)"),
                   {QStringLiteral("Field %1").arg(i), QStringLiteral("ZZ%1").arg(i), 100 - i});
    SearchFieldsPanel &panel = m_window->searchFields();
    panel.cxButton1Click(db);
    panel.findChild<QLineEdit *>(); // keep the container alive
    panel.box(QStringLiteral("1"))->setText(QStringLiteral("typed"));
    panel.cxButton1Click(db); // twice: still one caption and one box per field, text gone
    QCOMPARE(panel.controlCount(), 2 * fields);
    QCOMPARE(panel.text(QStringLiteral("1")), QString());
    for (int i = 0; i < fields; ++i) {
        QLineEdit *box = panel.box(QString::number(i + 1));
        QVERIFY(box);
        QCOMPARE(box->geometry(), boxes.at(i));
    }
    const auto captions = panel.container()->findChildren<QLabel *>(QString(), Qt::FindDirectChildrenOnly);
    QCOMPARE(captions.size(), fields);
    QCOMPARE(captions.first()->text(), QStringLiteral("Search Term"));
    QCOMPARE(captions.first()->geometry().topLeft(), QPoint(4, 4));
    QCOMPARE(captions.first()->width(), 120);
    if (fields > 1)
        QCOMPARE(captions.at(1)->x(), 360);
}

void TestSelection::missingBoxesAndEmptyKeywords()
{
    start({}, {{QStringLiteral("A"), 1}});
    SearchFieldsPanel &panel = m_window->searchFields();
    QCOMPARE(panel.text(QStringLiteral("999")), QString());
    QVERIFY(!panel.box(QStringLiteral("999")));
    Database &db = m_window->database();
    db.execute(QStringLiteral("DELETE FROM keywords"));
    panel.focusFirstField(db); // no row: nothing happens
    panel.cxButton1Click(db);
    QCOMPARE(panel.controlCount(), 0);
    // A field whose box was never built: focusing does nothing and raises nothing.
    db.execute(QStringLiteral("INSERT INTO keywords (ID, Keyword, Search_Text) VALUES (7, 'Late', 'ZZLATE')"));
    panel.focusFirstField(db);
    QVERIFY(m_prompter->shown.isEmpty());

    // A new project rebuilds the panel for its own fields.
    m_window->lifecycle().dxNewProjectClick();
    QVERIFY(panel.box(QStringLiteral("1")));
    QVERIFY(!panel.box(QStringLiteral("7")));
}

void TestSelection::oddNamesAreShownAsTyped()
{
    const QString longName(10000, QLatin1Char('x'));
    start({QStringLiteral("ID"), QStringLiteral("R&D \"quoted\" <b>bold</b>"), QString()},
          {{QStringLiteral("ID"), 2}, {QStringLiteral("<b>&amp;</b>"), 3}, {longName, 1}, {QString(), 4}});
    QCOMPARE(m_window->selection().categoryNames(),
             (QStringList{QString(), QStringLiteral("General"), QStringLiteral("ID"), QStringLiteral("R&D \"quoted\" <b>bold</b>")}));
    QCOMPARE(siteNames(), (QStringList{QString(), QStringLiteral("<b>&amp;</b>"), QStringLiteral("ID"), longName}));
}

void TestSelection::browseCommandsFollowTheSearchedSitesList()
{
    start({}, {{QStringLiteral("A"), 1}, {QStringLiteral("B"), 1}, {QStringLiteral("C"), 1}});
    auto *searched = m_window->findChild<QListWidget *>(QStringLiteral("lstSelectSite"));
    searched->addItems({QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")});
    auto enabled = [this] {
        QString s;
        for (const char *name : {"dxFirst", "dxPrev", "dxNext", "dxLast"})
            s += m_window->findChild<QAction *>(QString::fromLatin1(name))->isEnabled() ? QLatin1Char('1') : QLatin1Char('0');
        return s;
    };
    SiteSelection &sel = m_window->selection();
    sel.dxNextClick(); // none selected: the first
    QCOMPARE(searched->currentRow(), 0);
    QCOMPARE(enabled(), QStringLiteral("0011"));
    sel.dxNextClick();
    QCOMPARE(searched->currentRow(), 1);
    QCOMPARE(enabled(), QStringLiteral("1111"));
    sel.dxLastClick();
    QCOMPARE(searched->currentRow(), 2);
    QCOMPARE(enabled(), QStringLiteral("1100"));
    sel.dxFirstClick();
    QCOMPARE(searched->currentRow(), 0);
    sel.dxPrevClick(); // before the first: none selected
    QCOMPARE(searched->currentRow(), -1);
    QCOMPARE(enabled(), QStringLiteral("1111"));
    sel.dxPrevClick(); // none stays none
    QCOMPARE(searched->currentRow(), -1);
}

QTEST_MAIN(TestSelection)
#include "tst_selection.moc"
