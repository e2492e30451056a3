#include "projectfixture.h"
#include "scriptedprompter.h"
#include "store/database.h"
#include "store/projecthooks.h"
#include "store/projectlifecycle.h"
#include "store/textlines.h"

#include <QTemporaryDir>
#include <QtTest>

namespace {

class RecordingHooks final : public ProjectHooks
{
public:
    explicit RecordingHooks(Database &db) : m_db(db) {}
    QStringList calls;
    QStringList categories;
    void emptyLists() override { calls << "empty"; categories.clear(); }
    void populateFilterCategories() override
    {
        calls << "populate";
        categories.clear();
        ResultTable t = m_db.query(QStringLiteral("SELECT [ID],[Category] FROM categories ORDER BY [Category] COLLATE NOCASE;"));
        for (; !t.eof(); t.next())
            categories << t.text(QStringLiteral("Category"));
    }
    void refreshSites() override { calls << "refresh"; }
    void searchFieldsReplaced() override { calls << "fields"; }
    void checkIfOneOrMoreSitesSelected() override { calls << "check"; }

private:
    Database &m_db;
};

QByteArray fileBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class TestLifecycle : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void newProjectEmptiesTheWorkingCopyButKeepsAdmin();
    void saveAsksForANameOnceThenWritesSilently();
    void saveAsOverwriteDeclinedChangesNothing();
    void confirmSaveAsksUntilSavedOrDeclined();
    void openMissingFileDropsItFromTheRecentList();
    void openABAOrdersTheRecentList();
    void openRejectsFilesThatAreNotProjects_data();
    void openRejectsFilesThatAreNotProjects();
    void openUpgradesOlderProjectWithoutMarkingIt();
    void openKeepsTheSharedConnectionValid();
    void failedSaveLeavesTargetAndModifiedState_data();
    void failedSaveLeavesTargetAndModifiedState();
    void recentListIsReadWithAnyLineEnds();

private:
    QString folder() const { return m_dir->path() + QLatin1Char('/'); }
    QString workingCategories();

    QTemporaryDir *m_dir = nullptr;
    Database *m_db = nullptr;
    ScriptedPrompter *m_prompter = nullptr;
    RecordingHooks *m_hooks = nullptr;
    ProjectLifecycle *m_life = nullptr;
};

void TestLifecycle::init()
{
    m_dir = new QTemporaryDir;
    m_db = new Database;
    m_prompter = new ScriptedPrompter;
    m_hooks = new RecordingHooks(*m_db);
    m_life = new ProjectLifecycle(*m_db, *m_prompter, folder());
    m_life->setHooks(m_hooks);
    m_life->dxNewProjectClick();
    QVERIFY(m_db->isOpen());
    QVERIFY(m_prompter->shown.isEmpty());
}

void TestLifecycle::cleanup()
{
    delete m_life;
    delete m_hooks;
    delete m_prompter;
    delete m_db;
    delete m_dir;
}

QString TestLifecycle::workingCategories()
{
    Database other;
    other.open(m_life->workingCopyPath());
    ResultTable t = other.query(QStringLiteral("SELECT group_concat(Category, ',') AS c FROM (SELECT Category FROM categories ORDER BY ID)"));
    return t.text(QStringLiteral("c"));
}

void TestLifecycle::newProjectEmptiesTheWorkingCopyButKeepsAdmin()
{
    m_db->execute(QStringLiteral("INSERT INTO categories (Category) VALUES ('Books')"));
    m_db->execute(QStringLiteral("UPDATE admin SET version = 9"));
    m_life->SetDirty();
    m_prompter->answers << false;
    m_hooks->calls.clear();
    m_life->dxNewProjectClick();

    QCOMPARE(m_prompter->shown, QStringList{QStringLiteral("Save Changes to Active Project?")});
    QCOMPARE(workingCategories(), QStringLiteral("General"));
    QCOMPARE(m_db->query(QStringLiteral("SELECT version FROM admin")).text(0, 0), QStringLiteral("9"));
    QVERIFY(!m_life->isModified());
    QCOMPARE(m_life->shownFileName(), QString());
    QCOMPARE(m_hooks->calls.first(), QStringLiteral("empty"));
    QCOMPARE(m_hooks->calls.last(), QStringLiteral("check"));
}

