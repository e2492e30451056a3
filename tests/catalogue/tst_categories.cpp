#include "catalogue/categories.h"
#include "catalogue/siteediting.h"
#include "editingharness.h"
#include "selection/siteselection.h"
#include "store/database.h"

#include <QFrame>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QtTest>

// The category manager and the command that opens it.
class TestCategories : public QObject
{
    Q_OBJECT

private slots:
    void statesFollowSelectionAndPanels();
    void keyboard();
    void namesAreStoredAsTyped_data();
    void namesAreStoredAsTyped();
    void newCategoryShowsAtTheEndUntilReopened();
    void deleteAsksAndNoChangesNothing();
    void refusedSavesAndDeletesKeepTheDialogAsItWas_data();
    void refusedSavesAndDeletesKeepTheDialogAsItWas();
    void ticksComeBackAfterTheDialog();
    void sitesOfADeletedCategoryAreHiddenButCounted();
};

namespace {

using State = TfrmCategories::State;

const QString kCancelQuestion = QStringLiteral("Are you sure you want to cancel any changes?");

// What the user sees: the state's panels and buttons.
QString looks(TfrmCategories &d)
{
    QStringList parts;
    const auto visible = [&d](const char *name) {
        return d.findChild<QWidget *>(QString::fromLatin1(name))->isVisibleTo(&d);
    };
    if (visible("panNew"))
        parts << QStringLiteral("editing[%1]")
                     .arg(d.findChild<QLineEdit *>(QStringLiteral("txtCategory"))->text());
    if (visible("panEditDelete")) {
        QStringList buttons;
        for (const char *b : { "cxEdit", "cxAddNew", "cxDelete", "cxFinish" }) {
            if (visible(b))
                buttons << QString::fromLatin1(b);
        }
        parts << buttons.join(QLatin1Char(','));
    }
    if (!d.findChild<QListWidget *>(QStringLiteral("lstCategories"))->isEnabled())
        parts << QStringLiteral("list disabled");
    return parts.join(QLatin1Char(' '));
}

QPushButton *button(TfrmCategories &d, const char *name)
{
    return d.findChild<QPushButton *>(QString::fromLatin1(name));
}

QLineEdit *nameBox(TfrmCategories &d)
{
    return d.findChild<QLineEdit *>(QStringLiteral("txtCategory"));
}

QString categoryName(EditingHarness &h, const QString &id)
{
    return h.value(QStringLiteral("SELECT Category FROM categories WHERE ID = ?1"), { id.toLongLong() });
}

} // namespace

void TestCategories::statesFollowSelectionAndPanels()
{
    EditingHarness h({ QStringLiteral("books"), QStringLiteral("Auctions") }, {});
    TfrmCategories &d = h.categories();
    int opened = 0;
    h.editing().setShowModal([&](QDialog &dialog) {
        ++opened;
        QCOMPARE(&dialog, static_cast<QDialog *>(&d));
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Site Category Management"));
        QCOMPARE(dialog.size(), QSize(441, 618));
        dialog.show();
        QCOMPARE(d.categoryNames(), (QStringList { "Auctions", "books", "General" }));
        QCOMPARE(d.categoryIds(), (QStringList { "3", "2", "1" }));
        QCOMPARE(d.state(), State::Browsing);
        QCOMPARE(looks(d), QStringLiteral("cxAddNew,cxFinish"));

        d.selectRow(1);
        QCOMPARE(d.state(), State::Selected);
        QCOMPARE(looks(d), QStringLiteral("cxEdit,cxAddNew,cxDelete"));

        button(d, "cxAddNew")->click();
        QCOMPARE(d.state(), State::Adding);
        QCOMPARE(looks(d), QStringLiteral("editing[] list disabled"));

        h.prompter.answers = { false };
        button(d, "cxCancel")->click();
        QCOMPARE(h.prompter.shown, QStringList { kCancelQuestion });
        QCOMPARE(d.state(), State::Adding);
        h.prompter.answers = { true };
        button(d, "cxCancel")->click();
        QCOMPARE(looks(d), QStringLiteral("cxEdit,cxAddNew,cxDelete")); // back, selection kept

        button(d, "cxEdit")->click();
        QCOMPARE(d.state(), State::Renaming);
        QCOMPARE(looks(d), QStringLiteral("editing[books] list disabled"));
        h.prompter.answers = { true };
        d.cxCancelClick();

        // A double click on an entry is Edit too.
        auto *list = d.findChild<QListWidget *>(QStringLiteral("lstCategories"));
        const QRect rect = list->visualItemRect(list->item(2));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, rect.center());
        QCOMPARE(looks(d), QStringLiteral("editing[General] list disabled"));
        h.prompter.answers = { true };
        d.cxCancelClick();

        d.selectRow(-1);
        QCOMPARE(looks(d), QStringLiteral("cxAddNew,cxFinish"));
        d.cxEditClick(); // nothing selected: nothing happens
        d.cxDeleteClick();
        QCOMPARE(looks(d), QStringLiteral("cxAddNew,cxFinish"));

        // Leave with a category selected, through the close box.
        d.selectRow(0);
        dialog.close();
        QVERIFY(!dialog.isVisible());
    });
    h.editing().dxSiteCategoryManagementClick();
    QCOMPARE(h.prompter.shown.size(), 4); // the cancel questions only
    QCOMPARE(h.dirty, 0);

    // Opening again starts from the list with nothing selected, whatever was left before.
    h.editing().setShowModal([&](QDialog &dialog) {
        ++opened;
        dialog.show();
        QCOMPARE(d.state(), State::Browsing);
        QCOMPARE(looks(d), QStringLiteral("cxAddNew,cxFinish"));
        button(d, "cxFinish")->click();
        QVERIFY(!dialog.isVisible());
    });
    h.editing().dxSiteCategoryManagementClick();
    QCOMPARE(opened, 2);
}

