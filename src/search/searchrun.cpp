#include "searchrun.h"

#include "requestbuilder.h"
#include "selection/searchfieldspanel.h"
#include "selection/siteselection.h"
#include "store/database.h"
#include "store/databaseerror.h"
#include "ui/prompter.h"

#include <QAction>
#include <QCheckBox>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QStackedWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

const QString kContentType = QStringLiteral("Content-Type: application/x-www-form-urlencoded\r\n");

QIcon stateIcon(SearchRun::PageState state)
{
    switch (state) {
    case SearchRun::PageState::Loading:
        return QIcon(QStringLiteral(":/icons/state-loading.svg"));
    case SearchRun::PageState::Loaded:
        return QIcon(QStringLiteral(":/icons/state-loaded.svg"));
    case SearchRun::PageState::Failed:
        break;
    }
    return QIcon(QStringLiteral(":/icons/state-failed.svg"));
}

QWidget *notSentPage(const QString &address, QWidget *parent)
{
    auto *page = new QWidget(parent);
    auto *layout = new QVBoxLayout(page);
    auto *label = new QLabel(page);
    label->setObjectName(QStringLiteral("labNotSent"));
    label->setWordWrap(true);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignCenter);
    label->setText(QObject::tr("This site's request was not sent.\n\nIts address does not start with http:// or "
                               "https://, and Korvalt only sends web addresses:\n\n%1\n\nCorrect the address with "
                               "\"Edit Site\", or learn the site again with \"Add Website\".")
                       .arg(address.left(2000)));
    layout->addWidget(label);
    return page;
}

} // namespace

SearchRun::SearchRun(Database &db, Prompter &prompter, SiteSelection &selection, SearchFieldsPanel &fields,
                     const SearchWidgets &widgets, BrowserFactory browsers, QObject *parent)
    : QObject(parent), m_db(db), m_prompter(prompter), m_selection(selection), m_fields(fields), m_w(widgets),
      m_browsers(std::move(browsers))
{
    m_blank = new QWidget(m_w.pcBrowsers);
    m_blank->setObjectName(QStringLiteral("pcBrowsersBlank"));
    m_w.pcBrowsers->addWidget(m_blank);
    m_w.pcBrowsers->setCurrentWidget(m_blank);

    connect(m_w.bGo, &QPushButton::clicked, this, &SearchRun::bGoClick);
    connect(&m_fields, &SearchFieldsPanel::searchRequested, this, &SearchRun::bGoClick);
    connect(m_w.cxSearchAgain, &QPushButton::clicked, this, &SearchRun::cxSearchAgainClick);
    // A click or the arrow keys: whatever moves the selection shows that site.
    connect(m_w.lstSelectSite, &QListWidget::currentRowChanged, this, [this] { lstSelectSiteClick(); });
    connect(m_w.bBack1, &QToolButton::clicked, this, &SearchRun::bBack1Click);
    connect(m_w.bNext1, &QToolButton::clicked, this, &SearchRun::bNext1Click);
    connect(m_w.bStop1, &QToolButton::clicked, this, &SearchRun::bStop1Click);
    connect(m_w.bRefresh1, &QToolButton::clicked, this, &SearchRun::bRefresh1Click);
}

SearchRun::~SearchRun() = default;

QVector<QPair<QString, QString>> SearchRun::searchFields()
{
    QVector<QPair<QString, QString>> fields;
    ResultTable rows = m_db.query(QStringLiteral("SELECT * FROM keywords"));
    for (; !rows.eof(); rows.next())
        fields.append({rows.text(QStringLiteral("ID")), rows.text(QStringLiteral("Search_Text"))});
    return fields;
}

void SearchRun::ClearAllTabs()
{
    m_w.pcBrowsers->hide();
    m_w.pcBrowsers->setCurrentWidget(m_blank);
    m_currentBrowser = nullptr;
    // Pages of the last run are never shown again: they go with their browsers, at once, so that
    // the engine can release their memory before the new run's pages load. bGoClick never runs
    // inside an event of one of these browsers.
    const QVector<ResultPage> old = std::exchange(m_pages, {});
    for (const ResultPage &page : old) {
        if (page.page) {
            m_w.pcBrowsers->removeWidget(page.page);
            delete page.page.data();
        }
    }
}

