#include "catalogue/addweb.h"
#include "catalogue/addwebsitehost.h"
#include "catalogue/keywordgrid.h"
#include "fakebrowser.h"
#include "scriptedprompter.h"
#include "store/database.h"
#include "store/schema.h"

#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSqlTableModel>
#include <QTableView>
#include <QToolButton>
#include <QtTest>

#include <memory>

namespace {

class RecordingHost final : public AddWebsiteHost
{
public:
    QStringList names { QStringLiteral("General"), QStringLiteral("News") };
    QStringList ids { QStringLiteral("1"), QStringLiteral("2") };
    QList<int> ticked;
    int dirty = 0;
    int sitesAdded = 0;
    int fieldsChanged = 0;

    QStringList categoryNames() const override { return names; }
    QStringList categoryIds() const override { return ids; }
    void tickCategory(int index) override { ticked << index; }
    void SetDirty() override { ++dirty; }
    void siteAdded() override { ++sitesAdded; }
    void searchFieldsChanged() override { ++fieldsChanged; }
};

// A fresh project in a temporary program folder, the dialog over it, and a fake browser.
struct Fixture
{
    QTemporaryDir dir;
    QString path;
    Database db;
    ScriptedPrompter prompter;
    RecordingHost host;
    FakeBrowserFactory browsers;
    std::unique_ptr<TfrmAddWebsite> dialog;

    Fixture()
    {
        path = dir.filePath(QStringLiteral("temp1.db"));
        db.open(path);
        Schema::createFreshTables(db);
        db.execute(
            QStringLiteral("INSERT INTO categories(Category) VALUES (?1)"), { QStringLiteral("News") });
        dialog = std::make_unique<TfrmAddWebsite>(db, prompter, browsers.factory(), path, host);
    }

    template <typename T> T *find(const char *name) const
    {
        T *widget = dialog->findChild<T *>(QLatin1String(name));
        if (!widget)
            qFatal("no widget %s", name);
        return widget;
    }
    bool shown(const char *name) const { return find<QWidget>(name)->isVisibleTo(dialog.get()); }
    FakeBrowser *browser() const { return browsers.latest(); }

    // Opens the dialog, goes to the search page and lets it load, which arms the learner.
    void openAndArm(const QString &title = QStringLiteral("Search - Books - Example"))
    {
        QVERIFY(dialog->prepare());
        dialog->show();
        find<QLineEdit>("edAddress")->setText(QStringLiteral("shop.example/search"));
        QTest::keyClick(find<QLineEdit>("edAddress"), Qt::Key_Return);
        browser()->finishLoad(QUrl(QStringLiteral("http://shop.example/search")), title);
        QVERIFY(shown("panTellSearch"));
    }

    void request(const QString &address, const QByteArray &body = QByteArray())
    {
        emit browser()->beforeNavigate(QUrl(address), body, true);
    }

    ResultTable sites() { return db.query(QStringLiteral("SELECT * FROM sites")); }
};

} // namespace

class TestAddWebsite final : public QObject
{
    Q_OBJECT

private slots:
    void walksThroughItsStates();
    void learnsAndSaves_data();
    void learnsAndSaves();
    void saveNeedsNameAndCategory();
    void abandoningALearntSiteAsks();
    void goAfterLearningStartsOver();
    void gridPostsReachLearnerAndHost();
    void gridThatCannotOpenKeepsDialogShut();
    void keywordReadErrorWarnsOnce();
    void failedInsertWarnsAndAsks();
};

