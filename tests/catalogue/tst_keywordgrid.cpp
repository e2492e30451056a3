#include "catalogue/keywordgrid.h"
#include "scriptedprompter.h"
#include "store/database.h"
#include "store/schema.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QSqlDatabase>
#include <QSqlTableModel>
#include <QTableView>
#include <QToolButton>
#include <QtTest>

namespace {

const QString kConnection = QStringLiteral("test-keywords");

// A working copy with the seed field and the grid over it, shown.
struct Fixture
{
    QTemporaryDir dir;
    QString path;
    Database db;
    ScriptedPrompter prompter;
    KeywordGrid grid { prompter, kConnection };
    std::unique_ptr<QSignalSpy> posted;

    explicit Fixture(const QList<QVariantList> &extraRows = {})
    {
        path = dir.filePath(QStringLiteral("temp1.db"));
        db.open(path);
        Schema::createFreshTables(db);
        for (const QVariantList &row : extraRows)
            db.execute(
                QStringLiteral(
                    "INSERT INTO keywords(Keyword, Search_Text, Type, Form_Order) VALUES (?1,?2,?3,?4)"),
                row);
        QString error;
        if (!grid.open(path, &error))
            qFatal("grid did not open: %s", qPrintable(error));
        grid.resize(800, 300);
        grid.show();
        posted = std::make_unique<QSignalSpy>(&grid, &KeywordGrid::rowPosted);
    }

    QSqlTableModel *model() const { return qobject_cast<QSqlTableModel *>(grid.view()->model()); }
    int column(const char *name) const { return model()->fieldIndex(QLatin1String(name)); }
    QModelIndex cell(int row, const char *name) const { return model()->index(row, column(name)); }
    QToolButton *button(const char *name) const { return grid.findChild<QToolButton *>(QLatin1String(name)); }
    QStringList stored(const QString &column)
    {
        QStringList values;
        ResultTable table = db.query(QStringLiteral("SELECT %1 FROM keywords ORDER BY ID").arg(column));
        for (int row = 0; row < table.rowCount(); ++row)
            values << table.text(row, 0);
        return values;
    }
    // The cell editor on show; closed ones linger until deleted.
    QLineEdit *openEditor() const
    {
        for (QLineEdit *editor : grid.view()->viewport()->findChildren<QLineEdit *>()) {
            if (editor->isVisible())
                return editor;
        }
        return nullptr;
    }
    // Types into a cell through its editor, as the user does, and leaves the editor open.
    void type(int row, const char *name, const QString &text)
    {
        if (grid.view()->currentIndex() != cell(row, name) || !openEditor()) {
            grid.view()->setCurrentIndex(cell(row, name));
            grid.view()->edit(cell(row, name));
        }
        QLineEdit *editor = openEditor();
        QVERIFY(editor);
        editor->selectAll();
        QTest::keyClicks(editor, text);
    }
};

} // namespace

class TestKeywordGrid final : public QObject
{
    Q_OBJECT

private slots:
    void showsFieldsInFormOrder();
    void postsWhenTheRowIsLeft();
    void insertsRows();
    void deletesAfterAsking();
    void cancelDropsEdits();
    void failedPostKeepsTheRow();
    void holdsNoLockAndClosesItsConnection();
    void refusesWhatIsNoKeywordTable();
};

void TestKeywordGrid::showsFieldsInFormOrder()
{
    Fixture f({ { "Zeta", "ZPQ-Z", 0, 10 }, { "Alpha", "ZPQ-A", 0, 10 }, { "City", "ZPQ-CITY", 0, 5 } });
    QStringList keywords;
    for (int row = 0; row < f.model()->rowCount(); ++row)
        keywords << f.model()->data(f.cell(row, "Keyword")).toString();
    QCOMPARE(keywords, (QStringList { "City", "Alpha", "Zeta", "Search Term" }));

    QTableView *view = f.grid.view();
    QVERIFY(view->isColumnHidden(f.column("ID")));
    QVERIFY(view->isColumnHidden(f.column("Type")));
    QVERIFY(!view->isColumnHidden(f.column("Keyword")));
    QVERIFY(!view->isColumnHidden(f.column("Search_Text")));
    QCOMPARE(f.model()->headerData(f.column("Form_Order"), Qt::Horizontal).toString(),
        QStringLiteral("Form Order"));
    QCOMPARE(f.model()->data(f.cell(0, "Form_Order"), Qt::TextAlignmentRole).toInt(), int(Qt::AlignCenter));
    QVERIFY(!f.button("nbFirst")->isEnabled());
    QVERIFY(f.button("nbLast")->isEnabled());
    QVERIFY(!f.button("nbPost")->isEnabled());
}

void TestKeywordGrid::postsWhenTheRowIsLeft()
{
    Fixture f({ { "City", "ZPQ-CITY", 0, 200 } });
    f.type(0, "Search_Text", QStringLiteral("ZPQ-TERM-2"));
    QVERIFY(f.button("nbPost")->isEnabled());
    QCOMPARE(f.stored("Search_Text"), (QStringList { "ZPQ-SEARCH-TERM", "ZPQ-CITY" }));

    f.button("nbNext")->click();
    QCOMPARE(f.stored("Search_Text"), (QStringList { "ZPQ-TERM-2", "ZPQ-CITY" }));
    QCOMPARE(f.posted->size(), 1);
    QCOMPARE(f.grid.view()->currentIndex().row(), 1);
    QVERIFY(!f.button("nbPost")->isEnabled());

    // Enter in a cell posts too.
    f.type(1, "Keyword", QStringLiteral("Town"));
    QTest::keyClick(f.openEditor(), Qt::Key_Return);
    QTRY_COMPARE(f.stored("Keyword"), (QStringList { "Search Term", "Town" }));
    QCOMPARE(f.posted->size(), 2);
    QVERIFY(f.prompter.shown.isEmpty());
}

