#include "searchmain.h"

#include "appinfo.h"
#include "catalogue/addweb.h"
#include "catalogue/categories.h"
#include "catalogue/editsite.h"
#include "catalogue/siteediting.h"
#include "search/searchrun.h"
#include "selection/searchfieldspanel.h"
#include "selection/siteselection.h"
#include "splash.h"
#include "store/databaseerror.h"
#include "store/projectlifecycle.h"
#include "store/textlines.h"
#include "ui/keyboardstate.h"
#include "ui/prompter.h"
#include "ui/ribbon.h"

#include <QAction>
#include <QApplication>
#include <QBoxLayout>
#include <QCheckBox>
#include <QClipboard>
#include <QCloseEvent>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QSplitter>
#include <QStackedWidget>
#include <QStatusBar>
#include <QToolButton>
#include <QScopeGuard>
#include <QUrl>

// The resources live in a static library: name them, or the linker may leave them out.
static void initResources()
{
    Q_INIT_RESOURCE(resources);
}

namespace {

QWidget *paneHeader(const QString &caption, QCheckBox *tickAll, QWidget *parent)
{
    auto *header = new QFrame(parent);
    header->setProperty("class", QStringLiteral("paneHeader"));
    header->setFixedHeight(24);
    auto *layout = new QHBoxLayout(header);
    layout->setContentsMargins(4, 0, 4, 0);
    tickAll->setParent(header);
    tickAll->setChecked(true);
    tickAll->setToolTip(QObject::tr("Tick or untick all"));
    layout->addWidget(tickAll);
    auto *label = new QLabel(caption, header);
    label->setAlignment(Qt::AlignCenter);
    QFont font = label->font();
    font.setPixelSize(15);
    label->setFont(font);
    layout->addWidget(label, 1);
    layout->addSpacing(tickAll->sizeHint().width());
    return header;
}

QIcon icon(const QString &name)
{
    return QIcon(QStringLiteral(":/icons/%1.svg").arg(name));
}

} // namespace

