#pragma once

#include "catalogue/addwebsitehost.h"
#include "store/database.h"
#include "store/projecthooks.h"
#include "ui/browser.h"
#include "ui/shellopen.h"

#include <QMainWindow>
#include <QStringList>

class KeyboardState;
class Prompter;
class ProjectLifecycle;
class Ribbon;
class SearchFieldsPanel;
class SearchRun;
class SiteSelection;
class SiteEditing;
class TfrmAddWebsite;
class TfrmCategories;
class TfrmEditSite;
class TfrmSplash;
class QAction;
class QCheckBox;
class QLabel;
class QLineEdit;
class QListView;
class QListWidget;
class QProgressBar;
class QPushButton;
class QScrollArea;
class QStackedWidget;
class QToolButton;

// The main window: builds the frame (ribbon, panes, status bar), owns the shared connection and
// the controllers, and wires the commands to them.
class TfrmMain final : public QMainWindow, public ProjectHooks, public AddWebsiteHost
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TfrmMain)

public:
    struct Options
    {
        QString programFolder;      // with a trailing separator
        QString startupProject;     // opened at start-up in place of the first recent project
        int splashMilliseconds = 5000;
    };

    // browsers makes every embedded browser (result pages, the add-website dialog).
    TfrmMain(Prompter &prompter, ShellOpener shellOpen, BrowserFactory browsers, const Options &options,
             QWidget *parent = nullptr);
    ~TfrmMain() override;

    // Runs the start-up sequence the first time; later activations change nothing.
    void FormActivate();
    bool isInitialised() const { return m_initialised; }
    void FormResize();

    void dxImportBacklinksClick();
    void dxBarLargeButton1Click();
    void dxBarLargeButton5Click();
    void dxBarLargeButton2Click();

    void panURLResize();
    void panTopSearchResize();
    bool BrowseURL(const QString &address);

    // Marks the project modified (every change to the working copy).
    void SetDirty() override;

    Database &database() { return m_db; }
    ProjectLifecycle &lifecycle() { return *m_lifecycle; }
    SiteSelection &selection() { return *m_selection; }
    SearchFieldsPanel &searchFields() { return *m_fields; }
    SearchRun &searchRun() { return *m_search; }
    TfrmSplash *splash() const { return m_splash; }

    // ProjectHooks
    void emptyLists() override;
    void populateFilterCategories() override;
    void refreshSites() override;
    void searchFieldsReplaced() override;
    void checkIfOneOrMoreSitesSelected() override;

    // AddWebsiteHost
    QStringList categoryNames() const override;
    QStringList categoryIds() const override;
    void tickCategory(int index) override;
    void siteAdded() override;
    void searchFieldsChanged() override;
    TfrmAddWebsite *addWebsiteDialog() const { return m_addWebsite; }
    TfrmCategories *categoriesDialog() const { return m_categories; }
    TfrmEditSite *editSiteDialog() const { return m_editSite; }
    SiteEditing &siteEditing() { return *m_editing; }

protected:
    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QAction *makeAction(const char *name, const QString &caption, const QString &icon);
    void buildRibbon();
    QWidget *buildLeftPane();
    QWidget *buildRightPane();
    void buildStatusBar();
    void FormCloseQuery();

    Prompter &m_prompter;
    ShellOpener m_shellOpen;
    BrowserFactory m_browsers;
    Options m_options;
    Database m_db;
    ProjectLifecycle *m_lifecycle = nullptr;
    SearchFieldsPanel *m_fields = nullptr;
    SiteSelection *m_selection = nullptr;
    SearchRun *m_search = nullptr;
    KeyboardState *m_keyboard = nullptr;
    TfrmSplash *m_splash = nullptr;
    TfrmAddWebsite *m_addWebsite = nullptr;
    TfrmCategories *m_categories = nullptr;
    TfrmEditSite *m_editSite = nullptr;
    SiteEditing *m_editing = nullptr;
    bool m_initialised = false;
    bool m_starting = false;
    bool m_closeAsked = false;
    QStringList m_memSettings;

    Ribbon *m_ribbon = nullptr;
    QAction *dxNewProject, *dxOpenProject, *dxSaveProject, *dxSaveProjectAs;
    QAction *dxFirst, *dxPrev, *dxNext, *dxLast;
    QAction *dxSiteCategoryManagement, *dxImportBacklinks;
    QAction *dxBarLargeButton1, *dxBarLargeButton5, *dxBarLargeButton2, *dxExit;

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
    QScrollArea *sbSearchFields = nullptr;

    QWidget *panBrowsers = nullptr;
    QWidget *PnlBrowsers = nullptr;
    QWidget *panURL = nullptr;
    QToolButton *bBack1 = nullptr, *bNext1 = nullptr, *bStop1 = nullptr, *bRefresh1 = nullptr;
    QPushButton *bCopy = nullptr, *bLaunch = nullptr;
    QWidget *panDisplayURL = nullptr;
    QLineEdit *edLink2 = nullptr;
    QStackedWidget *pcBrowsers = nullptr;
    QProgressBar *pb = nullptr;

    QLabel *m_keyboardPanel = nullptr;
    QLabel *m_modifiedPanel = nullptr;
    QLabel *m_fileNamePanel = nullptr;
};