void SearchRun::bGoClick()
{
    ClearAllTabs();
    if (m_selection.siteTotal() == 0) {
        m_prompter.error(QStringLiteral("No Sites Selected - Please Select one or more"));
        return;
    }
    QVector<QPair<QString, QString>> fields;
    try {
        fields = searchFields();
    } catch (const DatabaseError &e) {
        m_prompter.error(e.message());
        return;
    }
    bool typed = false;
    for (const auto &field : fields) {
        if (!m_fields.text(field.first).isEmpty()) {
            typed = true;
            break;
        }
    }
    if (!typed) {
        m_prompter.error(QStringLiteral("Please enter something to search for"));
        if (!fields.isEmpty()) {
            if (QLineEdit *first = m_fields.box(fields.first().first))
                first->setFocus(Qt::OtherFocusReason);
        }
        return;
    }

    m_w.edLink2->clear();
    {
        const QSignalBlocker block(m_w.lstSelectSite);
        m_w.lstSelectSite->clear();
    }
    m_relativeIndex.clear();
    m_states.clear();
    const SiteListModel &sites = m_selection.sites();
    for (int i = 0; i < sites.count(); ++i) {
        if (!sites.entry(i).ticked)
            continue;
        auto *item = new QListWidgetItem(stateIcon(PageState::Loading), sites.entry(i).name);
        item->setToolTip(sites.entry(i).name.left(300));
        const QSignalBlocker block(m_w.lstSelectSite);
        m_w.lstSelectSite->addItem(item);
        m_relativeIndex.append(i);
        m_states.append(PageState::Loading);
    }
    DoSearchMode();
    SearchForTerm();
    if (sites.count() > 0 && m_w.lstSelectSite->count() > 0) {
        const QSignalBlocker block(m_w.lstSelectSite);
        m_w.lstSelectSite->setCurrentRow(0);
    }
    if (sites.count() > 0 && m_w.lstSelectSite->count() > 0)
        lstSelectSiteClick();
}

void SearchRun::SearchForTerm()
{
    for (int siteIndex : qAsConst(m_relativeIndex))
        SearchSite(siteIndex);
}

void SearchRun::SearchSite(int siteIndex)
{
    if (siteIndex < 0 || siteIndex >= m_selection.sites().count())
        return;
    SiteEntry &site = m_selection.sites().entry(siteIndex);
    // A flag that is no integer is sent as a GET; the run goes on.
    const bool post = isPostFlag(site.isPost);

    QString address;
    QString body;
    bool loginStep = false;
    if (!site.loginUrl.isEmpty() && site.doLogin != QLatin1String("0")) {
        site.doLogin = QStringLiteral("1");
        loginStep = true;
        address = site.loginUrl;
        body = site.loginPost;
    } else {
        QVector<FieldValue> values;
        try {
            for (const auto &field : searchFields())
                values.append({field.second, m_fields.text(field.first)});
        } catch (const DatabaseError &e) {
            m_prompter.error(e.message());
            return;
        }
        const FilledRequest filled = FillPlaceholders(site.url, site.post, values);
        address = filled.address;
        body = post ? filled.body : QString();
    }

    m_w.pcBrowsers->hide();
    ResultPage result;
    result.siteIndex = siteIndex;
    result.siteId = site.id;
    result.loginStep = loginStep;

    if (!isSendableAddress(address)) {
        result.page = notSentPage(address, m_w.pcBrowsers);
        m_w.pcBrowsers->addWidget(result.page);
        m_pages.append(result);
        m_currentBrowser = nullptr;
        setPageState(siteIndex, PageState::Failed);
    } else {
        auto *page = new QWidget(m_w.pcBrowsers);
        page->setProperty("siteIndex", siteIndex);
        auto *layout = new QVBoxLayout(page);
        layout->setContentsMargins(0, 0, 0, 0);
        Browser *browser = m_browsers(page);
        browser->setTag(siteIndex);
        browser->setSilent(true);
        browser->setPopupsAllowed(!m_w.chkDisablePopups->isChecked());
        layout->addWidget(browser);
        result.page = page;
        result.browser = browser;
        m_w.pcBrowsers->addWidget(page);
        m_pages.append(result);
        m_currentBrowser = browser;

        connect(browser, &Browser::progressChange, this,
                [this, browser](int progress, int maximum) { wbProgressChange(browser, progress, maximum); });
        connect(browser, &Browser::navigateComplete, this, [this, browser] { wbNavigateComplete2(browser); });
        connect(browser, &Browser::commandStateChange, this,
                [this, browser](int command, bool enabled) { wbCommandStateChange(browser, command, enabled); });
        connect(browser, &Browser::loadFinished, this, [this, browser](bool ok) { wbLoadFinished(browser, ok); });

        if (!body.isEmpty())
            browser->navigate(address, body.toUtf8(), kContentType);
        else
            browser->navigate(address);
    }
    m_w.pcBrowsers->setCurrentWidget(m_pages.last().page);
    m_w.pcBrowsers->show();
}

