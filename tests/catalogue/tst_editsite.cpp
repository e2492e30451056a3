#include "catalogue/editsite.h"
#include "catalogue/siteediting.h"
#include "editingharness.h"
#include "selection/siteselection.h"
#include "store/database.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

// The "Edit Site" dialog with its command, and "Delete Site".
class TestEditSite : public QObject
{
    Q_OBJECT

private slots:
    void fillsBoxesFromTheSelectedSite();
    void changeStateAndCloseQuestion_data();
    void changeStateAndCloseQuestion();
    void saveWritesEveryColumnTrimmed_data();
    void saveWritesEveryColumnTrimmed();
    void typedLimitsDoNotCutStoredValues();
    void refusedSaveKeepsTheDialogAndEdits();
    void deleteSite_data();
    void deleteSite();
    void deletingTheLastSiteRecountsForTheGuidance();
};

namespace {

const QString kAbandon = QStringLiteral("Are you sure you want to abandon changes?");

QLineEdit *box(QDialog &dialog, const char *name)
{
    return dialog.findChild<QLineEdit *>(QString::fromLatin1(name));
}

QComboBox *categoryPicker(QDialog &dialog)
{
    return dialog.findChild<QComboBox *>(QStringLiteral("lstCategories"));
}

// Replaces the box's text as a paste does: the box reports it as the user's edit.
void typeInto(QLineEdit *edit, const QString &text)
{
    edit->selectAll();
    edit->insert(text);
}

QString siteColumn(EditingHarness &h, const QString &column, const QString &id)
{
    return h.value(QStringLiteral("SELECT %1 FROM sites WHERE ID = ?1").arg(column), { id.toLongLong() });
}

} // namespace

void TestEditSite::fillsBoxesFromTheSelectedSite()
{
    EditingHarness h({ QStringLiteral("Books"), QStringLiteral("Auctions") },
        { { QStringLiteral("Alpha"), 3, QStringLiteral("http://a.test/?q=[ZPQ-SEARCH-TERM]"),
              QStringLiteral("q=[ZPQ-SEARCH-TERM]&x=1") },
            { QStringLiteral("beta"), 2 } });
    QVERIFY(h.prompter.shown.isEmpty());
    h.db().execute(QStringLiteral("UPDATE sites SET login_site_url = ?1, login_site_post = ?2 WHERE ID = 1"),
        { QStringLiteral("http://a.test/login"), QStringLiteral("user=me&pass=pw") });
    h.selection().showFilteredRecords();

    int shown = 0;
    h.editing().setShowModal([&](QDialog &) { ++shown; });
    h.editing().cxEditSiteClick(); // no site selected
    QCOMPARE(shown, 0);

    h.selectSite(QStringLiteral("Alpha"));
    h.editing().setShowModal([&](QDialog &dialog) {
        ++shown;
        QCOMPARE(&dialog, static_cast<QDialog *>(&h.editSite()));
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Edit Site"));
        QCOMPARE(h.editSite().tag(), 0);
        QCOMPARE(box(dialog, "edName")->text(), QStringLiteral("Alpha"));
        QComboBox *picker = categoryPicker(dialog);
        QStringList items;
        for (int i = 0; i < picker->count(); ++i)
            items << picker->itemText(i);
        QCOMPARE(items, (QStringList { "Auctions", "Books", "General" }));
        QCOMPARE(picker->currentText(), QStringLiteral("Auctions"));
        QCOMPARE(box(dialog, "txtURL")->text(), QStringLiteral("http://a.test/?q=[ZPQ-SEARCH-TERM]"));
        QCOMPARE(box(dialog, "txtPosts")->text(), QStringLiteral("q=[ZPQ-SEARCH-TERM]&x=1"));
        QCOMPARE(box(dialog, "txtLoginURL")->text(), QStringLiteral("http://a.test/login"));
        QCOMPARE(box(dialog, "txtLoginPost")->text(), QStringLiteral("user=me&pass=pw"));
        dialog.show();
        h.editSite().bCancelClick();
        QVERIFY(!dialog.isVisible());
    });
    h.editing().cxEditSiteClick();
    QCOMPARE(shown, 1);
    QVERIFY(h.prompter.shown.isEmpty());
    QCOMPARE(h.dirty, 0);
    QCOMPARE(h.selection().selectedSite(), h.siteIndex(QStringLiteral("Alpha"))); // no refresh

    // Reused for the next site: every box refilled, the state back to unchanged.
    h.selectSite(QStringLiteral("beta"));
    h.editing().setShowModal([&](QDialog &dialog) {
        QCOMPARE(h.editSite().tag(), 0);
        QCOMPARE(box(dialog, "edName")->text(), QStringLiteral("beta"));
        QCOMPARE(categoryPicker(dialog)->currentText(), QStringLiteral("Books"));
        QCOMPARE(box(dialog, "txtPosts")->text(), QString());
        QCOMPARE(box(dialog, "txtLoginURL")->text(), QString());
    });
    h.editing().cxEditSiteClick();
}