TfrmMain::TfrmMain(Prompter &prompter, ShellOpener shellOpen, BrowserFactory browsers, const Options &options,
                   QWidget *parent)
    : QMainWindow(parent), m_prompter(prompter), m_shellOpen(std::move(shellOpen)), m_browsers(std::move(browsers)),
      m_options(options)
{
    initResources();
    setObjectName(QStringLiteral("TfrmMain"));
    setWindowTitle(AppInfo::kCaption);
    setWindowIcon(icon(QStringLiteral("korvalt")));
    setMinimumSize(900, 560);
    resize(1528, 637);
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());

    m_lifecycle = new ProjectLifecycle(m_db, m_prompter, m_options.programFolder, this);

    buildRibbon();
    auto *central = new QWidget(this);
    auto *centralLayout = new QVBoxLayout(central);
    centralLayout->setContentsMargins(0, 0, 0, 0);
    centralLayout->setSpacing(0);
    centralLayout->addWidget(m_ribbon);
    auto *split = new QSplitter(Qt::Horizontal, central);
    split->setObjectName(QStringLiteral("splitLeft"));
    split->setHandleWidth(7);
    split->setChildrenCollapsible(false);
    split->addWidget(buildLeftPane());
    split->addWidget(buildRightPane());
    split->setStretchFactor(1, 1);
    split->setSizes({321, 1200});
    centralLayout->addWidget(split, 1);
    setCentralWidget(central);
    buildStatusBar();

    m_fields = new SearchFieldsPanel(sbSearchFields, this);
    SelectionWidgets w;
    w.chkCategories = chkCategories;
    w.chkSiteCategories = chkSiteCategories;
    w.chkSitesTicked = chkSitesTicked;
    w.lstSites = lstSites;
    w.lstSelectSite = lstSelectSite;
    w.panRecordCount = panRecordCount;
    w.cxEditSite = cxEditSite;
    w.cxDeleteSite = cxDeleteSite;
    w.panTopSearch = panTopSearch;
    w.panPleaseSelectSite = panPleaseSelectSite;
    w.chkDisablePopups = chkDisablePopups;
    w.bGo = bGo;
    w.cxSearchAgain = cxSearchAgain;
    w.sbSearchFields = sbSearchFields;
    w.panBrowsers = panBrowsers;
    w.dxFirst = dxFirst;
    w.dxPrev = dxPrev;
    w.dxNext = dxNext;
    w.dxLast = dxLast;
    w.dxImportBacklinks = dxImportBacklinks;
    m_selection = new SiteSelection(m_db, m_prompter, w, *m_fields, this);
    SearchWidgets sw;
    sw.lstSelectSite = lstSelectSite;
    sw.lstSites = lstSites;
    sw.chkCategories = chkCategories;
    sw.chkSiteCategories = chkSiteCategories;
    sw.chkSitesTicked = chkSitesTicked;
    sw.chkDisablePopups = chkDisablePopups;
    sw.panRecordCount = panRecordCount;
    sw.panTopSearch = panTopSearch;
    sw.sbSearchFields = sbSearchFields;
    sw.bGo = bGo;
    sw.cxSearchAgain = cxSearchAgain;
    sw.panBrowsers = panBrowsers;
    sw.PnlBrowsers = PnlBrowsers;
    sw.pcBrowsers = pcBrowsers;
    sw.pb = pb;
    sw.edLink2 = edLink2;
    sw.bBack1 = bBack1;
    sw.bNext1 = bNext1;
    sw.bStop1 = bStop1;
    sw.bRefresh1 = bRefresh1;
    sw.dxSiteCategoryManagement = dxSiteCategoryManagement;
    sw.dxImportBacklinks = dxImportBacklinks;
    sw.dxFirst = dxFirst;
    sw.dxPrev = dxPrev;
    sw.dxNext = dxNext;
    sw.dxLast = dxLast;
    m_search = new SearchRun(m_db, m_prompter, *m_selection, *m_fields, sw, m_browsers, this);
    m_selection->setSearchModeHooks(m_search);
    m_lifecycle->setHooks(this);

    connect(m_lifecycle, &ProjectLifecycle::modifiedChanged, this, [this](bool modified) {
        m_modifiedPanel->setText(modified ? QStringLiteral("Modified") : QString());
        dxSaveProject->setEnabled(modified);
    });
    connect(m_lifecycle, &ProjectLifecycle::fileNameShown, this, [this](const QString &text) {
        m_fileNamePanel->setText(text);
        m_fileNamePanel->setToolTip(text);
    });
    connect(m_lifecycle, &ProjectLifecycle::recentListChanged, m_ribbon->applicationMenu(),
            &ApplicationMenu::setRecentItems);
    connect(m_ribbon->applicationMenu(), &ApplicationMenu::recentItemClicked, m_lifecycle,
            &ProjectLifecycle::dxBarApplicationMenu1ExtraPaneItemClick);

    connect(dxNewProject, &QAction::triggered, m_lifecycle, &ProjectLifecycle::dxNewProjectClick);
    connect(dxOpenProject, &QAction::triggered, m_lifecycle, &ProjectLifecycle::dxOpenProjectClick);
    connect(dxSaveProject, &QAction::triggered, m_lifecycle, &ProjectLifecycle::dxSaveProjectClick);
    connect(dxSaveProjectAs, &QAction::triggered, m_lifecycle, &ProjectLifecycle::dxSaveProjectAsClick);
    connect(dxFirst, &QAction::triggered, m_selection, &SiteSelection::dxFirstClick);
    connect(dxPrev, &QAction::triggered, m_selection, &SiteSelection::dxPrevClick);
    connect(dxNext, &QAction::triggered, m_selection, &SiteSelection::dxNextClick);
    connect(dxLast, &QAction::triggered, m_selection, &SiteSelection::dxLastClick);
    connect(dxBarLargeButton1, &QAction::triggered, this, &TfrmMain::dxBarLargeButton1Click);
    connect(dxBarLargeButton5, &QAction::triggered, this, &TfrmMain::dxBarLargeButton5Click);
    connect(dxBarLargeButton2, &QAction::triggered, this, &TfrmMain::dxBarLargeButton2Click);
    connect(dxExit, &QAction::triggered, this, &QWidget::close);
    connect(bCopy, &QPushButton::clicked, this, [this] {
        edLink2->selectAll();
        QApplication::clipboard()->setText(edLink2->text());
    });
    connect(bLaunch, &QPushButton::clicked, this, [this] { BrowseURL(edLink2->text()); });

    // The windows of the program, in their order: the category manager, the splash window, the
    // add-website dialog, the edit-site dialog.
    const auto setDirty = [this] { SetDirty(); };
    m_categories = new TfrmCategories(m_db, m_prompter, setDirty, this);
    m_splash = new TfrmSplash(this, m_options.splashMilliseconds);
    m_addWebsite = new TfrmAddWebsite(m_db, m_prompter, m_browsers, m_lifecycle->workingCopyPath(), *this, this);
    m_editSite = new TfrmEditSite(m_db, m_prompter, this);
    m_editing = new SiteEditing(m_db, m_prompter, *m_selection, *m_editSite, *m_categories, setDirty, this);
    connect(dxImportBacklinks, &QAction::triggered, this, &TfrmMain::dxImportBacklinksClick);
    connect(dxSiteCategoryManagement, &QAction::triggered, m_editing, &SiteEditing::dxSiteCategoryManagementClick);
    connect(cxEditSite, &QPushButton::clicked, m_editing, &SiteEditing::cxEditSiteClick);
    connect(cxDeleteSite, &QPushButton::clicked, m_editing, &SiteEditing::cxDeleteSiteClick);
    // A double click on a site edits it, as the Edit Site button does.
    connect(lstSites, &QListView::doubleClicked, m_editing, &SiteEditing::cxEditSiteClick);

    panURL->installEventFilter(this);
    panTopSearch->installEventFilter(this);
    panRecordCount->installEventFilter(this);
}