SearchRun::ResultPage *SearchRun::pageOf(const Browser *browser)
{
    for (ResultPage &page : m_pages) {
        if (page.browser == browser)
            return &page;
    }
    return nullptr;
}

// Events of a page whose site is no longer at its index (the list was refilled) are ignored.
bool SearchRun::servesCurrentSite(const ResultPage &page) const
{
    const SiteListModel &sites = m_selection.sites();
    return page.siteIndex >= 0 && page.siteIndex < sites.count() && sites.entry(page.siteIndex).id == page.siteId;
}

void SearchRun::setPageState(int siteIndex, PageState state)
{
    for (int i = 0; i < m_relativeIndex.size(); ++i) {
        if (m_relativeIndex.at(i) != siteIndex || i >= m_w.lstSelectSite->count())
            continue;
        m_states[i] = state;
        m_w.lstSelectSite->item(i)->setIcon(stateIcon(state));
    }
}

SearchRun::PageState SearchRun::pageState(int searchedPosition) const
{
    return m_states.value(searchedPosition, PageState::Loading);
}

QString SearchRun::historyState(const Browser *browser) const
{
    for (const ResultPage &page : m_pages) {
        if (page.browser == browser)
            return page.history;
    }
    return QString();
}

void SearchRun::wbProgressChange(Browser *browser, int progress, int maximum)
{
    const ResultPage *page = pageOf(browser);
    if (!page || page->siteIndex != m_currentSiteIndex)
        return;
    m_w.pb->setMaximum(qMax(1, maximum));
    m_w.pb->setValue(qBound(0, progress, qMax(1, maximum)));
}

void SearchRun::wbNavigateComplete2(Browser *browser)
{
    ResultPage *page = pageOf(browser);
    if (!page || !servesCurrentSite(*page))
        return;
    const int siteIndex = page->siteIndex;
    SiteEntry &site = m_selection.sites().entry(siteIndex);
    if (page->loginStep && site.doLogin == QLatin1String("1")) {
        // Logged in: now the search itself, on a page of its own.
        site.doLogin = QStringLiteral("0");
        page->loginStep = false;
        const bool onShow = m_currentSiteIndex == siteIndex;
        SearchSite(siteIndex);
        if (onShow && m_w.lstSelectSite->currentRow() >= 0)
            SetBrowserVisible(siteIndex, true);
        return;
    }
    if (siteIndex == m_currentSiteIndex && browser == m_currentBrowser) {
        m_w.bStop1->setEnabled(true);
        m_w.bRefresh1->setEnabled(true);
        m_w.edLink2->setText(browser->locationUrl().toString());
    }
}

void SearchRun::wbCommandStateChange(Browser *browser, int command, bool enabled)
{
    ResultPage *page = pageOf(browser);
    if (!page)
        return;
    if (command == Browser::CommandForward)
        page->history[1] = enabled ? QLatin1Char('1') : QLatin1Char('0');
    else if (command == Browser::CommandBack)
        page->history[0] = enabled ? QLatin1Char('1') : QLatin1Char('0');
    if (page->siteIndex == m_currentSiteIndex && browser == m_currentBrowser) {
        m_w.bBack1->setEnabled(page->history.at(0) == QLatin1Char('1'));
        m_w.bNext1->setEnabled(page->history.at(1) == QLatin1Char('1'));
    }
}

void SearchRun::wbLoadFinished(Browser *browser, bool ok)
{
    ResultPage *page = pageOf(browser);
    if (!page || !servesCurrentSite(*page))
        return;
    // The newest page of a site speaks for it (a login page is followed by the search page).
    const ResultPage *newest = nullptr;
    for (const ResultPage &p : qAsConst(m_pages)) {
        if (p.siteIndex == page->siteIndex)
            newest = &p;
    }
    if (newest != page)
        return;
    if (page->loginStep && ok)
        return;
    setPageState(page->siteIndex, ok ? PageState::Loaded : PageState::Failed);
}

void SearchRun::lstSelectSiteClick()
{
    EnableBrowseButtons();
    const int row = m_w.lstSelectSite->currentRow();
    if (row < 0 || row >= m_relativeIndex.size()) {
        m_w.chkCategories->setEnabled(true);
        m_w.lstSelectSite->setEnabled(true);
        return;
    }
    m_w.panBrowsers->show();
    SetBrowserVisible(m_relativeIndex.at(row), true);
}

