#include "store/database.h"
#include "store/databaseerror.h"
#include "store/schema.h"

#include <QTemporaryDir>
#include <QtTest>

class TestSchema : public QObject
{
    Q_OBJECT

private slots:
    void freshProjectHasExactlyTheDesignedSchemaAndSeeds();
    void upgrade_data();
    void upgrade();
    void upgradeStopsAtAFailingStatement();
    void userValuesAreBoundNotSpliced();
    void escapeString_data();
    void escapeString();

private:
    QTemporaryDir m_dir;
};

void TestSchema::freshProjectHasExactlyTheDesignedSchemaAndSeeds()
{
    Database db;
    db.open(m_dir.filePath(QStringLiteral("fresh.db")));
    Schema::createFreshTables(db);
    Schema::createFreshTables(db); // a second run creates nothing more

    ResultTable master = db.query(QStringLiteral("SELECT sql FROM sqlite_master ORDER BY rowid"));
    QStringList sql;
    for (; !master.eof(); master.next())
        sql << master.text(QStringLiteral("sql"));
    auto bare = [](const char *s) { QString t = QString::fromLatin1(s); return t.endsWith(';') ? t.chopped(1) : t; };
    const QStringList expected{bare(Schema::kCreateAdmin),        bare(Schema::kCreateCategories),
                               bare(Schema::kIndexCategories),    bare(Schema::kCreateSites),
                               bare(Schema::kIndexSites),         bare(Schema::kCreateKeywords),
                               bare(Schema::kIndexKeywordsKeyword), bare(Schema::kIndexKeywordsFormOrder)};
    QCOMPARE(sql, expected);
    QVERIFY(sql.at(3).contains(QStringLiteral("is_post TINYINT(1), login_site_url VARCHAR(1024)")));

    auto rows = [&db](const QString &q) {
        ResultTable t = db.query(q);
        QStringList out;
        for (int r = 0; r < t.rowCount(); ++r) {
            QStringList cells;
            for (int c = 0; c < t.columnCount(); ++c)
                cells << t.text(r, c);
            out << cells.join(QLatin1Char('|'));
        }
        return out;
    };
    QCOMPARE(rows(QStringLiteral("SELECT * FROM admin")), QStringList{QStringLiteral("1|1")});
    QCOMPARE(rows(QStringLiteral("SELECT * FROM categories")), QStringList{QStringLiteral("1|General")});
    QCOMPARE(rows(QStringLiteral("SELECT * FROM sites")), QStringList{});
    QCOMPARE(rows(QStringLiteral("SELECT * FROM keywords")),
             QStringList{QStringLiteral("1|Search Term|ZPQ-SEARCH-TERM|0|100")});
    QCOMPARE(db.query(QStringLiteral("SELECT typeof(version) AS t FROM admin")).text(0, 0), QStringLiteral("integer"));
}

void TestSchema::upgrade_data()
{
    QTest::addColumn<QStringList>("setup");
    QTest::addColumn<QStringList>("expectedKeywords");
    QTest::addColumn<QString>("expectedUrl");
    QTest::addColumn<QString>("expectedPostType");
    QTest::addColumn<bool>("expectLoginColumns");

    const QString oldSites = QStringLiteral(
        "CREATE TABLE sites ([ID] INTEGER PRIMARY KEY,[Category] INTEGER, site_name VARCHAR (255), "
        "site_url VARCHAR(1024), site_post VARCHAR(5000), is_post TINYINT(1))");
    const QString oldSite = QStringLiteral(
        "INSERT INTO sites VALUES (1, 1, 'a', 'http://x/?q=[SEARCH]&r=[SEARCH]&s=[search]', NULL, 0)");

    QTest::newRow("no admin, no keywords: seed field added")
        << QStringList{oldSites, oldSite} << QStringList{QStringLiteral("Search Term|ZPQ-SEARCH-TERM")}
        << QStringLiteral("http://x/?q=[ZPQ-SEARCH-TERM]&r=[ZPQ-SEARCH-TERM]&s=[search]") << QStringLiteral("null")
        << true;
    QTest::newRow("no admin, own keywords kept, no seed row")
        << QStringList{oldSites, oldSite,
                       QStringLiteral("CREATE TABLE keywords ([ID] INTEGER PRIMARY KEY,[Keyword] VARCHAR (255), "
                                      "[Search_Text] VARCHAR(255), [Type] INTEGER DEFAULT 0, [Form_Order] INTEGER )"),
                       QStringLiteral("INSERT INTO keywords VALUES (5, 'Author', 'ZZAUTHOR', 0, 1)")}
        << QStringList{QStringLiteral("Author|ZZAUTHOR")}
        << QStringLiteral("http://x/?q=[ZPQ-SEARCH-TERM]&r=[ZPQ-SEARCH-TERM]&s=[search]") << QStringLiteral("null")
        << true;
    QTest::newRow("empty admin table: nothing changes")
        << QStringList{oldSites, oldSite, QStringLiteral("CREATE TABLE admin ([ID] INTEGER PRIMARY KEY,[version] INTEGER)")}
        << QStringList{} << QStringLiteral("http://x/?q=[SEARCH]&r=[SEARCH]&s=[search]") << QStringLiteral("null")
        << false;
    QTest::newRow("admin named in other letter case counts")
        << QStringList{oldSites, oldSite, QStringLiteral("CREATE TABLE ADMIN (ID INTEGER, version INTEGER)"),
                       QStringLiteral("INSERT INTO ADMIN VALUES (1, 7)")}
        << QStringList{} << QStringLiteral("http://x/?q=[SEARCH]&r=[SEARCH]&s=[search]") << QStringLiteral("null")
        << false;
}