void TestAddWebsite::walksThroughItsStates()
{
    Fixture f;
    QVERIFY(f.dialog->prepare());
    f.dialog->show();
    QCOMPARE(f.dialog->windowTitle(), QStringLiteral("Learn and Add Website"));
    QCOMPARE(f.dialog->tag(), 0);
    auto *address = f.find<QLineEdit>("edAddress");
    QVERIFY(address->isEnabled());
    QVERIFY(address->hasFocus() || !QApplication::focusWidget());
    for (const char *name : { "bBack1", "bNext1", "bStop1", "bRefresh1" })
        QVERIFY2(!f.find<QToolButton>(name)->isEnabled(), name);
    QVERIFY(f.shown("panEnterURL"));
    QVERIFY(!f.shown("panTellSearch"));
    QVERIFY(!f.shown("panWBBack"));
    QVERIFY(!f.shown("panBottom"));
    QCOMPARE(f.find<QComboBox>("lstCategories")->count(), 2);
    QCOMPARE(f.find<QComboBox>("lstCategories")->currentIndex(), -1);
    QCOMPARE(f.find<QTableView>("DBGrid1")->model()->rowCount(), 1);
    QVERIFY(!f.browser()->popupsAllowed());
    QVERIFY(!f.browser()->requestPopup(QUrl(QStringLiteral("http://ads.example/"))));

    // Enter with a blank address starts nothing; otherwise the text goes as typed.
    address->setText(QStringLiteral("   "));
    QTest::keyClick(address, Qt::Key_Return);
    QVERIFY(f.browser()->navigations.isEmpty());
    address->setText(QStringLiteral(" shop.example/search"));
    QTest::keyClick(address, Qt::Key_Return);
    QCOMPARE(f.browser()->navigations.size(), 1);
    QCOMPARE(f.browser()->navigations.first().address, QStringLiteral(" shop.example/search"));
    QVERIFY(f.browser()->navigations.first().body.isEmpty());
    QVERIFY(f.dialog->isVisible());

    // The start page's own request is never taken as the search.
    f.request(QStringLiteral("http://shop.example/search?q=ZPQ-SEARCH-TERM"));
    QVERIFY(!f.shown("panBottom"));

    emit f.browser()->progressChange(30, 100);
    QCOMPARE(f.find<QProgressBar>("ProgressBar1")->value(), 30);
    f.browser()->busy = true;
    emit f.browser()->commandStateChange(Browser::CommandUpdate, true);
    QVERIFY(f.find<QToolButton>("bStop1")->isEnabled());
    emit f.browser()->commandStateChange(Browser::CommandBack, true);
    QVERIFY(f.find<QToolButton>("bBack1")->isEnabled());
    QVERIFY(!f.find<QToolButton>("bNext1")->isEnabled());

    f.browser()->finishLoad(QUrl(QStringLiteral("http://shop.example/search")), QStringLiteral("Search"));
    QVERIFY(f.shown("panWBBack"));
    QVERIFY(f.find<QToolButton>("bRefresh1")->isEnabled());
    QVERIFY(f.shown("panTellSearch"));
    QVERIFY(!f.shown("panEnterURL"));
    QVERIFY(!f.shown("labLoginInfo"));

    f.find<QToolButton>("bBack1")->click();
    f.find<QToolButton>("bRefresh1")->click();
    QCOMPARE(f.browser()->backCalls, 1);
    QCOMPARE(f.browser()->refreshCalls, 1);

    // A later page of the site keeps the dialog armed; no message was ever shown.
    f.browser()->finishLoad(QUrl(QStringLiteral("http://shop.example/other")), QStringLiteral("Other"));
    QVERIFY(f.shown("panTellSearch"));
    QVERIFY(f.prompter.shown.isEmpty());
}

void TestAddWebsite::learnsAndSaves_data()
{
    QTest::addColumn<QString>("loginAddress"); // a login request sent before the search, or none
    QTest::addColumn<QByteArray>("loginBody");
    QTest::addColumn<QString>("searchAddress");
    QTest::addColumn<QByteArray>("searchBody");
    QTest::addColumn<QString>("name"); // typed over the proposed name, or null to keep it
    QTest::addColumn<QStringList>("row"); // site_name, site_url, site_post, is_post, login url, post, is_post

    QTest::newRow("get") << QString() << QByteArray() << "http://shop.example/find?q=ZPQ-SEARCH-TERM&x=1"
                         << QByteArray() << QString()
                         << QStringList { "Example", "http://shop.example/find?q=[ZPQ-SEARCH-TERM]&x=1", "",
                                "0", "", "", "0" };
    QTest::newRow("post after a login")
        << "http://shop.example/login" << QByteArray("user=alice&pass=s3cret") << "http://shop.example/find"
        << QByteArray("q=ZPQ-SEARCH-TERM&go=1") << QString()
        << QStringList { "Example", "http://shop.example/find", "q=[ZPQ-SEARCH-TERM]&go=1", "1",
               "http://shop.example/login", "user=alice&pass=s3cret", "1" };
    QTest::newRow("login by get") << "http://shop.example/login?user=alice&pass=s3cret" << QByteArray()
                                  << "http://shop.example/find?q=ZPQ-SEARCH-TERM" << QByteArray() << QString()
                                  << QStringList { "Example", "http://shop.example/find?q=[ZPQ-SEARCH-TERM]",
                                         "", "0", "http://shop.example/login?user=alice&pass=s3cret", "",
                                         "0" };
    QTest::newRow("name with quotes and blanks kept as typed")
        << QString() << QByteArray() << "http://shop.example/find?q=ZPQ-SEARCH-TERM" << QByteArray()
        << " My \"Best\" Shop "
        << QStringList { " My \"Best\" Shop ", "http://shop.example/find?q=[ZPQ-SEARCH-TERM]", "", "0", "",
               "", "0" };
    QTest::newRow("name that is a column name")
        << QString() << QByteArray() << "http://shop.example/find?q=ZPQ-SEARCH-TERM" << QByteArray()
        << "site_url"
        << QStringList { "site_url", "http://shop.example/find?q=[ZPQ-SEARCH-TERM]", "", "0", "", "", "0" };
}

