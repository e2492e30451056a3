#pragma once

#include "selection/searchmodehooks.h"
#include "ui/browser.h"

#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QVector>
#include <functional>

class Database;
class Prompter;
class SearchFieldsPanel;
class SiteSelection;
class QAction;
class QCheckBox;
class QLineEdit;
class QListView;
class QListWidget;
class QProgressBar;
class QPushButton;
class QStackedWidget;
class QToolButton;
class QWidget;

// The widgets a search run drives; all owned by the main window.
struct SearchWidgets
{
    QListWidget *lstSelectSite = nullptr;
    QListView *lstSites = nullptr;
    QListWidget *chkCategories = nullptr;
    QCheckBox *chkSiteCategories = nullptr;
    QCheckBox *chkSitesTicked = nullptr;
    QCheckBox *chkDisablePopups = nullptr;
    QWidget *panRecordCount = nullptr;
    QWidget *panTopSearch = nullptr;
    QWidget *sbSearchFields = nullptr;
    QPushButton *bGo = nullptr;
    QPushButton *cxSearchAgain = nullptr;
    QWidget *panBrowsers = nullptr;
    QWidget *PnlBrowsers = nullptr;
    QStackedWidget *pcBrowsers = nullptr;
    QProgressBar *pb = nullptr;
    QLineEdit *edLink2 = nullptr;
    QToolButton *bBack1 = nullptr;
    QToolButton *bNext1 = nullptr;
    QToolButton *bStop1 = nullptr;
    QToolButton *bRefresh1 = nullptr;
    QAction *dxSiteCategoryManagement = nullptr;
    QAction *dxImportBacklinks = nullptr;
    QAction *dxFirst = nullptr;
    QAction *dxPrev = nullptr;
    QAction *dxNext = nullptr;
    QAction *dxLast = nullptr;
};

// One search over the ticked sites: a result page with its own browser per site, the
// searched-sites list, search and selection modes, and the browser toolbar.
class SearchRun final : public QObject, public SearchModeHooks
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SearchRun)

public:
    // The state of a searched site's page, shown as the icon of its entry.
    enum class PageState { Loading, Loaded, Failed };

    SearchRun(Database &db, Prompter &prompter, SiteSelection &selection, SearchFieldsPanel &fields,
              const SearchWidgets &widgets, BrowserFactory browsers, QObject *parent = nullptr);
    ~SearchRun() override;

    void bGoClick();
    void DoSearchMode();
    void ClearSearchMode() override;
    void lstSelectSiteClick() override;
    void SetBrowserVisible(int siteIndex, bool show);
    void cxSearchAgainClick();
    void EnableBrowseButtons();
    void bBack1Click();
    void bNext1Click();
    void bStop1Click();
    void bRefresh1Click();

    bool inSearchMode() const { return m_searchMode; }
    int currentSiteIndex() const { return m_currentSiteIndex; }
    Browser *currentBrowser() const { return m_currentBrowser; }
    // Site indices of the searched sites, in list order (lstSiteRelativeIndex).
    QVector<int> searchedSiteIndices() const { return m_relativeIndex; }
    int pageCount() const { return m_pages.size(); }
    // The history state of a result browser: "xx" until it reports, then "0"/"1" per direction.
    QString historyState(const Browser *browser) const;
    PageState pageState(int searchedPosition) const;

private:
    struct ResultPage
    {
        QPointer<QWidget> page;
        QPointer<Browser> browser; // null for a request that was not sent
        int siteIndex = -1;
        QString siteId;
        bool loginStep = false;
        QString history = QStringLiteral("xx");
    };

    void ClearAllTabs();
    void SearchForTerm();
    void SearchSite(int siteIndex);
    ResultPage *pageOf(const Browser *browser);
    bool servesCurrentSite(const ResultPage &page) const;
    void setPageState(int siteIndex, PageState state);
    void wbProgressChange(Browser *browser, int progress, int maximum);
    void wbNavigateComplete2(Browser *browser);
    void wbCommandStateChange(Browser *browser, int command, bool enabled);
    void wbLoadFinished(Browser *browser, bool ok);
    QVector<QPair<QString, QString>> searchFields();

    Database &m_db;
    Prompter &m_prompter;
    SiteSelection &m_selection;
    SearchFieldsPanel &m_fields;
    SearchWidgets m_w;
    BrowserFactory m_browsers;
    QWidget *m_blank = nullptr;
    QVector<ResultPage> m_pages;
    QVector<int> m_relativeIndex;
    QVector<PageState> m_states;
    int m_currentSiteIndex = 0;
    QPointer<Browser> m_currentBrowser;
    bool m_searchMode = false;
};