void TestLifecycle::saveAsksForANameOnceThenWritesSilently()
{
    const QString target = m_dir->filePath(QStringLiteral("p.tdl"));
    m_life->SetDirty();
    m_prompter->fileNames << target;
    m_life->dxSaveProjectClick();
    QCOMPARE(m_prompter->shown, QStringList{QStringLiteral("Project Saved!")});
    QVERIFY(!m_life->isModified());
    QCOMPARE(m_life->projectFileName(), target);
    QCOMPARE(m_life->shownFileName(), target);
    QCOMPARE(m_life->recentList(), QStringList{target});
    QStringList mru;
    QVERIFY(TextLines::read(folder() + QStringLiteral("mru.txt"), mru));
    QCOMPARE(mru, QStringList{target});

    m_db->execute(QStringLiteral("INSERT INTO categories (Category) VALUES (?1)"), {QStringLiteral("Saved \"twice\"")});
    m_life->SetDirty();
    m_prompter->clear();
    m_life->dxSaveProjectClick(); // no dialog answer prepared: none may be asked for
    QCOMPARE(m_prompter->shown, QStringList{QStringLiteral("Project Saved!")});
    Database saved;
    saved.open(target);
    QCOMPARE(saved.query(QStringLiteral("SELECT Category FROM categories WHERE ID = 2")).text(0, 0),
             QStringLiteral("Saved \"twice\""));
    const QStringList leftovers = QDir(m_dir->path()).entryList(QStringList{QStringLiteral(".p.tdl*")}, QDir::Hidden | QDir::Files);
    QCOMPARE(leftovers, QStringList{});
}

void TestLifecycle::saveAsOverwriteDeclinedChangesNothing()
{
    const QString target = m_dir->filePath(QStringLiteral("existing.tdl"));
    { QFile f(target); QVERIFY(f.open(QIODevice::WriteOnly)); f.write("keep me"); }
    m_life->SetDirty();
    m_prompter->fileNames << target;
    m_prompter->answers << false;
    m_life->dxSaveProjectAsClick();
    QCOMPARE(m_prompter->shown, QStringList{QStringLiteral("Do you want to overwrite ") + target + QStringLiteral("?")});
    QCOMPARE(fileBytes(target), QByteArray("keep me"));
    QVERIFY(m_life->isModified());
    QCOMPARE(m_life->projectFileName(), QString());
}

void TestLifecycle::confirmSaveAsksUntilSavedOrDeclined()
{
    m_life->SetDirty();
    m_prompter->answers << true << false; // Yes, then the save dialog is cancelled; then No
    m_prompter->fileNames << QString();
    m_life->ConfirmSave();
    QCOMPARE(m_prompter->shown, (QStringList{QStringLiteral("Save Changes to Active Project?"),
                                             QStringLiteral("Save Changes to Active Project?")}));
    QVERIFY(m_life->isModified());

    const QString target = m_dir->filePath(QStringLiteral("later.tdl"));
    m_prompter->clear();
    m_prompter->answers << true;
    m_prompter->fileNames << target;
    m_life->ConfirmSave();
    QCOMPARE(m_prompter->shown, (QStringList{QStringLiteral("Save Changes to Active Project?"), QStringLiteral("Project Saved!")}));
    QVERIFY(QFileInfo::exists(target));
}