void SearchRun::SetBrowserVisible(int siteIndex, bool show)
{
    for (QToolButton *b : {m_w.bBack1, m_w.bNext1, m_w.bStop1, m_w.bRefresh1})
        b->setEnabled(false);
    m_w.edLink2->clear();
    m_w.pcBrowsers->setCurrentWidget(m_blank);
    m_w.pb->setValue(0);
    m_currentSiteIndex = siteIndex;

    bool found = false;
    for (const ResultPage &page : qAsConst(m_pages))
        found = found || (page.siteIndex == siteIndex && page.page);
    if (!show || !found) {
        m_w.PnlBrowsers->hide();
        return;
    }
    m_w.PnlBrowsers->show();
    m_currentBrowser = nullptr;
    QString history = QStringLiteral("xx");
    for (const ResultPage &page : qAsConst(m_pages)) {
        if (page.siteIndex != siteIndex || !page.page)
            continue;
        m_w.pcBrowsers->setCurrentWidget(page.page);
        m_currentBrowser = page.browser;
        history = page.history;
    }
    m_w.pcBrowsers->show();
    if (m_currentBrowser) {
        m_w.bBack1->setEnabled(history.at(0) == QLatin1Char('1'));
        m_w.bNext1->setEnabled(history.at(1) == QLatin1Char('1'));
        m_w.bStop1->setEnabled(true);
        m_w.bRefresh1->setEnabled(true);
        m_w.edLink2->setText(m_currentBrowser->locationUrl().toString());
    }
}

void SearchRun::EnableBrowseButtons()
{
    const int n = m_w.lstSelectSite->count();
    const int i = m_w.lstSelectSite->currentRow();
    m_w.dxFirst->setEnabled(n > 0 && i != 0);
    m_w.dxPrev->setEnabled(n > 0 && i != 0);
    m_w.dxNext->setEnabled(n > 0 && i != n - 1);
    m_w.dxLast->setEnabled(n > 0 && i != n - 1);
}

void SearchRun::DoSearchMode()
{
    m_searchMode = true;
    m_w.lstSites->hide();
    m_w.lstSelectSite->show();
    m_w.chkCategories->setEnabled(false);
    m_w.panRecordCount->hide();
    m_w.cxSearchAgain->show();
    m_w.bGo->hide();
    m_w.panTopSearch->setFixedHeight(96);
    m_w.sbSearchFields->hide();
    m_w.dxSiteCategoryManagement->setEnabled(false);
    m_w.dxImportBacklinks->setEnabled(false);
    EnableBrowseButtons();
    m_w.chkDisablePopups->setEnabled(false);
    m_w.chkSiteCategories->hide();
    m_w.chkSitesTicked->hide();
}

void SearchRun::ClearSearchMode()
{
    m_searchMode = false;
    m_w.lstSelectSite->hide();
    m_w.lstSites->show();
    m_w.chkCategories->setEnabled(true);
    m_w.panRecordCount->hide();
    m_w.cxSearchAgain->hide();
    m_w.bGo->show();
    m_w.panTopSearch->setFixedHeight(200);
    try {
        if (m_fields.controlCount() == 0)
            m_fields.cxButton1Click(m_db);
    } catch (const DatabaseError &e) {
        m_prompter.error(e.message());
    }
    m_w.sbSearchFields->show();
    m_w.dxSiteCategoryManagement->setEnabled(true);
    m_w.dxImportBacklinks->setEnabled(true);
    for (QAction *a : {m_w.dxFirst, m_w.dxPrev, m_w.dxNext, m_w.dxLast})
        a->setEnabled(false);
    m_w.chkDisablePopups->setEnabled(true);
    m_w.chkSiteCategories->show();
    m_w.chkSitesTicked->show();
    m_w.panBrowsers->hide();
}

void SearchRun::cxSearchAgainClick()
{
    ClearSearchMode();
    try {
        m_fields.focusFirstField(m_db);
    } catch (const DatabaseError &e) {
        m_prompter.error(e.message());
    }
}

void SearchRun::bBack1Click()
{
    if (m_currentBrowser)
        m_currentBrowser->goBack();
}

void SearchRun::bNext1Click()
{
    if (m_currentBrowser)
        m_currentBrowser->goForward();
}

void SearchRun::bStop1Click()
{
    if (m_currentBrowser)
        m_currentBrowser->stop();
}

void SearchRun::bRefresh1Click()
{
    if (m_currentBrowser)
        m_currentBrowser->refresh();
}