void TestAddWebsite::learnsAndSaves()
{
    QFETCH(QString, loginAddress);
    QFETCH(QByteArray, loginBody);
    QFETCH(QString, searchAddress);
    QFETCH(QByteArray, searchBody);
    QFETCH(QString, name);
    QFETCH(QStringList, row);

    Fixture f;
    f.openAndArm();
    if (!loginAddress.isEmpty()) {
        f.find<QLineEdit>("txtUser")->setText(QStringLiteral("alice"));
        f.find<QLineEdit>("txtPassword")->setText(QStringLiteral("s3cret"));
        f.request(loginAddress, loginBody);
        QCOMPARE(
            f.prompter.shown, QStringList { QStringLiteral("Got Login info - please now perform a search") });
        QVERIFY(f.shown("labLoginInfo"));
        QVERIFY(f.shown("panTellSearch"));
    }
    f.request(searchAddress, searchBody);
    QVERIFY(f.shown("panBottom"));
    QVERIFY(!f.shown("panTellSearch"));
    QVERIFY(!f.find<QLineEdit>("edAddress")->isEnabled());
    QCOMPARE(f.find<QLineEdit>("edName")->text(), QStringLiteral("Example"));
    QVERIFY(f.find<QLineEdit>("edName")->hasFocus() || !QApplication::focusWidget());
    // Later navigations, the result page's own included, change nothing.
    f.request(QStringLiteral("http://shop.example/find?q=ZPQ-SEARCH-TERM&page=2"));
    f.browser()->finishLoad(QUrl(searchAddress), QStringLiteral("Results - Other"));
    QVERIFY(!f.shown("panTellSearch"));

    if (!name.isNull())
        f.find<QLineEdit>("edName")->setText(name);
    auto *save = f.find<QPushButton>("bOK");
    QVERIFY(!save->isEnabled()); // no category yet
    f.find<QComboBox>("lstCategories")->setCurrentIndex(1);
    QVERIFY(save->isEnabled());
    save->click();

    QVERIFY(!f.dialog->isVisible());
    QCOMPARE(f.dialog->tag(), 1);
    QCOMPARE(f.host.ticked, QList<int> { 1 });
    QCOMPARE(f.host.dirty, 2);
    ResultTable sites = f.sites();
    QCOMPARE(sites.rowCount(), 1);
    QCOMPARE(sites.integer(QStringLiteral("Category")), 2);
    const QStringList columns { "site_name", "site_url", "site_post", "is_post", "login_site_url",
        "login_site_post", "login_is_post" };
    QStringList stored;
    for (const QString &column : columns)
        stored << sites.text(column);
    QCOMPARE(stored, row);
    QCOMPARE(sites.text(QStringLiteral("login_username")), QString());
    QCOMPARE(sites.text(QStringLiteral("login_password")), QString());
    QVERIFY(f.prompter.kinds.count(QStringLiteral("question")) == 0);
}

void TestAddWebsite::saveNeedsNameAndCategory()
{
    {
        Fixture f;
        f.openAndArm(QStringLiteral("---"));
        f.request(QStringLiteral("http://shop.example/find?q=ZPQ-SEARCH-TERM"));
        // A title of separators only proposes no name.
        QCOMPARE(f.find<QLineEdit>("edName")->text(), QString());
        f.find<QComboBox>("lstCategories")->setCurrentIndex(0);
        auto *save = f.find<QPushButton>("bOK");
        QVERIFY(!save->isEnabled());
        f.find<QLineEdit>("edName")->setText(QStringLiteral("   "));
        QVERIFY(!save->isEnabled());
        f.find<QLineEdit>("edName")->setText(QStringLiteral(" x"));
        QVERIFY(save->isEnabled());
    }
    {
        Fixture f;
        f.host.names.clear();
        f.host.ids.clear();
        f.openAndArm();
        f.request(QStringLiteral("http://shop.example/find?q=ZPQ-SEARCH-TERM"));
        QCOMPARE(f.find<QComboBox>("lstCategories")->count(), 0);
        QVERIFY(!f.find<QPushButton>("bOK")->isEnabled());
    }
}