void TestEditSite::changeStateAndCloseQuestion_data()
{
    QTest::addColumn<QString>("changed"); // the control the user changes; empty for none
    QTest::addColumn<QString>("closeBy");
    QTest::newRow("untouched, Cancel") << QString() << QStringLiteral("cancel");
    QTest::newRow("untouched, close box") << QString() << QStringLiteral("close box");
    QTest::newRow("untouched, Esc") << QString() << QStringLiteral("escape");
    QTest::newRow("name typed, Cancel") << QStringLiteral("edName") << QStringLiteral("cancel");
    QTest::newRow("URL typed, Esc") << QStringLiteral("txtURL") << QStringLiteral("escape");
    QTest::newRow("post typed, close box") << QStringLiteral("txtPosts") << QStringLiteral("close box");
    QTest::newRow("login URL typed, Cancel") << QStringLiteral("txtLoginURL") << QStringLiteral("cancel");
    QTest::newRow("login post typed, Esc") << QStringLiteral("txtLoginPost") << QStringLiteral("escape");
    QTest::newRow("category changed, Cancel") << QStringLiteral("lstCategories") << QStringLiteral("cancel");
}

void TestEditSite::changeStateAndCloseQuestion()
{
    QFETCH(QString, changed);
    QFETCH(QString, closeBy);
    EditingHarness h({ QStringLiteral("Books") }, { { QStringLiteral("Alpha"), 1 } });
    h.selectSite(QStringLiteral("Alpha"));
    TfrmEditSite &edit = h.editSite();

    h.editing().setShowModal([&](QDialog &dialog) {
        dialog.show();
        const auto close = [&] {
            if (closeBy == QLatin1String("cancel"))
                dialog.findChild<QPushButton *>(QStringLiteral("bCancel"))->click();
            else if (closeBy == QLatin1String("escape"))
                QTest::keyClick(box(dialog, "edName"), Qt::Key_Escape);
            else
                dialog.close();
        };
        if (changed == QLatin1String("lstCategories"))
            QTest::keyClick(categoryPicker(dialog), Qt::Key_Up); // from General to Books
        else if (!changed.isEmpty())
            QTest::keyClicks(dialog.findChild<QLineEdit *>(changed), QStringLiteral("x"));
        QCOMPARE(edit.tag(), changed.isEmpty() ? 0 : 1);

        if (changed.isEmpty()) {
            close();
            QVERIFY(h.prompter.shown.isEmpty());
            QVERIFY(!dialog.isVisible());
            return;
        }
        h.prompter.answers = { false, true };
        close();
        QCOMPARE(h.prompter.shown, QStringList { kAbandon });
        QCOMPARE(h.prompter.kinds, QStringList { "question" });
        QVERIFY(dialog.isVisible()); // No keeps it open, with the edit
        QCOMPARE(edit.tag(), 1);
        close();
        QCOMPARE(h.prompter.shown, (QStringList { kAbandon, kAbandon }));
        QVERIFY(!dialog.isVisible());
    });
    h.editing().cxEditSiteClick();
    QVERIFY(h.prompter.answers.isEmpty());
    QCOMPARE(h.dirty, 0);
    QCOMPARE(siteColumn(h, QStringLiteral("site_name"), QStringLiteral("1")), QStringLiteral("Alpha"));
    QCOMPARE(siteColumn(h, QStringLiteral("Category"), QStringLiteral("1")), QStringLiteral("1"));
    QCOMPARE(siteColumn(h, QStringLiteral("site_url"), QStringLiteral("1")),
        QStringLiteral("http://127.0.0.1/search?q=[ZPQ-SEARCH-TERM]"));
}