void TestSchema::upgrade()
{
    QFETCH(QStringList, setup);
    QFETCH(QStringList, expectedKeywords);
    QFETCH(QString, expectedUrl);
    QFETCH(QString, expectedPostType);
    QFETCH(bool, expectLoginColumns);

    const QString path = m_dir.filePath(QStringLiteral("up_%1.db").arg(QTest::currentDataTag()).replace(' ', '_'));
    Database db;
    db.open(path);
    for (const QString &s : setup)
        db.execute(s);
    Schema::upgradeProject(db);

    QVERIFY(db.tableExists(QStringLiteral("admin")));
    if (db.tableExists(QStringLiteral("keywords"))) {
        ResultTable k = db.query(QStringLiteral("SELECT Keyword || '|' || Search_Text AS k FROM keywords"));
        QStringList got;
        for (; !k.eof(); k.next())
            got << k.text(QStringLiteral("k"));
        QCOMPARE(got, expectedKeywords);
    } else {
        QVERIFY(expectedKeywords.isEmpty());
    }
    ResultTable site = db.query(QStringLiteral("SELECT site_url, typeof(site_post) AS pt FROM sites"));
    QCOMPARE(site.text(QStringLiteral("site_url")), expectedUrl);
    QCOMPARE(site.text(QStringLiteral("pt")), expectedPostType);
    const bool hasLogin = db.query(QStringLiteral("SELECT * FROM sites")).columns().contains(QStringLiteral("login_password"));
    QCOMPARE(hasLogin, expectLoginColumns);
}

void TestSchema::upgradeStopsAtAFailingStatement()
{
    Database db;
    db.open(m_dir.filePath(QStringLiteral("fail.db")));
    // Login columns already there: the first ALTER fails and the sequence stops.
    db.execute(QString::fromLatin1(Schema::kCreateSites));
    db.execute(QStringLiteral("INSERT INTO sites (site_url) VALUES ('[SEARCH]')"));
    QVERIFY_THROWS_EXCEPTION(DatabaseError, Schema::upgradeProject(db));
    QVERIFY(db.tableExists(QStringLiteral("admin")));
    QVERIFY(db.tableExists(QStringLiteral("keywords")));
    QCOMPARE(db.query(QStringLiteral("SELECT site_url FROM sites")).text(0, 0), QStringLiteral("[SEARCH]"));
}

void TestSchema::userValuesAreBoundNotSpliced()
{
    Database db;
    db.open(m_dir.filePath(QStringLiteral("bind.db")));
    Schema::createFreshTables(db);
    for (const QString &name : {QStringLiteral("ID"), QStringLiteral("Category"), QStringLiteral("a \"quoted\" name"),
                                QStringLiteral("O'Brien"), QStringLiteral("<b>&amp;</b>")}) {
        db.execute(QStringLiteral("UPDATE categories SET Category = ?1 WHERE ID = 1"), {name});
        QCOMPARE(db.query(QStringLiteral("SELECT Category FROM categories WHERE ID = 1")).text(0, 0), name);
    }
    QVERIFY_THROWS_EXCEPTION(DatabaseError, db.query(QStringLiteral("SELECT nosuchcolumn FROM categories")));
    QVERIFY_THROWS_EXCEPTION(DatabaseError, db.query(QStringLiteral("SELECT ID FROM categories")).text(QStringLiteral("nope")));
}

void TestSchema::escapeString_data()
{
    QTest::addColumn<QString>("in");
    QTest::addColumn<QString>("out");
    QTest::newRow("two quotes") << QStringLiteral("a\"b\"c") << QStringLiteral("a\"\"b\"\"c");
    QTest::newRow("empty") << QString() << QString();
    QTest::newRow("nothing to escape") << QStringLiteral("it's 50% \\ done\t") << QStringLiteral("it's 50% \\ done\t");
    QTest::newRow("doubled stays doubled once") << QStringLiteral("\"\"") << QStringLiteral("\"\"\"\"");
}

void TestSchema::escapeString()
{
    QFETCH(QString, in);
    QFETCH(QString, out);
    QCOMPARE(EscapeString(in), out);
}

QTEST_GUILESS_MAIN(TestSchema)
#include "tst_schema.moc"
