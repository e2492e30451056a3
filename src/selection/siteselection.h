#pragma once

#include "sitefilter.h"
#include "sitelistmodel.h"

#include <QObject>
#include <QSet>
#include <QStringList>

class Database;
class Prompter;
class SearchFieldsPanel;
class SearchModeHooks;
class QAction;
class QCheckBox;
class QLabel;
class QListView;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class QWidget;

// The widgets of the left pane and the search area that the site selection drives; all owned by
// the main window.
struct SelectionWidgets
{
    QListWidget *chkCategories = nullptr;
    QCheckBox *chkSiteCategories = nullptr;
    QCheckBox *chkSitesTicked = nullptr;
    QListView *lstSites = nullptr;
    QListWidget *lstSelectSite = nullptr;
    QWidget *panRecordCount = nullptr;
    QPushButton *cxEditSite = nullptr;
    QPushButton *cxDeleteSite = nullptr;
    QWidget *panTopSearch = nullptr;
    QLabel *panPleaseSelectSite = nullptr;
    QCheckBox *chkDisablePopups = nullptr;
    QPushButton *bGo = nullptr;
    QPushButton *cxSearchAgain = nullptr;
    QWidget *sbSearchFields = nullptr;
    QWidget *panBrowsers = nullptr;
    QAction *dxFirst = nullptr;
    QAction *dxPrev = nullptr;
    QAction *dxNext = nullptr;
    QAction *dxLast = nullptr;
    QAction *dxImportBacklinks = nullptr;
};

// Category list with ticks, the site list of the ticked categories with its memory of unticked
// sites, and the guidance / ready switch of the search area.
class SiteSelection final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SiteSelection)

public:
    SiteSelection(Database &db, Prompter &prompter, const SelectionWidgets &widgets, SearchFieldsPanel &fields,
                  QObject *parent = nullptr);

    void setSearchModeHooks(SearchModeHooks *hooks) { m_searchHooks = hooks; }
    void setInitialised(bool initialised) { m_initialised = initialised; }
    bool isInitialised() const { return m_initialised; }

    void PopulateFilterCategories();
    void showFilteredRecords();
    void CheckIfOneOrMoreSitesSelected();
    void chkCategoriesClickCheck();
    void chkSiteCategoriesClick();
    void chkSitesTickedClick();
    void lstSitesClick();
    void lstSitesClickCheck();
    void dxFirstClick();
    void dxPrevClick();
    void dxNextClick();
    void dxLastClick();
    void panRecordCountResize();

    // Reports a database error and gives 0.
    int countRecords();
    QString generateFilterSQL() const;

    // New Project: both lists emptied, site total 0, browse commands disabled.
    void emptyLists();
    void emptySiteList();

    // Category list, in shown order.
    int categoryCount() const;
    QStringList categoryNames() const;
    QStringList categoryIds() const;
    QStringList tickedCategoryIds() const;
    // Ticks set by the program start no handler.
    void setCategoryTicked(int position, bool ticked);
    void setCategoriesTicked(const QStringList &ids, bool ticked);

    SiteListModel &sites() { return m_sites; }
    const SiteListModel &sites() const { return m_sites; }
    int selectedSite() const; // -1 when none
    int siteTotal() const { return m_siteTotal; }
    void setSiteTotal(int total) { m_siteTotal = total; }
    const QSet<QString> &untickedSites() const { return m_unticked; }
    SearchFieldsPanel &fields() { return m_fields; }

private:
    void categoryItemChanged(QListWidgetItem *item);
    void selectSearchedSite(int position);
    void reportReadError(const QString &message);

    Database &m_db;
    Prompter &m_prompter;
    SelectionWidgets m_w;
    SearchFieldsPanel &m_fields;
    SearchModeHooks *m_searchHooks = nullptr;
    SiteListModel m_sites;
    QSet<QString> m_unticked;
    int m_siteTotal = 0;
    bool m_initialised = false;
    bool m_settingTicks = false;
};