TfrmMain::~TfrmMain() = default;

QAction *TfrmMain::makeAction(const char *name, const QString &caption, const QString &iconName)
{
    auto *action = new QAction(icon(iconName), caption, this);
    action->setObjectName(QString::fromLatin1(name));
    action->setIconVisibleInMenu(true);
    addAction(action);
    return action;
}

void TfrmMain::buildRibbon()
{
    dxNewProject = makeAction("dxNewProject", QStringLiteral("&New Project"), QStringLiteral("new-project"));
    dxNewProject->setShortcut(QKeySequence::New);
    dxOpenProject = makeAction("dxOpenProject", QStringLiteral("&Open Project"), QStringLiteral("open-project"));
    dxOpenProject->setShortcut(QKeySequence::Open);
    dxSaveProject = makeAction("dxSaveProject", QStringLiteral("Save Project"), QStringLiteral("save-project"));
    dxSaveProject->setShortcut(QKeySequence::Save);
    dxSaveProject->setEnabled(false);
    dxSaveProjectAs = makeAction("dxSaveProjectAs", QStringLiteral("Save Project &As..."), QStringLiteral("save-project-as"));
    dxSaveProjectAs->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    dxFirst = makeAction("dxFirst", QStringLiteral("First Site"), QStringLiteral("first-site"));
    dxPrev = makeAction("dxPrev", QStringLiteral("Previous Site"), QStringLiteral("previous-site"));
    dxNext = makeAction("dxNext", QStringLiteral("Next Site"), QStringLiteral("next-site"));
    dxLast = makeAction("dxLast", QStringLiteral("Last Site"), QStringLiteral("last-site"));
    for (QAction *a : {dxFirst, dxPrev, dxNext, dxLast})
        a->setEnabled(false);
    dxSiteCategoryManagement = makeAction("dxSiteCategoryManagement", QStringLiteral("Site Category Management"),
                                          QStringLiteral("category-management"));
    dxImportBacklinks = makeAction("dxImportBacklinks", QStringLiteral("Add Website"), QStringLiteral("add-website"));
    dxImportBacklinks->setEnabled(false);
    dxBarLargeButton1 = makeAction("dxBarLargeButton1", QStringLiteral("User Guide"), QStringLiteral("user-guide"));
    dxBarLargeButton1->setShortcut(QKeySequence::HelpContents);
    dxBarLargeButton5 = makeAction("dxBarLargeButton5", QStringLiteral("Technical Support"),
                                   QStringLiteral("technical-support"));
    dxBarLargeButton2 = makeAction("dxBarLargeButton2", QStringLiteral("About Application"), QStringLiteral("about"));
    dxExit = makeAction("dxExit", QStringLiteral("E&xit"), QStringLiteral("exit"));

    for (QAction *a : {dxNewProject, dxOpenProject, dxSaveProject, dxSaveProjectAs}) {
        if (!a->shortcut().isEmpty())
            a->setToolTip(a->text().remove(QLatin1Char('&')) + QStringLiteral(" (")
                          + a->shortcut().toString(QKeySequence::NativeText) + QLatin1Char(')'));
    }

    m_ribbon = new Ribbon(this);
    m_ribbon->setDocumentName(QStringLiteral("Untitled Project"));
    m_ribbon->addTab(QStringLiteral("Search Multiple Website at Once!"));
    m_ribbon->addGroup(QStringLiteral("Project Management"));
    for (QAction *a : {dxNewProject, dxOpenProject, dxSaveProject, dxSaveProjectAs})
        m_ribbon->addLargeButton(a);
    m_ribbon->addGroup(QStringLiteral("Browse"));
    for (QAction *a : {dxFirst, dxPrev, dxNext, dxLast})
        m_ribbon->addLargeButton(a);
    m_ribbon->addGroup(QStringLiteral("Configuration"));
    for (QAction *a : {dxSiteCategoryManagement, dxImportBacklinks, dxBarLargeButton1, dxBarLargeButton5,
                       dxBarLargeButton2})
        m_ribbon->addLargeButton(a);
    for (QAction *a : {dxNewProject, dxOpenProject, dxSaveProject})
        m_ribbon->addQuickAccess(a);

    ApplicationMenu *menu = m_ribbon->applicationMenu();
    menu->addAction(dxNewProject);
    menu->addSeparator();
    menu->addAction(dxOpenProject);
    menu->addAction(dxSaveProject);
    menu->addAction(dxSaveProjectAs);
    menu->addSeparator();
    menu->addAction(dxExit);
}