void TestCategories::keyboard()
{
    EditingHarness h({}, {});
    TfrmCategories &d = h.categories();
    h.editing().setShowModal([&](QDialog &dialog) {
        dialog.show();
        button(d, "cxAddNew")->click();
        QTest::keyClicks(nameBox(d), QStringLiteral("Typed"));
        // Esc while adding is Cancel, with its question.
        h.prompter.answers = { false };
        QTest::keyClick(nameBox(d), Qt::Key_Escape);
        QCOMPARE(h.prompter.shown, QStringList { kCancelQuestion });
        QCOMPARE(d.state(), State::Adding);
        QVERIFY(dialog.isVisible());
        // Enter in the name box is Save.
        QTest::keyClick(nameBox(d), Qt::Key_Return);
        QCOMPARE(d.categoryNames(), (QStringList { "General", "Typed" }));
        QCOMPARE(d.state(), State::Browsing);
        QVERIFY(dialog.isVisible());
        // In the list, Esc closes the dialog without a question.
        QTest::keyClick(&dialog, Qt::Key_Escape);
        QVERIFY(!dialog.isVisible());
    });
    h.editing().dxSiteCategoryManagementClick();
    QCOMPARE(h.prompter.shown.size(), 1);
    QCOMPARE(h.dirty, 1);
}

void TestCategories::namesAreStoredAsTyped_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("stored");
    QTest::newRow("double quotes") << QStringLiteral("Say \"hi\"") << QStringLiteral("Say \"hi\"");
    QTest::newRow("apostrophe, ampersand, markup")
        << QStringLiteral("O'Brien & <b>Co</b>") << QStringLiteral("O'Brien & <b>Co</b>");
    QTest::newRow("column name ID") << QStringLiteral("ID") << QStringLiteral("ID");
    QTest::newRow("column name Category") << QStringLiteral("Category") << QStringLiteral("Category");
    QTest::newRow("column name of sites") << QStringLiteral("site_url") << QStringLiteral("site_url");
    QTest::newRow("blanks only are accepted") << QStringLiteral("   ") << QStringLiteral("   ");
    QTest::newRow("typing stops at 255") << QString(300, QLatin1Char('c')) << QString(255, QLatin1Char('c'));
}

void TestCategories::namesAreStoredAsTyped()
{
    QFETCH(QString, typed);
    QFETCH(QString, stored);
    EditingHarness h({ QStringLiteral("Books") }, {});
    TfrmCategories &d = h.categories();
    h.editing().setShowModal([&](QDialog &dialog) {
        dialog.show();
        // Add: the new entry carries the ID the insert gave it.
        d.cxAddNewClick();
        QTest::keyClicks(nameBox(d), typed);
        d.cxSaveClick();
        QCOMPARE(d.state(), State::Browsing);
        QCOMPARE(d.categoryNames().last(), stored);
        const QString newId = d.categoryIds().last();
        QCOMPARE(newId, h.value(QStringLiteral("SELECT MAX(ID) FROM categories")));
        QCOMPARE(categoryName(h, newId), stored);

        // Rename an existing one to the same text.
        d.selectRow(d.categoryNames().indexOf(QStringLiteral("Books")));
        d.cxEditClick();
        nameBox(d)->clear();
        QTest::keyClicks(nameBox(d), typed);
        d.cxSaveClick();
        QCOMPARE(categoryName(h, QStringLiteral("2")), stored);
        QCOMPARE(d.categoryNames().count(stored), 2);
        QCOMPARE(d.categoryIds().size(), d.categoryNames().size());

        // Delete the added one; the question names it.
        d.selectRow(d.categoryIds().indexOf(newId));
        h.prompter.answers = { true };
        d.cxDeleteClick();
        QCOMPARE(h.prompter.shown,
            QStringList { QStringLiteral("Are you sure that you want to delete \"") + stored
                + QStringLiteral("\" category?") });
        QCOMPARE(categoryName(h, newId), QStringLiteral("<none>"));
        QVERIFY(!d.categoryIds().contains(newId));
        QCOMPARE(d.state(), State::Browsing);
        d.cxFinishClick();
    });
    h.editing().dxSiteCategoryManagementClick();
    QCOMPARE(h.dirty, 3);
    QCOMPARE(h.value(QStringLiteral("SELECT COUNT(*) FROM categories")), QStringLiteral("2"));
    QCOMPARE(h.selection().categoryNames().count(stored), 1); // the renamed one, in the main window
}

