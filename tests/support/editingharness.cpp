#include "editingharness.h"
#include "fakebrowser.h"

#include "app/searchmain.h"
#include "catalogue/categories.h"
#include "catalogue/editsite.h"
#include "catalogue/siteediting.h"
#include "selection/siteselection.h"
#include "store/database.h"

#include <QLabel>
#include <QListView>
#include <QListWidget>

EditingHarness::EditingHarness(const QStringList &extraCategories, const QList<ProjectFixture::Site> &sites)
{
    TfrmMain::Options options;
    options.programFolder = m_dir.path() + QLatin1Char('/');
    options.startupProject
        = ProjectFixture::create(m_dir.filePath(QStringLiteral("p.tdl")), extraCategories, sites);
    options.splashMilliseconds = 1000 * 1000;
    m_window = std::make_unique<TfrmMain>(
        prompter, [](const QUrl &) { return true; },
        [](QWidget *p) -> Browser * { return new FakeBrowser(p); }, options);
    m_window->resize(1200, 800);
    m_window->show();
    m_window->FormActivate();

    const auto setDirty = [this] {
        ++dirty;
        m_window->SetDirty();
    };
    m_categories = new TfrmCategories(m_window->database(), prompter, setDirty, m_window.get());
    m_editSite = new TfrmEditSite(m_window->database(), prompter, m_window.get());
    m_editing = new SiteEditing(m_window->database(), prompter, m_window->selection(), *m_editSite,
        *m_categories, setDirty, m_window.get());
}

EditingHarness::~EditingHarness() = default;

Database &EditingHarness::db()
{
    return m_window->database();
}

SiteSelection &EditingHarness::selection()
{
    return m_window->selection();
}

QStringList EditingHarness::siteNames() const
{
    QStringList names;
    for (const SiteEntry &e : m_window->selection().sites().entries())
        names << e.name + (e.ticked ? QString() : QStringLiteral(" (unticked)"));
    return names;
}

int EditingHarness::siteIndex(const QString &name) const
{
    const auto &entries = m_window->selection().sites().entries();
    for (int i = 0; i < entries.size(); ++i) {
        if (entries.at(i).name == name)
            return i;
    }
    return -1;
}

void EditingHarness::selectSite(const QString &name)
{
    auto *view = m_window->findChild<QListView *>(QStringLiteral("lstSites"));
    const int row = siteIndex(name);
    view->setCurrentIndex(row < 0 ? QModelIndex() : view->model()->index(row, 0));
}

void EditingHarness::userTicksSite(const QString &name, bool ticked)
{
    auto *view = m_window->findChild<QListView *>(QStringLiteral("lstSites"));
    view->model()->setData(
        view->model()->index(siteIndex(name), 0), ticked ? Qt::Checked : Qt::Unchecked, Qt::CheckStateRole);
}

void EditingHarness::userTicksCategory(const QString &name, bool ticked)
{
    auto *list = m_window->findChild<QListWidget *>(QStringLiteral("chkCategories"));
    const auto items = list->findItems(name, Qt::MatchExactly);
    if (items.size() == 1)
        items.first()->setCheckState(ticked ? Qt::Checked : Qt::Unchecked);
}

QString EditingHarness::guidance() const
{
    auto *label = m_window->findChild<QLabel *>(QStringLiteral("panPleaseSelectSite"));
    return label->isVisibleTo(m_window.get()) ? label->text() : QStringLiteral("<ready>");
}

QString EditingHarness::value(const QString &sql, const QVariantList &params)
{
    const ResultTable rows = db().query(sql, params);
    return rows.rowCount() == 0 ? QStringLiteral("<none>") : rows.text(0, 0);
}
