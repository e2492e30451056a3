#include "siteselection.h"

#include "searchfieldspanel.h"
#include "searchmodehooks.h"
#include "store/database.h"
#include "store/databaseerror.h"
#include "ui/prompter.h"

#include <QAction>
#include <QCheckBox>
#include <QItemSelectionModel>
#include <QLabel>
#include <QListView>
#include <QListWidget>
#include <QPushButton>

namespace {
const QString kReadError = QStringLiteral("Error Reading from Database - please contact tech support.\r\n");
const int kIdRole = Qt::UserRole;
} // namespace

SiteSelection::SiteSelection(Database &db, Prompter &prompter, const SelectionWidgets &widgets,
                             SearchFieldsPanel &fields, QObject *parent)
    : QObject(parent), m_db(db), m_prompter(prompter), m_w(widgets), m_fields(fields)
{
    m_w.lstSites->setModel(&m_sites);
    connect(&m_sites, &SiteListModel::siteTickChanged, this, [this] { lstSitesClickCheck(); });
    connect(m_w.lstSites->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { lstSitesClick(); });
    connect(&m_sites, &QAbstractItemModel::modelReset, this, [this] { lstSitesClick(); });
    connect(m_w.chkCategories, &QListWidget::itemChanged, this, &SiteSelection::categoryItemChanged);
    connect(m_w.chkSiteCategories, &QCheckBox::clicked, this, [this] { chkSiteCategoriesClick(); });
    connect(m_w.chkSitesTicked, &QCheckBox::clicked, this, [this] { chkSitesTickedClick(); });
}

void SiteSelection::reportReadError(const QString &message)
{
    m_prompter.warning(kReadError + message);
}

int SiteSelection::countRecords()
{
    try {
        return countSites(m_db);
    } catch (const DatabaseError &e) {
        reportReadError(e.message());
        return 0;
    }
}

QString SiteSelection::generateFilterSQL() const
{
    QVector<CategoryTick> ticks;
    ticks.reserve(m_w.chkCategories->count());
    for (int i = 0; i < m_w.chkCategories->count(); ++i) {
        const QListWidgetItem *item = m_w.chkCategories->item(i);
        ticks.append({item->data(kIdRole).toString(), item->checkState() == Qt::Checked});
    }
    return ::generateFilterSQL(ticks);
}

void SiteSelection::PopulateFilterCategories()
{
    const QStringList wasTicked = tickedCategoryIds();
    const QSignalBlocker block(m_w.chkCategories);
    m_w.chkCategories->clear();
    try {
        ResultTable rows = m_db.query(
            QStringLiteral("SELECT [ID],[Category] FROM categories ORDER BY [Category] COLLATE NOCASE;"));
        for (; !rows.eof(); rows.next()) {
            const QString id = rows.text(QStringLiteral("ID"));
            const QString name = rows.text(QStringLiteral("Category"));
            auto *item = new QListWidgetItem(name);
            item->setData(kIdRole, id);
            item->setToolTip(name.size() > 200 ? name.left(200) + QChar(0x2026) : name);
            item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
            item->setCheckState(wasTicked.contains(id) ? Qt::Checked : Qt::Unchecked);
            m_w.chkCategories->addItem(item);
        }
    } catch (const DatabaseError &e) {
        reportReadError(e.message());
    }
}

void SiteSelection::emptySiteList()
{
    m_sites.clear();
    m_w.panRecordCount->hide();
}

void SiteSelection::emptyLists()
{
    {
        const QSignalBlocker block(m_w.chkCategories);
        m_w.chkCategories->clear();
    }
    emptySiteList();
    m_w.panBrowsers->hide();
    m_siteTotal = 0;
    for (QAction *a : {m_w.dxFirst, m_w.dxPrev, m_w.dxNext, m_w.dxLast})
        a->setEnabled(false);
}

void SiteSelection::showFilteredRecords()
{
    for (const SiteEntry &e : m_sites.entries()) {
        if (e.ticked)
            m_unticked.remove(e.id);
        else
            m_unticked.insert(e.id);
    }
    for (QAction *a : {m_w.dxFirst, m_w.dxPrev, m_w.dxNext, m_w.dxLast})
        a->setEnabled(false);
    emptySiteList();
    m_w.panBrowsers->hide();
    try {
        const ResultTable rows = m_db.query(generateFilterSQL() + QLatin1String(kSiteListOrder));
        m_sites.fill(rows, m_unticked);
    } catch (const DatabaseError &e) {
        reportReadError(e.message());
        return;
    }
    CheckIfOneOrMoreSitesSelected();
}