void TestCategories::newCategoryShowsAtTheEndUntilReopened()
{
    EditingHarness h({ QStringLiteral("Books") }, {});
    TfrmCategories &d = h.categories();
    h.editing().setShowModal([&](QDialog &) {
        d.cxAddNewClick();
        QTest::keyClicks(nameBox(d), QStringLiteral("Aardvark"));
        d.cxSaveClick();
        QCOMPARE(d.categoryNames(), (QStringList { "Books", "General", "Aardvark" }));
        // A rename stays in place too.
        d.selectRow(0);
        d.cxEditClick();
        nameBox(d)->clear();
        QTest::keyClicks(nameBox(d), QStringLiteral("Zoo"));
        d.cxSaveClick();
        QCOMPARE(d.categoryNames(), (QStringList { "Zoo", "General", "Aardvark" }));
    });
    h.editing().dxSiteCategoryManagementClick();
    QCOMPARE(h.selection().categoryNames(), (QStringList { "Aardvark", "General", "Zoo" }));

    h.editing().setShowModal([&](QDialog &) {
        QCOMPARE(d.categoryNames(), (QStringList { "Aardvark", "General", "Zoo" }));
    });
    h.editing().dxSiteCategoryManagementClick();
}

void TestCategories::deleteAsksAndNoChangesNothing()
{
    EditingHarness h({ QStringLiteral("Books") }, {});
    TfrmCategories &d = h.categories();
    h.editing().setShowModal([&](QDialog &) {
        d.selectRow(0);
        h.prompter.answers = { false };
        d.cxDeleteClick();
        QCOMPARE(
            h.prompter.shown, QStringList { "Are you sure that you want to delete \"Books\" category?" });
        QCOMPARE(d.categoryNames(), (QStringList { "Books", "General" }));
        QCOMPARE(d.state(), State::Selected);
        QCOMPARE(h.dirty, 0);

        h.prompter.answers = { true };
        d.cxDeleteClick();
        QCOMPARE(d.categoryNames(), QStringList { "General" });
        QCOMPARE(d.categoryIds(), QStringList { "1" });
        QCOMPARE(d.state(), State::Browsing);
        QCOMPARE(looks(d), QStringLiteral("cxAddNew,cxFinish"));
        QCOMPARE(h.dirty, 1);
    });
    h.editing().dxSiteCategoryManagementClick();
    QCOMPARE(h.value(QStringLiteral("SELECT COUNT(*) FROM categories WHERE ID = 2")), QStringLiteral("0"));
}

void TestCategories::refusedSavesAndDeletesKeepTheDialogAsItWas_data()
{
    QTest::addColumn<QString>("action"); // add, rename or delete
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("trigger"); // the statement the database refuses; empty for none
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("state");

    const QString refused
        = QStringLiteral("Error writing to Database - please contact tech support.\r\nrefused by test");
    QTest::newRow("add with an empty name") << "add"
                                            << ""
                                            << ""
                                            << "Category Name cannot be blank!" << int(State::Adding);
    QTest::newRow("rename to an empty name") << "rename"
                                             << ""
                                             << ""
                                             << "Category Name cannot be blank!" << int(State::Renaming);
    QTest::newRow("insert refused") << "add"
                                    << "New"
                                    << "INSERT" << refused << int(State::Adding);
    QTest::newRow("update refused") << "rename"
                                    << "New"
                                    << "UPDATE" << refused << int(State::Renaming);
    QTest::newRow("delete refused") << "delete"
                                    << ""
                                    << "DELETE" << refused << int(State::Selected);
}