void TestLifecycle::openMissingFileDropsItFromTheRecentList()
{
    const QString a = ProjectFixture::create(m_dir->filePath(QStringLiteral("a.tdl")), {QStringLiteral("FromA")});
    const QString b = ProjectFixture::create(m_dir->filePath(QStringLiteral("b.tdl")));
    const QString c = ProjectFixture::create(m_dir->filePath(QStringLiteral("c.tdl")));
    m_life->OpenProjectFile(c);
    m_life->OpenProjectFile(b);
    m_life->OpenProjectFile(a);
    QCOMPARE(m_life->recentList(), (QStringList{a, b, c}));
    QFile::remove(b);
    m_prompter->clear();
    m_life->dxBarApplicationMenu1ExtraPaneItemClick(1);
    QCOMPARE(m_prompter->shown, QStringList{QStringLiteral("Unable to open file ") + b + QStringLiteral(" - please check file permissions")});
    QCOMPARE(m_life->recentList(), (QStringList{a, c}));
    QStringList mru;
    TextLines::read(folder() + QStringLiteral("mru.txt"), mru);
    QCOMPARE(mru, (QStringList{a, c}));
    QCOMPARE(m_life->projectFileName(), a);
    QCOMPARE(workingCategories(), QStringLiteral("General,FromA"));
}

void TestLifecycle::openABAOrdersTheRecentList()
{
    const QString a = ProjectFixture::create(m_dir->filePath(QStringLiteral("A.tdl")), {QStringLiteral("InA")});
    const QString b = ProjectFixture::create(m_dir->filePath(QStringLiteral("B.tdl")), {QStringLiteral("InB")});
    m_life->OpenProjectFile(a);
    m_life->OpenProjectFile(b);
    QCOMPARE(workingCategories(), QStringLiteral("General,InB"));
    m_life->OpenProjectFile(a);
    QCOMPARE(m_life->recentList(), (QStringList{a, b}));
    QCOMPARE(workingCategories(), QStringLiteral("General,InA"));
    QCOMPARE(m_hooks->categories, (QStringList{QStringLiteral("General"), QStringLiteral("InA")}));
    QVERIFY(m_prompter->shown.isEmpty());
    QVERIFY(!m_life->isModified());
}

void TestLifecycle::openRejectsFilesThatAreNotProjects_data()
{
    QTest::addColumn<QByteArray>("content"); // "DIR" makes a folder, "OTHERDB" another program's database
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("random bytes") << QByteArray::fromHex("00ff13a7c4e25b9910") .repeated(200);
    QTest::newRow("text") << QByteArray("these are my notes\r\nnot a project\r\n");
    QTest::newRow("truncated sqlite") << QByteArray("TRUNC");
    QTest::newRow("another program's database") << QByteArray("OTHERDB");
    QTest::newRow("folder named x.tdl") << QByteArray("DIR");
}

void TestLifecycle::openRejectsFilesThatAreNotProjects()
{
    QFETCH(QByteArray, content);
    const QString good = ProjectFixture::create(m_dir->filePath(QStringLiteral("good.tdl")), {QStringLiteral("Kept")});
    m_life->OpenProjectFile(good);
    m_db->execute(QStringLiteral("INSERT INTO categories (Category) VALUES ('Unsaved')"));
    m_life->SetDirty();

    const QString bad = m_dir->filePath(QStringLiteral("x.tdl"));
    if (content == "DIR") {
        QVERIFY(QDir().mkpath(bad));
    } else if (content == "OTHERDB") {
        Database other;
        other.open(bad);
        other.execute(QStringLiteral("CREATE TABLE notes (id INTEGER PRIMARY KEY, body TEXT)"));
    } else if (content == "TRUNC") {
        const QString big = ProjectFixture::create(m_dir->filePath(QStringLiteral("big.tdl")), {},
                                                   QList<ProjectFixture::Site>(400, {QStringLiteral("s"), 1}));
        QFile f(bad);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(fileBytes(big).left(6000));
    } else {
        QFile f(bad);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(content);
    }
    // the bad file came from the recent list
    m_life->UpdateMRU(bad);
    m_life->UpdateMRU(good);
    m_prompter->clear();
    m_hooks->calls.clear();

    m_life->OpenProjectFile(bad);
    QCOMPARE(m_prompter->shown.size(), 1);
    QVERIFY2(m_prompter->shown.first().startsWith(QStringLiteral("Error Opening File - please try again.\r\n")),
             qPrintable(m_prompter->shown.first()));
    QVERIFY(m_prompter->shown.first().size() > 40); // the reason is given
    QCOMPARE(m_life->recentList(), QStringList{good});
    QCOMPARE(m_life->projectFileName(), good);
    QVERIFY(m_life->isModified());
    QCOMPARE(workingCategories(), QStringLiteral("General,Kept,Unsaved"));
    QVERIFY(m_hooks->calls.isEmpty());
    QVERIFY(!QFileInfo::exists(folder() + QStringLiteral("staging.db")));
    m_db->execute(QStringLiteral("INSERT INTO categories (Category) VALUES ('StillWorks')"));
}