void TestAddWebsite::abandoningALearntSiteAsks()
{
    Fixture f;
    f.openAndArm();
    // Not learnt yet: the close box closes without a question.
    f.dialog->close();
    QVERIFY(!f.dialog->isVisible());
    QVERIFY(f.prompter.shown.isEmpty());

    f.openAndArm();
    f.request(QStringLiteral("http://shop.example/find?q=ZPQ-SEARCH-TERM"));
    f.prompter.answers = { false, true };
    f.find<QPushButton>("bCancel")->click();
    QVERIFY(f.dialog->isVisible());
    f.find<QPushButton>("bCancel")->click();
    QVERIFY(!f.dialog->isVisible());
    QCOMPARE(f.prompter.shown, QStringList(2, QStringLiteral("Are you sure you wish to abandon this site?")));
    QCOMPARE(f.dialog->tag(), 0);
    QCOMPARE(f.sites().rowCount(), 0);
    QCOMPARE(f.host.dirty, 0);
    QCOMPARE(f.host.fieldsChanged, 0);

    // Escape is not a way out.
    f.openAndArm();
    QTest::keyClick(f.dialog.get(), Qt::Key_Escape);
    QVERIFY(f.dialog->isVisible());
}

void TestAddWebsite::goAfterLearningStartsOver()
{
    Fixture f;
    f.openAndArm();
    f.request(QStringLiteral("http://shop.example/find?q=ZPQ-SEARCH-TERM"));
    QVERIFY(f.shown("panBottom"));

    f.find<QPushButton>("bGo")->click();
    QVERIFY(!f.shown("panBottom"));
    QVERIFY(!f.shown("panTellSearch"));
    QVERIFY(f.shown("panEnterURL"));
    QVERIFY(f.find<QLineEdit>("edAddress")->isEnabled());
    QCOMPARE(f.find<QLineEdit>("edName")->text(), QString());
    QCOMPARE(f.dialog->addressTemplate(), QString());
    QCOMPARE(f.browser()->navigations.size(), 2);

    // Nothing is learnt until the next page has loaded; then the next search is.
    f.request(QStringLiteral("http://shop.example/search?q=ZPQ-SEARCH-TERM"));
    QVERIFY(!f.shown("panBottom"));
    f.browser()->finishLoad(
        QUrl(QStringLiteral("http://shop.example/search")), QStringLiteral("Shop | Books"));
    QVERIFY(f.shown("panTellSearch"));
    f.request(QStringLiteral("http://shop.example/find?s=ZPQ-SEARCH-TERM"));
    QCOMPARE(f.dialog->addressTemplate(), QStringLiteral("http://shop.example/find?s=[ZPQ-SEARCH-TERM]"));
    QCOMPARE(f.find<QLineEdit>("edName")->text(), QStringLiteral("Books"));
}

void TestAddWebsite::gridPostsReachLearnerAndHost()
{
    Fixture f;
    f.openAndArm();
    auto *grid = f.dialog->keywordGrid();
    QSqlTableModel *model = qobject_cast<QSqlTableModel *>(grid->view()->model());
    QVERIFY(model);
    const int searchText = model->fieldIndex(QStringLiteral("Search_Text"));

    // Typed but not posted: the learner still scans the stored value.
    QVERIFY(model->setData(model->index(0, searchText), QStringLiteral("ZPQ-NEW")));
    f.request(QStringLiteral("http://shop.example/find?q=ZPQ-NEW"));
    QVERIFY(!f.shown("panBottom"));

    f.dialog->findChild<QToolButton *>(QStringLiteral("nbPost"))->click();
    QCOMPARE(
        f.db.query(QStringLiteral("SELECT Search_Text FROM keywords")).text(0, 0), QStringLiteral("ZPQ-NEW"));
    f.request(QStringLiteral("http://shop.example/find?q=ZPQ-NEW"));
    QCOMPARE(f.dialog->addressTemplate(), QStringLiteral("http://shop.example/find?q=[ZPQ-NEW]"));

    // The panel is rebuilt at the close attempt, also when the close is refused, and only once.
    f.prompter.answers = { false, true };
    f.dialog->close();
    QVERIFY(f.dialog->isVisible());
    QCOMPARE(f.host.fieldsChanged, 1);
    QCOMPARE(f.host.dirty, 1);
    f.dialog->close();
    QVERIFY(!f.dialog->isVisible());
    QCOMPARE(f.host.fieldsChanged, 1);

    // A cell still being edited when the dialog closes is posted, not lost.
    f.openAndArm();
    model = qobject_cast<QSqlTableModel *>(f.dialog->keywordGrid()->view()->model());
    QVERIFY(model->setData(
        model->index(0, model->fieldIndex(QStringLiteral("Keyword"))), QStringLiteral("Title")));
    f.dialog->close();
    QVERIFY(!f.dialog->isVisible());
    QCOMPARE(f.db.query(QStringLiteral("SELECT Keyword FROM keywords")).text(0, 0), QStringLiteral("Title"));
    QCOMPARE(f.host.fieldsChanged, 2);
    // Closed dialog, closed connection.
    QVERIFY(!f.dialog->keywordGrid()->isOpen());
}