void TestEditSite::saveWritesEveryColumnTrimmed_data()
{
    QTest::addColumn<QStringList>("typed"); // name, URL, post, login URL, login post
    QTest::addColumn<QStringList>("stored"); // the same columns as stored
    QTest::addColumn<QString>("isPost");
    QTest::addColumn<QString>("loginIsPost");

    QTest::newRow("blanks and control characters around, inner ones kept")
        << QStringList { " \tNew  name \r\n", "  http://b.test/?q=[ZPQ-SEARCH-TERM]\t",
               " a=1&q=[ZPQ-SEARCH-TERM] ", "\thttp://b.test/login ", " user=u&pass=p\n" }
        << QStringList { "New  name", "http://b.test/?q=[ZPQ-SEARCH-TERM]", "a=1&q=[ZPQ-SEARCH-TERM]",
               "http://b.test/login", "user=u&pass=p" }
        << "1"
        << "1";
    QTest::newRow("bodies of blanks only are empty, so GET")
        << QStringList { "Site", "http://b.test/?q=[ZPQ-SEARCH-TERM]", "   \t ", "http://b.test/login", "  " }
        << QStringList { "Site", "http://b.test/?q=[ZPQ-SEARCH-TERM]", "", "http://b.test/login", "" } << "0"
        << "0";
    QTest::newRow("everything empty is saved as empty")
        << QStringList { "", "", "", "", "" } << QStringList { "", "", "", "", "" } << "0"
        << "0";
    QTest::newRow("quotes, markup and column names stored as typed")
        << QStringList { "Say \"hi\" & 'bye' <b>", "site_url", "is_post", "ID", "Category" }
        << QStringList { "Say \"hi\" & 'bye' <b>", "site_url", "is_post", "ID", "Category" } << "1"
        << "1";
}

void TestEditSite::saveWritesEveryColumnTrimmed()
{
    QFETCH(QStringList, typed);
    QFETCH(QStringList, stored);
    QFETCH(QString, isPost);
    QFETCH(QString, loginIsPost);
    EditingHarness h({ QStringLiteral("Books") },
        { { QStringLiteral("Alpha"), 1, QStringLiteral("http://a.test/?q=[ZPQ-SEARCH-TERM]"),
              QStringLiteral("q=[ZPQ-SEARCH-TERM]") },
            { QStringLiteral("Other"), 1 } });
    h.db().execute(
        QStringLiteral("UPDATE sites SET login_site_url = 'http://a.test/in', login_site_post = 'p=1', "
                       "login_is_post = 1, login_username = 'keep', login_password = 'secret'"));
    h.selection().showFilteredRecords();
    h.userTicksSite(QStringLiteral("Other"), false);
    h.selectSite(QStringLiteral("Alpha"));

    h.editing().setShowModal([&](QDialog &dialog) {
        dialog.show();
        const char *const names[] = { "edName", "txtURL", "txtPosts", "txtLoginURL", "txtLoginPost" };
        for (int i = 0; i < 5; ++i)
            typeInto(box(dialog, names[i]), typed.at(i));
        QCOMPARE(h.editSite().tag(), 1);
        categoryPicker(dialog)->setCurrentIndex(categoryPicker(dialog)->findText(QStringLiteral("Books")));
        QTest::keyClick(box(dialog, "txtLoginPost"), Qt::Key_Return); // Enter is Save
        QVERIFY(h.prompter.shown.isEmpty());
        QCOMPARE(h.editSite().tag(), 2);
        QVERIFY(!dialog.isVisible());
    });
    h.editing().cxEditSiteClick();

    const ResultTable row = h.db().query(QStringLiteral("SELECT * FROM sites WHERE ID = 1"));
    const QStringList columns { "site_name", "site_url", "site_post", "login_site_url", "login_site_post" };
    for (int i = 0; i < columns.size(); ++i)
        QCOMPARE(row.text(columns.at(i)), stored.at(i));
    QCOMPARE(row.text(QStringLiteral("is_post")), isPost);
    QCOMPARE(row.text(QStringLiteral("login_is_post")), loginIsPost);
    QCOMPARE(row.text(QStringLiteral("Category")), QStringLiteral("2"));
    QCOMPARE(row.text(QStringLiteral("login_username")), QStringLiteral("keep"));
    QCOMPARE(row.text(QStringLiteral("login_password")), QStringLiteral("secret"));
    QCOMPARE(siteColumn(h, QStringLiteral("site_name"), QStringLiteral("2")), QStringLiteral("Other"));

    // Marked modified and listed again, with the other site's tick kept.
    QCOMPARE(h.dirty, 1);
    const int k = h.siteIndex(stored.at(0));
    QVERIFY(k >= 0);
    QCOMPARE(h.selection().sites().entry(k).post, stored.at(2));
    QCOMPARE(h.selection().sites().entry(k).loginUrl, stored.at(3));
    QVERIFY(h.siteNames().contains(QStringLiteral("Other (unticked)")));
}