QWidget *TfrmMain::buildLeftPane()
{
    auto *panLeft = new QSplitter(Qt::Vertical);
    panLeft->setObjectName(QStringLiteral("panLeft"));
    panLeft->setHandleWidth(7);
    panLeft->setChildrenCollapsible(false);
    panLeft->setMinimumWidth(220);

    QFont listFont = font();
    listFont.setPixelSize(14);

    auto *top = new QWidget(panLeft);
    auto *topLayout = new QVBoxLayout(top);
    topLayout->setContentsMargins(0, 0, 0, 0);
    topLayout->setSpacing(0);
    chkSiteCategories = new QCheckBox;
    chkSiteCategories->setObjectName(QStringLiteral("chkSiteCategories"));
    topLayout->addWidget(paneHeader(QStringLiteral("Site Categories"), chkSiteCategories, top));
    chkCategories = new QListWidget(top);
    chkCategories->setObjectName(QStringLiteral("chkCategories"));
    chkCategories->setFont(listFont);
    chkCategories->setUniformItemSizes(true);
    chkCategories->setTextElideMode(Qt::ElideRight);
    topLayout->addWidget(chkCategories, 1);

    auto *bottom = new QWidget(panLeft);
    auto *bottomLayout = new QVBoxLayout(bottom);
    bottomLayout->setContentsMargins(0, 0, 0, 0);
    bottomLayout->setSpacing(0);
    chkSitesTicked = new QCheckBox;
    chkSitesTicked->setObjectName(QStringLiteral("chkSitesTicked"));
    bottomLayout->addWidget(paneHeader(QStringLiteral("Sites"), chkSitesTicked, bottom));
    lstSites = new QListView(bottom);
    lstSites->setObjectName(QStringLiteral("lstSites"));
    lstSites->setFont(listFont);
    lstSites->setUniformItemSizes(true);
    lstSites->setSelectionMode(QAbstractItemView::SingleSelection);
    lstSites->setTextElideMode(Qt::ElideRight);
    bottomLayout->addWidget(lstSites, 1);
    lstSelectSite = new QListWidget(bottom);
    lstSelectSite->setObjectName(QStringLiteral("lstSelectSite"));
    lstSelectSite->setFont(listFont);
    lstSelectSite->setUniformItemSizes(true);
    lstSelectSite->hide();
    bottomLayout->addWidget(lstSelectSite, 1);

    panRecordCount = new QWidget(bottom);
    panRecordCount->setObjectName(QStringLiteral("panRecordCount"));
    panRecordCount->setAttribute(Qt::WA_StyledBackground, true);
    panRecordCount->setFixedHeight(40);
    cxEditSite = new QPushButton(QStringLiteral("Edit Site"), panRecordCount);
    cxEditSite->setObjectName(QStringLiteral("cxEditSite"));
    cxEditSite->setGeometry(0, 2, 121, 36);
    cxDeleteSite = new QPushButton(QStringLiteral("Delete Site"), panRecordCount);
    cxDeleteSite->setObjectName(QStringLiteral("cxDeleteSite"));
    cxDeleteSite->setGeometry(200, 2, 121, 36);
    panRecordCount->hide();
    bottomLayout->addWidget(panRecordCount);

    panLeft->addWidget(top);
    panLeft->addWidget(bottom);
    panLeft->setSizes({265, 400});
    return panLeft;
}