void TestCategories::refusedSavesAndDeletesKeepTheDialogAsItWas()
{
    QFETCH(QString, action);
    QFETCH(QString, typed);
    QFETCH(QString, trigger);
    QFETCH(QString, message);
    QFETCH(int, state);
    EditingHarness h({ QStringLiteral("Books") }, {});
    if (!trigger.isEmpty()) {
        h.db().execute(QStringLiteral("CREATE TRIGGER refuse BEFORE %1 ON categories BEGIN "
                                      "SELECT RAISE(ABORT, 'refused by test'); END")
                           .arg(trigger));
    }
    TfrmCategories &d = h.categories();
    h.editing().setShowModal([&](QDialog &) {
        d.selectRow(0);
        if (action == QLatin1String("add"))
            d.cxAddNewClick();
        else if (action == QLatin1String("rename"))
            d.cxEditClick();
        if (action == QLatin1String("delete")) {
            h.prompter.answers = { true };
            d.cxDeleteClick();
            h.prompter.shown.removeFirst(); // the question
        } else {
            nameBox(d)->clear();
            QTest::keyClicks(nameBox(d), typed);
            d.cxSaveClick();
            QCOMPARE(nameBox(d)->text(), typed);
        }
        QCOMPARE(h.prompter.shown, QStringList { message });
        QCOMPARE(h.prompter.kinds.last(), QStringLiteral("warning"));
        QCOMPARE(int(d.state()), state);
        QCOMPARE(d.categoryNames(), (QStringList { "Books", "General" }));
        QCOMPARE(d.categoryIds(), (QStringList { "2", "1" }));
    });
    h.editing().dxSiteCategoryManagementClick();
    QCOMPARE(h.dirty, 0);
    QCOMPARE(h.value(QStringLiteral("SELECT group_concat(ID || ':' || Category, ',') FROM categories")),
        QStringLiteral("1:General,2:Books"));
}

void TestCategories::ticksComeBackAfterTheDialog()
{
    EditingHarness h({ QStringLiteral("Books"), QStringLiteral("Auctions"), QStringLiteral("Music") },
        { { QStringLiteral("g1"), 1 }, { QStringLiteral("b1"), 2 }, { QStringLiteral("b2"), 2 },
            { QStringLiteral("a1"), 3 }, { QStringLiteral("m1"), 4 } });
    h.userTicksCategory(QStringLiteral("Auctions"), false);
    h.userTicksSite(QStringLiteral("b1"), false); // not yet harvested by a refresh
    QCOMPARE(h.siteNames(), (QStringList { "b1 (unticked)", "b2", "g1", "m1" }));
    TfrmCategories &d = h.categories();
    h.editing().setShowModal([&](QDialog &) {
        d.cxAddNewClick();
        QTest::keyClicks(nameBox(d), QStringLiteral("Zebra"));
        d.cxSaveClick();
        d.selectRow(d.categoryNames().indexOf(QStringLiteral("Books")));
        d.cxEditClick();
        nameBox(d)->clear();
        QTest::keyClicks(nameBox(d), QStringLiteral("Books and more"));
        d.cxSaveClick();
        d.cxFinishClick();
    });
    h.editing().dxSiteCategoryManagementClick();

    QCOMPARE(h.selection().categoryNames(),
        (QStringList { "Auctions", "Books and more", "General", "Music", "Zebra" }));
    QCOMPARE(h.selection().tickedCategoryIds(), (QStringList { "2", "1", "4" }));
    QCOMPARE(h.siteNames(), (QStringList { "b1 (unticked)", "b2", "g1", "m1" }));
    QCOMPARE(h.guidance(), QStringLiteral("<ready>"));
    QCOMPARE(h.selection().selectedSite(), -1);
}

void TestCategories::sitesOfADeletedCategoryAreHiddenButCounted()
{
    EditingHarness h({ QStringLiteral("Books") },
        { { QStringLiteral("b1"), 2 }, { QStringLiteral("b2"), 2 }, { QStringLiteral("g1"), 1 } });
    QCOMPARE(h.siteNames(), (QStringList { "b1", "b2", "g1" }));
    TfrmCategories &d = h.categories();
    h.editing().setShowModal([&](QDialog &) {
        d.selectRow(d.categoryNames().indexOf(QStringLiteral("Books")));
        h.prompter.answers = { true };
        d.cxDeleteClick();
    });
    h.editing().dxSiteCategoryManagementClick();
    QCOMPARE(h.selection().categoryNames(), QStringList { "General" });
    QCOMPARE(h.siteNames(), QStringList { "g1" });
    QCOMPARE(h.value(QStringLiteral("SELECT COUNT(*) FROM sites")), QStringLiteral("3"));
    QCOMPARE(h.selection().siteTotal(), 3);
    QCOMPARE(h.selection().countRecords(), 3);

    // With only such sites left unlisted, the guidance asks to select sites, not to add one.
    h.userTicksCategory(QStringLiteral("General"), false);
    QCOMPARE(h.guidance(), QStringLiteral("Please Select Site(s) to Search"));
}

QTEST_MAIN(TestCategories)
#include "tst_categories.moc"