void TestEditSite::typedLimitsDoNotCutStoredValues()
{
    const QString longName = QString(300, QLatin1Char('N'));
    const QString longPost = QStringLiteral("q=[ZPQ-SEARCH-TERM]&state=") + QString(3000, QLatin1Char('s'));
    EditingHarness h(
        {}, { { longName, 1, QStringLiteral("http://a.test/"), longPost }, { QStringLiteral("Short"), 1 } });

    // A learnt body far beyond what the box lets the user type survives an edit of another box.
    h.selectSite(longName);
    h.editing().setShowModal([&](QDialog &dialog) {
        QCOMPARE(box(dialog, "edName")->text(), longName);
        QCOMPARE(box(dialog, "txtPosts")->text(), longPost);
        typeInto(box(dialog, "txtURL"), QStringLiteral("http://b.test/"));
        h.editSite().bOKClick();
    });
    h.editing().cxEditSiteClick();
    QCOMPARE(siteColumn(h, QStringLiteral("site_name"), QStringLiteral("1")), longName);
    QCOMPARE(siteColumn(h, QStringLiteral("site_post"), QStringLiteral("1")), longPost);
    QCOMPARE(
        siteColumn(h, QStringLiteral("site_url"), QStringLiteral("1")), QStringLiteral("http://b.test/"));

    // Typing stops at 255 characters for the name and 1024 for the other boxes.
    h.selectSite(QStringLiteral("Short"));
    h.editing().setShowModal([&](QDialog &dialog) {
        box(dialog, "edName")->clear();
        QTest::keyClicks(box(dialog, "edName"), QString(300, QLatin1Char('n')));
        QTest::keyClicks(box(dialog, "txtLoginPost"), QString(1100, QLatin1Char('p')));
        h.editSite().bOKClick();
    });
    h.editing().cxEditSiteClick();
    QCOMPARE(siteColumn(h, QStringLiteral("site_name"), QStringLiteral("2")), QString(255, QLatin1Char('n')));
    QCOMPARE(siteColumn(h, QStringLiteral("login_site_post"), QStringLiteral("2")),
        QString(1024, QLatin1Char('p')));
}