QWidget *TfrmMain::buildRightPane()
{
    auto *right = new QWidget;
    right->setObjectName(QStringLiteral("panRight"));
    auto *layout = new QVBoxLayout(right);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    panTopSearch = new QWidget(right);
    panTopSearch->setObjectName(QStringLiteral("panTopSearch"));
    panTopSearch->setAttribute(Qt::WA_StyledBackground, true);
    panTopSearch->setFixedHeight(96);
    auto *title = new QFrame(panTopSearch);
    title->setProperty("class", QStringLiteral("paneHeader"));
    title->setObjectName(QStringLiteral("panSearchTitle"));
    auto *titleLabel = new QLabel(QStringLiteral("Search"), title);
    titleLabel->setAlignment(Qt::AlignCenter);
    auto *titleLayout = new QHBoxLayout(title);
    titleLayout->setContentsMargins(0, 0, 0, 0);
    titleLayout->addWidget(titleLabel);
    title->setGeometry(0, 0, 2000, 24);

    cxSearchAgain = new QPushButton(icon(QStringLiteral("new-search")), QStringLiteral("New Search"), panTopSearch);
    cxSearchAgain->setObjectName(QStringLiteral("cxSearchAgain"));
    cxSearchAgain->setGeometry(0, 26, 105, 67);
    cxSearchAgain->setIconSize(QSize(24, 24));
    cxSearchAgain->hide();
    bGo = new QPushButton(icon(QStringLiteral("search")), QStringLiteral("Search"), panTopSearch);
    bGo->setObjectName(QStringLiteral("bGo"));
    bGo->setGeometry(400, 26, 105, 67);
    bGo->setIconSize(QSize(32, 32));
    bGo->setToolTip(QStringLiteral("Search the ticked sites (Enter)"));
    bGo->hide();
    panPleaseSelectSite = new QLabel(panTopSearch);
    panPleaseSelectSite->setObjectName(QStringLiteral("panPleaseSelectSite"));
    panPleaseSelectSite->setGeometry(112, 37, 300, 41);
    QFont guidance = panPleaseSelectSite->font();
    guidance.setPixelSize(15);
    panPleaseSelectSite->setFont(guidance);
    sbSearchFields = new QScrollArea(panTopSearch);
    sbSearchFields->setObjectName(QStringLiteral("sbSearchFields"));
    sbSearchFields->setFrameShape(QFrame::NoFrame);
    sbSearchFields->viewport()->setAutoFillBackground(false);
    sbSearchFields->setStyleSheet(QStringLiteral("QScrollArea#sbSearchFields, QWidget#sbSearchFieldsContents "
                                                 "{ background: transparent; }"));
    sbSearchFields->setGeometry(112, 31, 300, 161);
    sbSearchFields->hide();
    chkDisablePopups = new QCheckBox(QStringLiteral("Disable Popup Windows"), panTopSearch);
    chkDisablePopups->setObjectName(QStringLiteral("chkDisablePopups"));
    chkDisablePopups->setGeometry(400, 98, 145, 17);
    chkDisablePopups->adjustSize();
    chkDisablePopups->hide();
    layout->addWidget(panTopSearch);

    panBrowsers = new QWidget(right);
    panBrowsers->setObjectName(QStringLiteral("panBrowsers"));
    auto *browsersLayout = new QVBoxLayout(panBrowsers);
    browsersLayout->setContentsMargins(0, 0, 0, 0);
    browsersLayout->setSpacing(0);
    PnlBrowsers = new QWidget(panBrowsers);
    PnlBrowsers->setObjectName(QStringLiteral("PnlBrowsers"));
    auto *pnlLayout = new QVBoxLayout(PnlBrowsers);
    pnlLayout->setContentsMargins(0, 0, 0, 0);
    pnlLayout->setSpacing(0);
    panURL = new QWidget(PnlBrowsers);
    panURL->setObjectName(QStringLiteral("panURL"));
    panURL->setAttribute(Qt::WA_StyledBackground, true);
    panURL->setFixedHeight(39);
    auto imageButton = [this](const char *name, const QString &hint, const QString &iconName, int left) {
        auto *b = new QToolButton(panURL);
        b->setObjectName(QString::fromLatin1(name));
        b->setToolTip(hint);
        b->setIcon(icon(iconName));
        b->setIconSize(QSize(22, 22));
        b->setAutoRaise(true);
        b->setGeometry(left, 2, 38, 36);
        b->setEnabled(false);
        return b;
    };
    bBack1 = imageButton("bBack1", QStringLiteral("Back"), QStringLiteral("back"), 2);
    bNext1 = imageButton("bNext1", QStringLiteral("Forward"), QStringLiteral("forward"), 42);
    bStop1 = imageButton("bStop1", QStringLiteral("Stop"), QStringLiteral("stop"), 80);
    bRefresh1 = imageButton("bRefresh1", QStringLiteral("Refresh"), QStringLiteral("refresh"), 120);
    bCopy = new QPushButton(icon(QStringLiteral("copy-url")), QStringLiteral("Copy URL to Clipboard"), panURL);
    bCopy->setObjectName(QStringLiteral("bCopy"));
    bCopy->setGeometry(160, 2, 145, 36);
    panDisplayURL = new QFrame(panURL);
    panDisplayURL->setObjectName(QStringLiteral("panDisplayURL"));
    panDisplayURL->setGeometry(306, 4, 683, 33);
    edLink2 = new QLineEdit(panDisplayURL);
    edLink2->setObjectName(QStringLiteral("edLink2"));
    edLink2->setReadOnly(true);
    edLink2->setFrame(false);
    edLink2->setGeometry(8, 5, 665, 23);
    bLaunch = new QPushButton(icon(QStringLiteral("launch-browser")), QStringLiteral("Launch in Default Web Browser"),
                              panURL);
    bLaunch->setObjectName(QStringLiteral("bLaunch"));
    bLaunch->setGeometry(990, 2, 193, 36);
    for (QPushButton *b : {bCopy, bLaunch})
        b->resize(qMax(b->width(), b->sizeHint().width()), 36);
    pnlLayout->addWidget(panURL);
    pcBrowsers = new QStackedWidget(PnlBrowsers);
    pcBrowsers->setObjectName(QStringLiteral("pcBrowsers"));
    pnlLayout->addWidget(pcBrowsers, 1);
    browsersLayout->addWidget(PnlBrowsers, 1);
    pb = new QProgressBar(panBrowsers);
    pb->setObjectName(QStringLiteral("pb"));
    pb->setFixedHeight(25);
    pb->setTextVisible(false);
    pb->setValue(0);
    browsersLayout->addWidget(pb);
    panBrowsers->hide();
    layout->addWidget(panBrowsers, 1);
    // Fills the space of the result area while no result page is on show.
    auto *hint = new QLabel(QStringLiteral("Tick the categories and sites to search on the left, type your terms "
                                           "above and press Enter.\nEach site's result page opens here."),
                            right);
    hint->setObjectName(QStringLiteral("labResultHint"));
    hint->setAlignment(Qt::AlignCenter);
    hint->setStyleSheet(QStringLiteral("color: #8a90a0;"));
    layout->addWidget(hint, 1);
    panBrowsers->installEventFilter(this);
    return right;
}