void SiteSelection::CheckIfOneOrMoreSitesSelected()
{
    if (m_sites.anyTicked()) {
        m_w.panPleaseSelectSite->hide();
        m_w.chkDisablePopups->show();
        m_w.bGo->show();
        m_w.panTopSearch->setFixedHeight(200);
        try {
            if (m_fields.controlCount() == 0)
                m_fields.cxButton1Click(m_db);
            m_w.sbSearchFields->show();
            if (m_searchHooks)
                m_searchHooks->ClearSearchMode();
            m_fields.focusFirstField(m_db);
        } catch (const DatabaseError &e) {
            m_prompter.error(e.message());
        }
        return;
    }

    QString text;
    if (m_w.chkCategories->count() > 0) {
        m_w.dxImportBacklinks->setEnabled(true);
        text = m_siteTotal > 0 ? QStringLiteral("Please Select Site(s) to Search")
                               : QStringLiteral("Please click \"Add Website\" button to get started");
    } else {
        text = QStringLiteral("Please click \"Site Category Management\" to create some categories");
    }
    m_w.panPleaseSelectSite->setText(text);
    m_w.panPleaseSelectSite->show();
    m_w.chkDisablePopups->hide();
    m_w.cxSearchAgain->hide();
    m_w.bGo->hide();
    m_w.sbSearchFields->hide();
    m_w.panTopSearch->setFixedHeight(96);
}

void SiteSelection::categoryItemChanged(QListWidgetItem *)
{
    if (!m_settingTicks)
        chkCategoriesClickCheck();
}

void SiteSelection::chkCategoriesClickCheck()
{
    if (!m_initialised)
        return;
    m_siteTotal = countRecords();
    showFilteredRecords();
}

void SiteSelection::chkSiteCategoriesClick()
{
    const bool ticked = m_w.chkSiteCategories->isChecked();
    for (int i = 0; i < m_w.chkCategories->count(); ++i)
        setCategoryTicked(i, ticked);
    showFilteredRecords();
}

void SiteSelection::chkSitesTickedClick()
{
    m_sites.setAllTicked(m_w.chkSitesTicked->isChecked());
    lstSitesClick();
    CheckIfOneOrMoreSitesSelected();
}

int SiteSelection::selectedSite() const
{
    const QModelIndexList rows = m_w.lstSites->selectionModel()->selectedIndexes();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void SiteSelection::lstSitesClick()
{
    const int selected = selectedSite();
    m_w.panRecordCount->setVisible(selected >= 0);
    if (selected >= 0)
        panRecordCountResize();
}

void SiteSelection::lstSitesClickCheck()
{
    CheckIfOneOrMoreSitesSelected();
}

void SiteSelection::selectSearchedSite(int position)
{
    if (m_sites.count() == 0)
        return;
    QListWidget *list = m_w.lstSelectSite;
    {
        // The selection handler runs once, below, also when the row stays the same.
        const QSignalBlocker block(list);
        if (position < 0) {
            list->setCurrentRow(-1);
            list->clearSelection();
        } else if (position < list->count()) {
            list->setCurrentRow(position);
        }
    }
    if (m_searchHooks)
        m_searchHooks->lstSelectSiteClick();
}

void SiteSelection::dxFirstClick()
{
    selectSearchedSite(0);
}

void SiteSelection::dxPrevClick()
{
    const int current = m_w.lstSelectSite->currentRow();
    selectSearchedSite(current < 0 ? -1 : current - 1);
}

void SiteSelection::dxNextClick()
{
    selectSearchedSite(m_w.lstSelectSite->currentRow() + 1);
}

void SiteSelection::dxLastClick()
{
    selectSearchedSite(m_w.lstSelectSite->count() - 1);
}

void SiteSelection::panRecordCountResize()
{
    m_w.cxDeleteSite->move(m_w.panRecordCount->width() - m_w.cxDeleteSite->width(), m_w.cxDeleteSite->y());
    m_w.cxEditSite->move(0, m_w.cxEditSite->y());
}

int SiteSelection::categoryCount() const
{
    return m_w.chkCategories->count();
}

QStringList SiteSelection::categoryNames() const
{
    QStringList names;
    for (int i = 0; i < m_w.chkCategories->count(); ++i)
        names << m_w.chkCategories->item(i)->text();
    return names;
}

QStringList SiteSelection::categoryIds() const
{
    QStringList ids;
    for (int i = 0; i < m_w.chkCategories->count(); ++i)
        ids << m_w.chkCategories->item(i)->data(kIdRole).toString();
    return ids;
}

QStringList SiteSelection::tickedCategoryIds() const
{
    QStringList ids;
    for (int i = 0; i < m_w.chkCategories->count(); ++i) {
        if (m_w.chkCategories->item(i)->checkState() == Qt::Checked)
            ids << m_w.chkCategories->item(i)->data(kIdRole).toString();
    }
    return ids;
}

void SiteSelection::setCategoryTicked(int position, bool ticked)
{
    m_settingTicks = true;
    m_w.chkCategories->item(position)->setCheckState(ticked ? Qt::Checked : Qt::Unchecked);
    m_settingTicks = false;
}

void SiteSelection::setCategoriesTicked(const QStringList &ids, bool ticked)
{
    const QStringList all = categoryIds();
    for (int i = 0; i < all.size(); ++i) {
        if (ids.contains(all.at(i)))
            setCategoryTicked(i, ticked);
    }
}