void TestEditSite::refusedSaveKeepsTheDialogAndEdits()
{
    EditingHarness h({}, { { QStringLiteral("Alpha"), 1 } });
    h.db().execute(QStringLiteral(
        "CREATE TRIGGER refuse BEFORE UPDATE ON sites BEGIN SELECT RAISE(ABORT, 'refused by test'); END"));
    h.selectSite(QStringLiteral("Alpha"));

    h.editing().setShowModal([&](QDialog &dialog) {
        dialog.show();
        QTest::keyClick(box(dialog, "edName"), Qt::Key_End); // the name comes selected
        QTest::keyClicks(box(dialog, "edName"), QStringLiteral(" two"));
        h.editSite().bOKClick();
        QCOMPARE(h.prompter.shown,
            QStringList { "Error writing to Database - please contact tech support.\r\nrefused by test" });
        QCOMPARE(h.prompter.kinds, QStringList { "warning" });
        QVERIFY(dialog.isVisible());
        QCOMPARE(h.editSite().tag(), 1);
        QCOMPARE(box(dialog, "edName")->text(), QStringLiteral("Alpha two"));

        // Once the database takes it, the same edits save.
        h.db().execute(QStringLiteral("DROP TRIGGER refuse"));
        h.editSite().bOKClick();
        QVERIFY(!dialog.isVisible());
    });
    h.editing().cxEditSiteClick();
    QCOMPARE(h.dirty, 1);
    QCOMPARE(h.siteNames(), QStringList { "Alpha two" });
}

void TestEditSite::deleteSite_data()
{
    QTest::addColumn<bool>("yes");
    QTest::addColumn<bool>("refused");
    QTest::newRow("Yes") << true << false;
    QTest::newRow("No changes nothing") << false << false;
    QTest::newRow("Yes, but the database refuses") << true << true;
}

void TestEditSite::deleteSite()
{
    QFETCH(bool, yes);
    QFETCH(bool, refused);
    EditingHarness h({ QStringLiteral("Books") },
        { { QStringLiteral("Alpha"), 1 }, { QStringLiteral("Say \"hi\""), 2 },
            { QStringLiteral("zeta"), 1 } });
    if (refused) {
        h.db().execute(QStringLiteral("CREATE TRIGGER refuse BEFORE DELETE ON sites BEGIN SELECT "
                                      "RAISE(ABORT, 'refused by test'); END"));
    }
    h.userTicksSite(QStringLiteral("zeta"), false);
    const QStringList before = h.siteNames();
    QCOMPARE(h.selection().siteTotal(), 3);

    h.editing().cxDeleteSiteClick(); // nothing selected: nothing asked
    QVERIFY(h.prompter.shown.isEmpty());

    h.selectSite(QStringLiteral("Say \"hi\""));
    h.prompter.answers = { yes };
    h.editing().cxDeleteSiteClick();
    QStringList expectedShown { "Are you sure you wish to delete \"Say \"hi\"\"?" };
    if (refused)
        expectedShown << QStringLiteral(
            "Error writing to Database - please contact tech support.\r\nrefused by test");
    QCOMPARE(h.prompter.shown, expectedShown);

    const bool deleted = yes && !refused;
    QCOMPARE(h.value(QStringLiteral("SELECT COUNT(*) FROM sites WHERE ID = 2")), deleted ? "0" : "1");
    QCOMPARE(h.dirty, deleted ? 1 : 0);
    QCOMPARE(h.selection().siteTotal(), deleted ? 2 : 3);
    QCOMPARE(h.siteNames(), deleted ? (QStringList { "Alpha", "zeta (unticked)" }) : before);
    if (!deleted)
        QCOMPARE(h.selection().selectedSite(), h.siteIndex(QStringLiteral("Say \"hi\""))); // list not rebuilt
}

void TestEditSite::deletingTheLastSiteRecountsForTheGuidance()
{
    EditingHarness h({}, { { QStringLiteral("Only"), 1 } });
    QCOMPARE(h.guidance(), QStringLiteral("<ready>"));
    h.selectSite(QStringLiteral("Only"));
    h.prompter.answers = { true };
    h.editing().cxDeleteSiteClick();
    QCOMPARE(h.siteNames(), QStringList {});
    QCOMPARE(h.selection().siteTotal(), 0);
    QCOMPARE(h.guidance(), QStringLiteral("Please click \"Add Website\" button to get started"));
}

QTEST_MAIN(TestEditSite)
#include "tst_editsite.moc"