void TfrmMain::buildStatusBar()
{
    auto *bar = new QStatusBar(this);
    bar->setObjectName(QStringLiteral("dxRibbonStatusBar"));
    bar->setSizeGripEnabled(true);
    bar->setFixedHeight(23);
    m_keyboardPanel = new QLabel(bar);
    m_keyboardPanel->setObjectName(QStringLiteral("panKeyboardState"));
    m_modifiedPanel = new QLabel(bar);
    m_modifiedPanel->setObjectName(QStringLiteral("panModified"));
    m_modifiedPanel->setFixedWidth(75);
    m_modifiedPanel->setAlignment(Qt::AlignCenter);
    m_fileNamePanel = new QLabel(bar);
    m_fileNamePanel->setObjectName(QStringLiteral("panFileName"));
    m_fileNamePanel->setFixedWidth(300);
    bar->addWidget(m_keyboardPanel, 1);
    bar->addPermanentWidget(m_modifiedPanel);
    bar->addPermanentWidget(m_fileNamePanel);
    setStatusBar(bar);
    m_keyboard = new KeyboardState(m_keyboardPanel, this);
}

void TfrmMain::FormActivate()
{
    // A message box during start-up runs its own event loop, where a further activation may
    // arrive: start-up must not begin again inside itself.
    if (m_initialised || m_starting)
        return;
    m_starting = true;
    const auto done = qScopeGuard([this] { m_starting = false; });
    m_lifecycle->dxNewProjectClick();

    m_splash->tag = 0;
    m_splash->setMessage(QStringLiteral("Loading..."));
    m_ribbon->setEnabled(false);
    m_splash->show();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);

    QString escaped;
    try {
        m_memSettings.clear();
        TextLines::read(m_options.programFolder + QStringLiteral("settings.txt"), m_memSettings);
        m_lifecycle->RefreshMRU(true);
        m_lifecycle->dxNewProjectClick();
        if (!m_options.startupProject.isEmpty())
            m_lifecycle->OpenProjectFile(QFileInfo(m_options.startupProject).absoluteFilePath());
        else if (!m_lifecycle->recentList().isEmpty())
            m_lifecycle->OpenProjectFile(m_lifecycle->recentList().constFirst());
        m_selection->PopulateFilterCategories();
        m_selection->setCategoriesTicked(m_memSettings, true);
        m_lifecycle->RefreshMRU(true);
        FormResize();
        m_initialised = true;
        m_selection->setInitialised(true);
    } catch (const std::exception &e) {
        escaped = QString::fromStdString(e.what());
    }

    m_splash->tag = 1;
    if (m_splash->timerFired())
        m_splash->close();
    else
        m_splash->setHandCursor(true);
    m_ribbon->setEnabled(true);

    if (!escaped.isEmpty()) {
        m_prompter.error(escaped);
        return;
    }
    FormResize();
    if (m_selection->tickedCategoryIds().isEmpty()) {
        for (int i = 0; i < m_selection->categoryCount(); ++i)
            m_selection->setCategoryTicked(i, true);
    }
    // Ticks restored from the last run need the site list just as much as the tick-all rule does.
    m_selection->chkCategoriesClickCheck();
}