void TestLifecycle::openUpgradesOlderProjectWithoutMarkingIt()
{
    const QString old = m_dir->filePath(QStringLiteral("old.tdl"));
    {
        Database db;
        db.open(old);
        db.execute(QStringLiteral("CREATE TABLE categories ([ID] INTEGER PRIMARY KEY,[Category] VARCHAR (255))"));
        db.execute(QStringLiteral("INSERT INTO categories VALUES (1, 'Old')"));
        db.execute(QStringLiteral("CREATE TABLE sites ([ID] INTEGER PRIMARY KEY,[Category] INTEGER, site_name VARCHAR (255), "
                                  "site_url VARCHAR(1024), site_post VARCHAR(5000), is_post TINYINT(1))"));
        db.execute(QStringLiteral("INSERT INTO sites VALUES (1, 1, 's', 'http://h/?q=[SEARCH]', '', 0)"));
    }
    const QByteArray before = fileBytes(old);
    m_life->OpenProjectFile(old);
    QVERIFY(m_prompter->shown.isEmpty());
    QVERIFY(!m_life->isModified());
    QCOMPARE(fileBytes(old), before); // the upgrade reaches the file only with a save
    QCOMPARE(m_db->query(QStringLiteral("SELECT site_url FROM sites")).text(0, 0), QStringLiteral("http://h/?q=[ZPQ-SEARCH-TERM]"));
    m_life->dxSaveProjectClick();
    Database saved;
    saved.open(old);
    QVERIFY(saved.tableExists(QStringLiteral("admin")));
    QVERIFY(saved.tableExists(QStringLiteral("keywords")));
}

void TestLifecycle::openKeepsTheSharedConnectionValid()
{
    const QString a = ProjectFixture::create(m_dir->filePath(QStringLiteral("a.tdl")), {QStringLiteral("A")});
    m_life->OpenProjectFile(a);
    // Writes through the shared connection land in the working copy file, not in a moved inode.
    m_db->execute(QStringLiteral("INSERT INTO categories (Category) VALUES (?1)"), {QStringLiteral("ID")});
    QCOMPARE(workingCategories(), QStringLiteral("General,A,ID"));
}

void TestLifecycle::failedSaveLeavesTargetAndModifiedState_data()
{
    QTest::addColumn<QString>("target");
    QTest::newRow("missing folder") << QStringLiteral("no/such/folder/p.tdl");
    QTest::newRow("target is a folder") << QStringLiteral("afolder.tdl");
}

void TestLifecycle::failedSaveLeavesTargetAndModifiedState()
{
    QFETCH(QString, target);
    QDir(m_dir->path()).mkpath(QStringLiteral("afolder.tdl"));
    const QString path = m_dir->filePath(target);
    m_life->SetDirty();
    m_life->SaveProjectFile(path);
    QCOMPARE(m_prompter->shown.size(), 1);
    QVERIFY(m_prompter->shown.first().startsWith(QStringLiteral("Error Saving File - please try again.\r\n")));
    QVERIFY(m_life->isModified());
    QCOMPARE(m_life->projectFileName(), QString());
    QVERIFY(m_life->recentList().isEmpty());
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden).filter(QStringLiteral(".tdl.")), QStringList{});
}

void TestLifecycle::recentListIsReadWithAnyLineEnds()
{
    QFile f(folder() + QStringLiteral("mru.txt"));
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("/a.tdl\r/b.tdl\n\r\n/c.tdl");
    f.close();
    m_life->RefreshMRU(true);
    QCOMPARE(m_life->recentList(), (QStringList{"/a.tdl", "/b.tdl", "", "/c.tdl"}));
}

QTEST_GUILESS_MAIN(TestLifecycle)
#include "tst_lifecycle.moc"
