#pragma once

#include "ui/browser.h"

#include <QDialog>
#include <QPointer>
#include <QStringList>

class AddWebsiteHost;
class Database;
class KeywordGrid;
class Prompter;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QStackedWidget;
class QToolButton;

// "Learn and Add Website": the user browses to a site's search page in the dialog's own browser,
// performs one search with the placeholder values shown, and the request the site's form sends is
// learnt as the site's address and body templates (see catalogue/learner.h). The user then names
// the site, picks its category, and Save inserts it into the sites table. The dialog also edits the
// search fields (the keywords table) in a grid with its own connection to the working copy.
//
// Created once by the main window and reused: execAddWebsite() resets it each time. The browser
// comes from the factory at each opening and goes when the dialog closes; the grid's connection
// likewise, so nothing of the dialog holds the working copy open while it is closed.
class TfrmAddWebsite final : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TfrmAddWebsite)

public:
    // db: the shared connection to the working copy, at workingCopyPath (the grid opens its own
    // connection to that file). All references must outlive the dialog.
    TfrmAddWebsite(Database &db, Prompter &prompter, BrowserFactory browserFactory,
        const QString &workingCopyPath, AddWebsiteHost &host, QWidget *parent = nullptr);
    ~TfrmAddWebsite() override;

    // The "Add Website" command: prepare(), show the dialog modally and maximised, and after a
    // successful save let the host rebuild its lists (AddWebsiteHost::siteAdded). True when a site
    // was saved. Shows nothing but the warning when the grid cannot be opened.
    bool execAddWebsite();

    // The steps before showing: result flag 0, categories from the host, the grid connected, every
    // box and panel reset, a fresh browser. False, after the warning, when the keywords table
    // cannot be read; the dialog must not be shown then.
    bool prepare();

    // The result flag: 1 after a successful save, else 0.
    int tag() const { return m_tag; }
    // The learnt templates that Save writes; empty until a search is learnt.
    QString addressTemplate() const { return m_addressTemplate; }
    QString bodyTemplate() const { return m_bodyTemplate; }
    Browser *browser() const { return m_browser; }
    KeywordGrid *keywordGrid() const { return m_grid; }

protected:
    void done(int result) override;
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildWidgets();
    void createBrowser();
    void dropBrowser();
    void setArmedLayout(bool armed);
    void returnToAddressEntry();

    void navigateStep();
    void bGoClick();
    void bBack1Click();
    void bNext1Click();
    void bStop1Click();
    void bRefresh1Click();
    void wbBeforeNavigate2(const QString &address, const QByteArray &postData);
    void wbNavigateComplete2();
    void wbDocumentComplete();
    void wbProgressChange(int progress, int maximum);
    void wbCommandStateChange(int command, bool enabled);
    void edNameChange();
    void bOKClick();
    void bCancelClick();
    bool FormCloseQuery();
    bool readSearchTexts(QStringList &texts);

    Database &m_db;
    Prompter &m_prompter;
    BrowserFactory m_browserFactory;
    QString m_workingCopyPath;
    AddWebsiteHost &m_host;

    int m_tag = 0;
    bool m_gridChanged = false;
    bool m_keywordErrorShown = false;
    QString m_addressTemplate;
    QString m_bodyTemplate;
    QString m_loginAddress;
    QString m_loginBody;
    QStringList m_categoryIds;
    QPointer<Browser> m_browser;

    QFrame *m_panURL = nullptr;
    QToolButton *m_bBack1 = nullptr;
    QToolButton *m_bNext1 = nullptr;
    QToolButton *m_bStop1 = nullptr;
    QToolButton *m_bRefresh1 = nullptr;
    QProgressBar *m_progress = nullptr;
    QLineEdit *m_edAddress = nullptr;
    QPushButton *m_bGo = nullptr;
    QFrame *m_panEnterURL = nullptr;
    QFrame *m_panTellSearch = nullptr;
    KeywordGrid *m_grid = nullptr;
    QLineEdit *m_txtUser = nullptr;
    QLineEdit *m_txtPassword = nullptr;
    QLabel *m_labLoginInfo = nullptr;
    QStackedWidget *m_middle = nullptr;
    QFrame *m_panWBBack = nullptr;
    QFrame *m_panBottom = nullptr;
    QLineEdit *m_edName = nullptr;
    QComboBox *m_lstCategories = nullptr;
    QPushButton *m_bCancel = nullptr;
    QPushButton *m_bOK = nullptr;
    // Hidden boxes of the learning state.
    QLineEdit *m_txtLink = nullptr;
    QLineEdit *m_txtPostData = nullptr;
    QPlainTextEdit *m_memGet = nullptr;
    QPlainTextEdit *m_memPost = nullptr;
};