void TfrmMain::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && !m_initialised && isVisible())
        QMetaObject::invokeMethod(this, &TfrmMain::FormActivate, Qt::QueuedConnection);
}

void TfrmMain::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    FormResize();
}

bool TfrmMain::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == panBrowsers && (event->type() == QEvent::Show || event->type() == QEvent::Hide)) {
        if (auto *hint = findChild<QLabel *>(QStringLiteral("labResultHint")))
            hint->setVisible(event->type() == QEvent::Hide);
    }
    if (event->type() == QEvent::Resize) {
        if (watched == panURL)
            panURLResize();
        else if (watched == panTopSearch)
            panTopSearchResize();
        else if (watched == panRecordCount)
            m_selection->panRecordCountResize();
    }
    return QMainWindow::eventFilter(watched, event);
}

void TfrmMain::FormResize()
{
    panURLResize();
    panTopSearchResize();
    if (m_selection)
        m_selection->panRecordCountResize();
}

void TfrmMain::panURLResize()
{
    // The designed places (frame W - 502 wide, launch button at W - 195) hold as long as the two
    // text buttons fit their designed widths; with wider captions the address frame gives way.
    const int w = panURL->width();
    const int frameLeft = qMax(306, bCopy->geometry().right() + 2);
    const int launchLeft = qMin(w - 195, w - bLaunch->width() - 2);
    panDisplayURL->setGeometry(frameLeft, panDisplayURL->y(), qMax(60, launchLeft - 1 - frameLeft),
                               panDisplayURL->height());
    edLink2->resize(qMax(40, panDisplayURL->width() - 18), edLink2->height());
    bLaunch->move(qMax(panDisplayURL->geometry().right() + 1, launchLeft), bLaunch->y());
}