void TestKeywordGrid::insertsRows()
{
    Fixture f;
    // A new row left with nothing typed in goes away.
    f.button("nbInsert")->click();
    QCOMPARE(f.model()->rowCount(), 2);
    f.button("nbLast")->click();
    QTRY_COMPARE(f.model()->rowCount(), 1);
    QCOMPARE(f.stored("ID").size(), 1);

    f.button("nbInsert")->click();
    const int row = f.grid.view()->currentIndex().row();
    f.type(row, "Keyword", QStringLiteral("Colour"));
    f.type(row, "Search_Text", QStringLiteral("ZPQ-COLOUR"));
    f.type(row, "Form_Order", QStringLiteral("50"));
    f.button("nbPost")->click();
    QCOMPARE(f.stored("Keyword"), (QStringList { "Search Term", "Colour" }));
    QCOMPARE(f.stored("Form_Order"), (QStringList { "100", "50" }));
    QCOMPARE(f.stored("Type"), (QStringList { "0", "0" }));
    QCOMPARE(f.posted->size(), 1);
    QVERIFY(f.prompter.shown.isEmpty());
}

void TestKeywordGrid::deletesAfterAsking()
{
    Fixture f({ { "City", "ZPQ-CITY", 0, 200 } });
    f.grid.view()->setCurrentIndex(f.cell(1, "Keyword"));
    f.prompter.answers = { false, true };
    f.button("nbDelete")->click();
    QCOMPARE(f.stored("Keyword"), (QStringList { "Search Term", "City" }));
    f.button("nbDelete")->click();
    QCOMPARE(f.prompter.shown, QStringList(2, QStringLiteral("Delete record?")));
    QCOMPARE(f.stored("Keyword"), QStringList { "Search Term" });
    QCOMPARE(f.model()->rowCount(), 1);
    QCOMPARE(f.grid.view()->currentIndex().row(), 0);
    // A deletion is not a posted row.
    QCOMPARE(f.posted->size(), 0);
}

void TestKeywordGrid::cancelDropsEdits()
{
    Fixture f;
    f.type(0, "Search_Text", QStringLiteral("ZPQ-OTHER"));
    f.button("nbCancel")->click();
    QCOMPARE(f.model()->data(f.cell(0, "Search_Text")).toString(), QStringLiteral("ZPQ-SEARCH-TERM"));
    QVERIFY(f.grid.postPending());
    QCOMPARE(f.stored("Search_Text"), QStringList { "ZPQ-SEARCH-TERM" });
    QCOMPARE(f.posted->size(), 0);
}

void TestKeywordGrid::failedPostKeepsTheRow()
{
    Fixture f({ { "City", "ZPQ-CITY", 0, 200 } });
    f.db.execute(QStringLiteral(
        "CREATE TRIGGER refuse BEFORE UPDATE ON keywords BEGIN SELECT RAISE(ABORT, 'refused by test'); END"));
    f.type(0, "Search_Text", QStringLiteral("ZPQ-X"));
    f.button("nbNext")->click();
    QCOMPARE(f.prompter.kinds, QStringList { QStringLiteral("error") });
    QVERIFY(f.prompter.shown.first().contains(QStringLiteral("refused by test")));
    QTRY_COMPARE(f.grid.view()->currentIndex().row(), 0);
    QCOMPARE(f.model()->data(f.cell(0, "Search_Text")).toString(), QStringLiteral("ZPQ-X"));
    QVERIFY(!f.grid.postPending());
    QCOMPARE(f.posted->size(), 0);
}

void TestKeywordGrid::holdsNoLockAndClosesItsConnection()
{
    QList<QVariantList> many;
    for (int i = 0; i < 600; ++i)
        many.append({ QStringLiteral("Field %1").arg(i), QStringLiteral("ZPQ-%1").arg(i), 0, i });
    Fixture f(many);
    QCOMPARE(f.model()->rowCount(), 601);
    // An unfinished read of the grid would keep this write waiting and then fail.
    f.db.execute(QStringLiteral("BEGIN EXCLUSIVE"));
    f.db.execute(QStringLiteral("COMMIT"));

    QVERIFY(QSqlDatabase::contains(kConnection));
    f.grid.close();
    QVERIFY(!QSqlDatabase::contains(kConnection));
    QVERIFY(!f.grid.isOpen());
    QVERIFY(!f.button("nbInsert")->isEnabled());
}

void TestKeywordGrid::refusesWhatIsNoKeywordTable()
{
    QTemporaryDir dir;
    ScriptedPrompter prompter;
    KeywordGrid grid(prompter, kConnection);
    QString error;
    const QString missing = dir.filePath(QStringLiteral("missing.db"));
    QVERIFY(!grid.open(missing, &error));
    QVERIFY(!QFileInfo::exists(missing));
    QVERIFY(!error.isEmpty());

    const QString other = dir.filePath(QStringLiteral("other.db"));
    {
        Database db;
        db.open(other);
        db.execute(QStringLiteral("CREATE TABLE sites (ID INTEGER PRIMARY KEY)"));
    }
    QVERIFY(!grid.open(other, &error));
    QVERIFY(!grid.isOpen());
    QVERIFY(!QSqlDatabase::contains(kConnection));
}

QTEST_MAIN(TestKeywordGrid)
#include "tst_keywordgrid.moc"