void TestAddWebsite::gridThatCannotOpenKeepsDialogShut()
{
    Fixture f;
    f.db.execute(QStringLiteral("DROP TABLE keywords"));
    QVERIFY(!f.dialog->execAddWebsite());
    QVERIFY(!f.dialog->isVisible());
    QCOMPARE(f.prompter.shown,
        QStringList {
            QStringLiteral("Unable to read keyword table, database may be corrupt - Please try again") });
    QCOMPARE(f.prompter.kinds, QStringList { QStringLiteral("warning") });
    QCOMPARE(f.host.sitesAdded, 0);
}

void TestAddWebsite::keywordReadErrorWarnsOnce()
{
    Fixture f;
    f.openAndArm();
    f.db.execute(QStringLiteral("ALTER TABLE keywords RENAME TO keywords_old"));
    f.request(QStringLiteral("http://shop.example/find?q=ZPQ-SEARCH-TERM"));
    f.request(QStringLiteral("http://shop.example/frame?q=ZPQ-SEARCH-TERM"));
    QVERIFY(!f.shown("panBottom"));
    QCOMPARE(f.prompter.kinds, QStringList { QStringLiteral("warning") });
    QVERIFY(f.prompter.shown.first().startsWith(
        QStringLiteral("Error Reading from Database - please contact tech support.\r\n")));
    QVERIFY(f.prompter.shown.first().contains(QStringLiteral("keywords")));

    f.db.execute(QStringLiteral("ALTER TABLE keywords_old RENAME TO keywords"));
    f.request(QStringLiteral("http://shop.example/find?q=ZPQ-SEARCH-TERM"));
    QVERIFY(f.shown("panBottom"));
}

void TestAddWebsite::failedInsertWarnsAndAsks()
{
    Fixture f;
    f.openAndArm();
    f.find<QLineEdit>("txtUser")->setText(QStringLiteral("alice"));
    f.find<QLineEdit>("txtPassword")->setText(QStringLiteral("s3cret"));
    f.request(QStringLiteral("http://shop.example/login"), "u=alice&p=s3cret");
    f.request(QStringLiteral("http://shop.example/find?q=ZPQ-SEARCH-TERM"));
    f.find<QComboBox>("lstCategories")->setCurrentIndex(0);
    f.db.execute(QStringLiteral("ALTER TABLE sites RENAME TO sites_old"));
    f.prompter.clear();
    f.prompter.answers = { false };
    f.find<QPushButton>("bOK")->click();

    QCOMPARE(f.prompter.kinds, (QStringList { QStringLiteral("warning"), QStringLiteral("question") }));
    QVERIFY(f.prompter.shown.first().startsWith(
        QStringLiteral("Error writing to Database - please contact tech support.\r\nno such table")));
    QCOMPARE(f.prompter.shown.last(), QStringLiteral("Are you sure you wish to abandon this site?"));
    QVERIFY(f.dialog->isVisible());
    QCOMPARE(f.dialog->tag(), 0);
    QCOMPARE(f.host.dirty, 1);
    QVERIFY(f.host.ticked.isEmpty());
    QVERIFY(!f.shown("labLoginInfo"));
    QCOMPARE(f.find<QPlainTextEdit>("memGet")->toPlainText(), QString());
}

QTEST_MAIN(TestAddWebsite)
#include "tst_addwebsite.moc"