void TfrmMain::panTopSearchResize()
{
    const int w = panTopSearch->width();
    panPleaseSelectSite->resize(qMax(100, w - 232), panPleaseSelectSite->height());
    bGo->move(w - 113, bGo->y());
    // The box keeps its right margin even where the text is wider than the designed 135 pixels.
    chkDisablePopups->move(w - qMax(146, chkDisablePopups->width() + 8), chkDisablePopups->y());
    sbSearchFields->resize(qMax(100, qMin(w - 265, chkDisablePopups->x() - 120)), sbSearchFields->height());
    if (auto *title = panTopSearch->findChild<QWidget *>(QStringLiteral("panSearchTitle")))
        title->resize(w, title->height());
}

void TfrmMain::dxImportBacklinksClick()
{
    m_addWebsite->execAddWebsite();
}

QStringList TfrmMain::categoryNames() const
{
    return m_selection->categoryNames();
}

QStringList TfrmMain::categoryIds() const
{
    return m_selection->categoryIds();
}

void TfrmMain::tickCategory(int index)
{
    if (index >= 0 && index < m_selection->categoryCount())
        m_selection->setCategoryTicked(index, true);
}

void TfrmMain::siteAdded()
{
    m_selection->showFilteredRecords();
    m_selection->setSiteTotal(m_selection->countRecords());
    // The guidance text may have been chosen with the old total.
    m_selection->CheckIfOneOrMoreSitesSelected();
}

void TfrmMain::searchFieldsChanged()
{
    searchFieldsReplaced();
}

void TfrmMain::dxBarLargeButton1Click()
{
    QString path = m_options.programFolder + QStringLiteral("user_guide.pdf");
    const QString shipped = QCoreApplication::applicationDirPath() + QStringLiteral("/user_guide.pdf");
    if (!QFileInfo::exists(path) && QFileInfo::exists(shipped))
        path = shipped;
    if (!QFileInfo::exists(path)) {
        m_prompter.warning(QStringLiteral("Cannot find ") + path + QStringLiteral("\r\n\r\nPlease re-install."));
        return;
    }
    if (!m_shellOpen(QUrl::fromLocalFile(path)))
        m_prompter.warning(QStringLiteral("Cannot launch your default PDF Reader.\r\n\r\nPlease ensure you have one "
                                          "installed, and manually open ")
                           + path);
}

void TfrmMain::dxBarLargeButton5Click()
{
    BrowseURL(AppInfo::kTechSupportUrl);
}

void TfrmMain::dxBarLargeButton2Click()
{
    m_splash->tag = -2;
    m_splash->setMessage(QString());
    m_splash->setHandCursor(true);
    m_splash->exec();
}

bool TfrmMain::BrowseURL(const QString &address)
{
    m_shellOpen(QUrl::fromUserInput(address));
    return true;
}

void TfrmMain::SetDirty()
{
    m_lifecycle->SetDirty();
}

void TfrmMain::FormCloseQuery()
{
    m_lifecycle->ConfirmSave();
    m_memSettings = m_selection->tickedCategoryIds();
    TextLines::write(m_options.programFolder + QStringLiteral("settings.txt"), m_memSettings);
}

void TfrmMain::closeEvent(QCloseEvent *event)
{
    if (!m_closeAsked) {
        m_closeAsked = true;
        FormCloseQuery();
    }
    event->accept();
}

void TfrmMain::emptyLists()
{
    // Emptying the lists in search mode would leave the category list disabled and the old
    // searched sites in the place of the site list: go back to selection mode first.
    if (m_search->inSearchMode())
        m_search->ClearSearchMode();
    m_selection->emptyLists();
}

void TfrmMain::populateFilterCategories()
{
    m_selection->PopulateFilterCategories();
}

void TfrmMain::refreshSites()
{
    m_selection->setSiteTotal(m_selection->countRecords());
    m_selection->showFilteredRecords();
}

void TfrmMain::searchFieldsReplaced()
{
    try {
        m_fields->cxButton1Click(m_db);
    } catch (const DatabaseError &e) {
        m_prompter.error(e.message());
    }
}

void TfrmMain::checkIfOneOrMoreSitesSelected()
{
    m_selection->CheckIfOneOrMoreSitesSelected();
}



