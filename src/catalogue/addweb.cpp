#include "addweb.h"

#include "catalogue/addwebsitehost.h"
#include "catalogue/keywordgrid.h"
#include "catalogue/learner.h"
#include "store/database.h"
#include "store/databaseerror.h"
#include "ui/prompter.h"

#include <QComboBox>
#include <QEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QStackedWidget>
#include <QToolButton>
#include <QVBoxLayout>

// The resources are compiled into a static library: they must be pulled in by name. Registering
// them again is harmless.
static void initResources()
{
    Q_INIT_RESOURCE(resources);
}

namespace {

const QString kCrLf = QStringLiteral("\r\n");

QToolButton *browserButton(QWidget *parent, const char *name, const char *icon, const QString &hint)
{
    auto *button = new QToolButton(parent);
    button->setObjectName(QLatin1String(name));
    button->setIcon(QIcon(QStringLiteral(":/icons/%1.svg").arg(QLatin1String(icon))));
    button->setIconSize(QSize(20, 20));
    button->setToolTip(hint);
    button->setAutoRaise(true);
    button->setFixedSize(32, 32);
    return button;
}

QLabel *label(const QString &text, QWidget *parent, const char *name = nullptr)
{
    auto *label = new QLabel(text, parent);
    if (name)
        label->setObjectName(QLatin1String(name));
    return label;
}

const char *const kStyleSheet = R"(
TfrmAddWebsite QFrame#panAddress { background: white; border: 1px solid #b8bfcf; border-radius: 4px; }
TfrmAddWebsite QFrame#panAddress:focus-within { border-color: #1f5fa8; }
TfrmAddWebsite QLineEdit#edAddress { border: none; background: transparent; padding: 4px 2px; }
TfrmAddWebsite QLineEdit#edAddress:disabled { color: #6b7285; }
TfrmAddWebsite QProgressBar#ProgressBar1 { border: none; background: transparent; }
TfrmAddWebsite QProgressBar#ProgressBar1::chunk { background: #1f5fa8; border-radius: 1px; }
TfrmAddWebsite QFrame#panEnterURL { background: #fff8e1; border: 1px solid #f0d890; border-radius: 4px; }
TfrmAddWebsite QFrame#panEnterURL QLabel { color: #5b4a12; font-weight: 600; }
TfrmAddWebsite QFrame#panTellSearch { background: #eef4fb; border: 1px solid #bcd0ea; border-radius: 4px; }
TfrmAddWebsite QLabel#labTellSearch { color: #1f4f86; font-weight: 700; }
TfrmAddWebsite QLabel#labLoginInfo { color: white; background: black; font-weight: 700; padding: 3px 10px;
    border-radius: 2px; }
TfrmAddWebsite QFrame#panBrowserPlaceholder { background: white; }
TfrmAddWebsite QFrame#panBrowserPlaceholder QLabel { color: #7a8296; }
TfrmAddWebsite QLabel#labPlaceholderTitle { font-size: 15pt; font-weight: 600; color: #4a5166; }
TfrmAddWebsite QFrame#panWBBack { background: white; border-top: 1px solid #c5cad8; }
TfrmAddWebsite QFrame#panBottom { background: #edf6ee; border-top: 1px solid #b5d6b9; }
TfrmAddWebsite QLabel#labSiteLearnt { color: #25642a; font-weight: 700; }
TfrmAddWebsite QPushButton { padding: 5px 18px; }
TfrmAddWebsite QPushButton#bOK { background: #1f5fa8; color: white; border: 1px solid #184d8a; border-radius: 4px; }
TfrmAddWebsite QPushButton#bOK:hover { background: #2a6fbd; }
TfrmAddWebsite QPushButton#bOK:disabled { background: #a9bad3; border-color: #a9bad3; color: #eef2f8; }
)";

} // namespace

TfrmAddWebsite::TfrmAddWebsite(Database &db, Prompter &prompter, BrowserFactory browserFactory,
    const QString &workingCopyPath, AddWebsiteHost &host, QWidget *parent)
    : QDialog(parent)
    , m_db(db)
    , m_prompter(prompter)
    , m_browserFactory(std::move(browserFactory))
    , m_workingCopyPath(workingCopyPath)
    , m_host(host)
{
    initResources();
    setObjectName(QStringLiteral("frmAddWebsite"));
    setWindowTitle(QStringLiteral("Learn and Add Website"));
    setSizeGripEnabled(true);
    setStyleSheet(QLatin1String(kStyleSheet));
    buildWidgets();
    resize(1200, 820);
}

TfrmAddWebsite::~TfrmAddWebsite()
{
    m_grid->close();
}

void TfrmAddWebsite::buildWidgets()
{
    auto *root = new QVBoxLayout(this);
    root->setContentsMargins(0, 0, 0, 0);
    root->setSpacing(0);

    // Top area: browser buttons, address, banner and the "perform a search" panel.
    m_panURL = new QFrame(this);
    m_panURL->setObjectName(QStringLiteral("panURL"));
    auto *top = new QVBoxLayout(m_panURL);
    top->setContentsMargins(10, 8, 10, 8);
    top->setSpacing(6);

    auto *addressRow = new QHBoxLayout;
    addressRow->setSpacing(2);
    m_bBack1 = browserButton(m_panURL, "bBack1", "back", QStringLiteral("Back"));
    m_bNext1 = browserButton(m_panURL, "bNext1", "forward", QStringLiteral("Forward"));
    m_bStop1 = browserButton(m_panURL, "bStop1", "stop", QStringLiteral("Stop"));
    m_bRefresh1 = browserButton(m_panURL, "bRefresh1", "refresh", QStringLiteral("Refresh"));
    for (QToolButton *button : { m_bBack1, m_bNext1, m_bStop1, m_bRefresh1 })
        addressRow->addWidget(button);
    addressRow->addSpacing(6);
    auto *addressFrame = new QFrame(m_panURL);
    addressFrame->setObjectName(QStringLiteral("panAddress"));
    auto *addressLayout = new QHBoxLayout(addressFrame);
    addressLayout->setContentsMargins(8, 1, 4, 1);
    m_edAddress = new QLineEdit(addressFrame);
    m_edAddress->setObjectName(QStringLiteral("edAddress"));
    m_edAddress->setPlaceholderText(QStringLiteral("Address of the site, e.g. https://www.example.com"));
    m_edAddress->setClearButtonEnabled(true);
    m_edAddress->installEventFilter(this);
    addressLayout->addWidget(m_edAddress);
    addressRow->addWidget(addressFrame, 1);
    addressRow->addSpacing(6);
    m_bGo = new QPushButton(QIcon(QStringLiteral(":/icons/search.svg")), QStringLiteral("Go"), m_panURL);
    m_bGo->setObjectName(QStringLiteral("bGo"));
    m_bGo->setMinimumHeight(30);
    addressRow->addWidget(m_bGo);
    top->addLayout(addressRow);

    m_progress = new QProgressBar(m_panURL);
    m_progress->setObjectName(QStringLiteral("ProgressBar1"));
    m_progress->setTextVisible(false);
    m_progress->setFixedHeight(3);
    m_progress->setRange(0, 100);
    m_progress->setValue(0);
    top->addWidget(m_progress);

    m_panEnterURL = new QFrame(m_panURL);
    m_panEnterURL->setObjectName(QStringLiteral("panEnterURL"));
    auto *bannerLayout = new QHBoxLayout(m_panEnterURL);
    bannerLayout->setContentsMargins(12, 8, 12, 8);
    bannerLayout->addWidget(
        label(QStringLiteral("Please enter URL and navigate to Search Page"), m_panEnterURL, "labEnterURL"));
    top->addWidget(m_panEnterURL);

    m_panTellSearch = new QFrame(m_panURL);
    m_panTellSearch->setObjectName(QStringLiteral("panTellSearch"));
    auto *tell = new QVBoxLayout(m_panTellSearch);
    tell->setContentsMargins(12, 8, 12, 10);
    tell->setSpacing(6);
    tell->addWidget(
        label(QStringLiteral(
                  "Please perform a search for the following values so I can learn out how the site works:"),
            m_panTellSearch, "labTellSearch"));
    m_grid = new KeywordGrid(
        m_prompter, QStringLiteral("addweb-keywords-%1").arg(quintptr(this), 0, 16), m_panTellSearch);
    m_grid->setMinimumHeight(150);
    tell->addWidget(m_grid, 1);
    auto *loginRow = new QHBoxLayout;
    loginRow->setSpacing(6);
    loginRow->addWidget(label(QStringLiteral("Username: "), m_panTellSearch));
    m_txtUser = new QLineEdit(m_panTellSearch);
    m_txtUser->setObjectName(QStringLiteral("txtUser"));
    m_txtPassword = new QLineEdit(m_panTellSearch);
    m_txtPassword->setObjectName(QStringLiteral("txtPassword"));
    m_txtPassword->setEchoMode(QLineEdit::Password);
    for (QLineEdit *box : { m_txtUser, m_txtPassword }) {
        box->setMaxLength(25);
        box->setFixedWidth(225);
    }
    loginRow->addWidget(m_txtUser);
    loginRow->addSpacing(18);
    loginRow->addWidget(label(QStringLiteral("Password:"), m_panTellSearch));
    loginRow->addWidget(m_txtPassword);
    loginRow->addSpacing(18);
    m_labLoginInfo = label(QStringLiteral("* LOGIN INFO STORED *"), m_panTellSearch, "labLoginInfo");
    loginRow->addWidget(m_labLoginInfo);
    loginRow->addStretch();
    tell->addLayout(loginRow);
    top->addWidget(m_panTellSearch, 1);
    root->addWidget(m_panURL);

    // Middle: the browser, with a quiet placeholder until the first page has arrived.
    m_middle = new QStackedWidget(this);
    auto *placeholder = new QFrame(m_middle);
    placeholder->setObjectName(QStringLiteral("panBrowserPlaceholder"));
    auto *placeholderLayout = new QVBoxLayout(placeholder);
    placeholderLayout->addStretch(2);
    auto *placeholderTitle
        = label(QStringLiteral("Learn a website's search"), placeholder, "labPlaceholderTitle");
    placeholderTitle->setAlignment(Qt::AlignCenter);
    placeholderLayout->addWidget(placeholderTitle);
    auto *placeholderText
        = label(QStringLiteral(
                    "Type the site's address above and press Enter. Browse to its search page, then search "
                    "for the values shown, exactly as given.\nIf the site needs a login, type your user "
                    "name and password in the boxes first, then log in on the site."),
            placeholder);
    placeholderText->setAlignment(Qt::AlignCenter);
    placeholderText->setWordWrap(true);
    placeholderLayout->addWidget(placeholderText);
    placeholderLayout->addStretch(3);
    m_middle->addWidget(placeholder);
    m_panWBBack = new QFrame(m_middle);
    m_panWBBack->setObjectName(QStringLiteral("panWBBack"));
    auto *browserLayout = new QVBoxLayout(m_panWBBack);
    browserLayout->setContentsMargins(0, 0, 0, 0);
    m_middle->addWidget(m_panWBBack);
    root->addWidget(m_middle, 1);

    // Bottom: name and category of the learnt site.
    m_panBottom = new QFrame(this);
    m_panBottom->setObjectName(QStringLiteral("panBottom"));
    auto *bottom = new QVBoxLayout(m_panBottom);
    bottom->setContentsMargins(14, 10, 14, 12);
    bottom->setSpacing(8);
    bottom->addWidget(label(QStringLiteral("Site Learnt!  Please give it a Name and Select a Category"),
        m_panBottom, "labSiteLearnt"));
    auto *nameRow = new QHBoxLayout;
    nameRow->setSpacing(8);
    nameRow->addWidget(label(QStringLiteral("Site Name:"), m_panBottom));
    m_edName = new QLineEdit(m_panBottom);
    m_edName->setObjectName(QStringLiteral("edName"));
    m_edName->setMaxLength(255);
    nameRow->addWidget(m_edName, 3);
    nameRow->addSpacing(16);
    nameRow->addWidget(label(QStringLiteral("Category:"), m_panBottom));
    m_lstCategories = new QComboBox(m_panBottom);
    m_lstCategories->setObjectName(QStringLiteral("lstCategories"));
    m_lstCategories->setEditable(false);
    m_lstCategories->setMinimumWidth(220);
    m_lstCategories->setPlaceholderText(QStringLiteral("Select a category"));
    nameRow->addWidget(m_lstCategories, 1);
    nameRow->addSpacing(24);
    m_bCancel = new QPushButton(QStringLiteral("Cancel"), m_panBottom);
    m_bCancel->setObjectName(QStringLiteral("bCancel"));
    m_bCancel->setToolTip(QStringLiteral("Cancel"));
    m_bOK = new QPushButton(QStringLiteral("Save"), m_panBottom);
    m_bOK->setObjectName(QStringLiteral("bOK"));
    m_bOK->setToolTip(QStringLiteral("Save"));
    nameRow->addWidget(m_bCancel);
    nameRow->addWidget(m_bOK);
    bottom->addLayout(nameRow);
    root->addWidget(m_panBottom);

    // Enter belongs to the address box and the cells; no button of this dialog is a default.
    for (QPushButton *button : { m_bGo, m_bCancel, m_bOK }) {
        button->setAutoDefault(false);
        button->setDefault(false);
    }

    // The learning state lives in hidden boxes, as the rest of the dialog's state does in widgets.
    m_txtLink = new QLineEdit(this);
    m_txtLink->setObjectName(QStringLiteral("txtLink"));
    m_txtPostData = new QLineEdit(this);
    m_txtPostData->setObjectName(QStringLiteral("txtPostData"));
    m_memGet = new QPlainTextEdit(this);
    m_memGet->setObjectName(QStringLiteral("memGet"));
    m_memPost = new QPlainTextEdit(this);
    m_memPost->setObjectName(QStringLiteral("memPost"));
    for (QWidget *hidden : std::initializer_list<QWidget *> { m_txtLink, m_txtPostData, m_memGet, m_memPost })
        hidden->hide();

    connect(m_bGo, &QPushButton::clicked, this, &TfrmAddWebsite::bGoClick);
    connect(m_bBack1, &QToolButton::clicked, this, &TfrmAddWebsite::bBack1Click);
    connect(m_bNext1, &QToolButton::clicked, this, &TfrmAddWebsite::bNext1Click);
    connect(m_bStop1, &QToolButton::clicked, this, &TfrmAddWebsite::bStop1Click);
    connect(m_bRefresh1, &QToolButton::clicked, this, &TfrmAddWebsite::bRefresh1Click);
    connect(m_bOK, &QPushButton::clicked, this, &TfrmAddWebsite::bOKClick);
    connect(m_bCancel, &QPushButton::clicked, this, &TfrmAddWebsite::bCancelClick);
    connect(m_edName, &QLineEdit::textChanged, this, &TfrmAddWebsite::edNameChange);
    connect(m_txtUser, &QLineEdit::textChanged, this, &TfrmAddWebsite::edNameChange);
    connect(m_txtPassword, &QLineEdit::textChanged, this, &TfrmAddWebsite::edNameChange);
    connect(m_lstCategories, &QComboBox::currentIndexChanged, this, &TfrmAddWebsite::edNameChange);
    connect(m_lstCategories, &QComboBox::activated, this, &TfrmAddWebsite::edNameChange);
    connect(m_grid, &KeywordGrid::rowPosted, this, [this] { m_gridChanged = true; });

    m_panTellSearch->hide();
    m_panBottom->hide();
    m_labLoginInfo->hide();
    for (QToolButton *button : { m_bBack1, m_bNext1, m_bStop1, m_bRefresh1 })
        button->setEnabled(false);
    edNameChange();
}

bool TfrmAddWebsite::execAddWebsite()
{
    if (!prepare())
        return false;
    setWindowState(windowState() | Qt::WindowMaximized);
    exec();
    const bool saved = m_tag == 1;
    if (saved)
        m_host.siteAdded();
    return saved;
}

bool TfrmAddWebsite::prepare()
{
    m_tag = 0;

    m_lstCategories->clear();
    m_lstCategories->addItems(m_host.categoryNames());
    m_categoryIds = m_host.categoryIds();
    m_lstCategories->setCurrentIndex(-1);

    if (!m_grid->open(m_workingCopyPath)) {
        m_prompter.warning(
            QStringLiteral("Unable to read keyword table, database may be corrupt - Please try again"));
        return false;
    }

    m_edAddress->clear();
    m_edAddress->setEnabled(true);
    for (QToolButton *button : { m_bBack1, m_bNext1, m_bStop1, m_bRefresh1 })
        button->setEnabled(false);
    m_progress->setValue(0);
    m_middle->setCurrentIndex(0);
    m_edName->clear();
    m_panBottom->hide();
    m_panEnterURL->show();
    m_panTellSearch->hide();
    m_txtUser->clear();
    m_txtPassword->clear();
    m_labLoginInfo->hide();
    m_loginAddress.clear();
    m_loginBody.clear();
    m_memGet->clear();
    m_memPost->clear();
    m_txtLink->clear();
    m_txtPostData->clear();
    m_addressTemplate.clear();
    m_bodyTemplate.clear();
    m_keywordErrorShown = false;
    createBrowser();
    edNameChange();
    return true;
}

void TfrmAddWebsite::createBrowser()
{
    dropBrowser();
    m_browser = m_browserFactory(m_panWBBack);
    m_panWBBack->layout()->addWidget(m_browser);
    m_browser->setSilent(true);
    // Pages cannot open windows or pop-ups from this dialog.
    m_browser->setPopupsAllowed(false);
    connect(m_browser, &Browser::beforeNavigate, this, [this](const QUrl &url, const QByteArray &body, bool) {
        wbBeforeNavigate2(url.toString(QUrl::FullyEncoded), body);
    });
    connect(m_browser, &Browser::navigateComplete, this, &TfrmAddWebsite::wbNavigateComplete2);
    connect(m_browser, &Browser::documentComplete, this, &TfrmAddWebsite::wbDocumentComplete);
    connect(m_browser, &Browser::progressChange, this, &TfrmAddWebsite::wbProgressChange);
    connect(m_browser, &Browser::commandStateChange, this, &TfrmAddWebsite::wbCommandStateChange);
}

void TfrmAddWebsite::dropBrowser()
{
    if (!m_browser)
        return;
    Browser *browser = m_browser;
    m_browser = nullptr;
    disconnect(browser, nullptr, this, nullptr);
    browser->stop();
    browser->hide();
    // Later, not now: the browser may be inside one of its own signals.
    browser->deleteLater();
}

void TfrmAddWebsite::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    m_edAddress->setFocus();
}

void TfrmAddWebsite::keyPressEvent(QKeyEvent *event)
{
    // Escape must not throw away the browsing and the learnt site; the dialog closes by its
    // buttons and its close box only.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

bool TfrmAddWebsite::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_edAddress && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && !m_edAddress->text().trimmed().isEmpty()) {
            navigateStep();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TfrmAddWebsite::navigateStep()
{
    for (QToolButton *button : { m_bBack1, m_bNext1, m_bStop1, m_bRefresh1 })
        button->setEnabled(false);
    m_txtLink->clear();
    m_txtPostData->clear();
    if (m_browser)
        m_browser->navigate(m_edAddress->text()); // an address it cannot load starts nothing
}

void TfrmAddWebsite::bGoClick()
{
    m_addressTemplate.clear();
    m_bodyTemplate.clear();
    // After a site was learnt, Go starts the learning over; otherwise Save would write the empty
    // templates just cleared.
    if (m_panBottom->isVisibleTo(this))
        returnToAddressEntry();
    navigateStep();
}

void TfrmAddWebsite::returnToAddressEntry()
{
    m_panBottom->hide();
    m_edName->clear();
    m_edAddress->setEnabled(true);
    m_panTellSearch->hide();
    m_panEnterURL->show();
    edNameChange();
}

void TfrmAddWebsite::bBack1Click()
{
    if (m_browser)
        m_browser->goBack();
}

void TfrmAddWebsite::bNext1Click()
{
    if (m_browser)
        m_browser->goForward();
}

void TfrmAddWebsite::bStop1Click()
{
    if (m_browser)
        m_browser->stop();
}

void TfrmAddWebsite::bRefresh1Click()
{
    if (m_browser)
        m_browser->refresh();
}

bool TfrmAddWebsite::readSearchTexts(QStringList &texts)
{
    try {
        ResultTable table = m_db.query(QStringLiteral("SELECT * FROM keywords"));
        const int column = table.fieldIndex(QStringLiteral("Search_Text"));
        for (int row = 0; row < table.rowCount(); ++row)
            texts << table.text(row, column);
        return true;
    } catch (const DatabaseError &error) {
        // Once per opening: every frame of every page would ask again.
        if (!m_keywordErrorShown) {
            m_keywordErrorShown = true;
            m_prompter.warning(QStringLiteral("Error Reading from Database - please contact tech support.")
                + kCrLf + error.message());
        }
        return false;
    }
}

void TfrmAddWebsite::wbBeforeNavigate2(const QString &address, const QByteArray &postData)
{
    LearnerInput input;
    input.address = address;
    input.body = PostDataToText(postData);
    input.userName = m_txtUser->text();
    input.password = m_txtPassword->text();
    input.learnt = !m_txtLink->text().isEmpty();
    input.armed = m_panTellSearch->isVisibleTo(this);
    // The fields matter only while a search can still be learnt; a failed read learns nothing.
    if (input.armed && !input.learnt && !readSearchTexts(input.searchTexts))
        input.searchTexts.clear();

    const LearnerResult result = learnRequest(input);
    if (result.loginCaptured) {
        m_loginAddress = result.loginAddress;
        m_loginBody = result.loginBody;
        m_memGet->setPlainText(m_loginAddress);
        m_memPost->setPlainText(m_loginBody);
        m_labLoginInfo->show();
    }
    if (result.learnt()) {
        m_addressTemplate = result.addressTemplate;
        m_bodyTemplate = result.bodyTemplate;
        m_txtLink->setText(result.addressTemplate);
        m_txtPostData->setText(result.bodyTemplate);
        m_panTellSearch->hide();
        // The page on show is still the one the search was sent from.
        m_edName->setText(CutSearchPageTitle(m_browser ? m_browser->title() : QString()));
        m_panBottom->show();
        m_edAddress->setEnabled(false);
        edNameChange();
        m_edName->setFocus();
    }
    // Last: the message box runs its own event loop, and the browser's next events must find the
    // state above already in place.
    if (result.loginCaptured)
        m_prompter.information(QStringLiteral("Got Login info - please now perform a search"));
}

void TfrmAddWebsite::wbNavigateComplete2()
{
    m_middle->setCurrentWidget(m_panWBBack);
    m_bRefresh1->setEnabled(true);
}

void TfrmAddWebsite::wbDocumentComplete()
{
    if (!m_panTellSearch->isVisibleTo(this) && !m_panBottom->isVisibleTo(this)) {
        m_panTellSearch->show();
        m_panEnterURL->hide();
    }
}

void TfrmAddWebsite::wbProgressChange(int progress, int maximum)
{
    m_progress->setMaximum(maximum);
    m_progress->setValue(progress);
}

void TfrmAddWebsite::wbCommandStateChange(int command, bool enabled)
{
    switch (command) {
    case Browser::CommandUpdate:
        m_bStop1->setEnabled(m_browser && m_browser->isBusy());
        break;
    case Browser::CommandForward:
        m_bNext1->setEnabled(enabled);
        break;
    case Browser::CommandBack:
        m_bBack1->setEnabled(enabled);
        break;
    default:
        break;
    }
}

void TfrmAddWebsite::edNameChange()
{
    m_bOK->setEnabled(!m_edName->text().trimmed().isEmpty() && m_panBottom->isVisibleTo(this)
        && m_lstCategories->currentIndex() >= 0);
}

void TfrmAddWebsite::bOKClick()
{
    if (m_edName->text().trimmed().isEmpty()) {
        m_prompter.warning(QStringLiteral("Please fill in the name of this site!"));
        m_edName->setFocus();
        return;
    }
    const int index = m_lstCategories->currentIndex();
    if (index < 0 || index >= m_categoryIds.size())
        return; // Save is disabled without a category
    const QString categoryId = m_categoryIds.at(index);
    m_host.SetDirty();

    // Held word for word; the boxes only show them.
    const QString loginAddress = m_loginAddress;
    const QString loginBody = m_loginBody;
    const QVariantList values { categoryId, m_edName->text(), m_addressTemplate, m_bodyTemplate,
        m_bodyTemplate.isEmpty() ? QStringLiteral("0") : QStringLiteral("1"), loginAddress, loginBody,
        loginBody.isEmpty() ? QStringLiteral("0") : QStringLiteral("1") };
    m_loginAddress.clear();
    m_loginBody.clear();
    m_memGet->clear();
    m_memPost->clear();
    m_labLoginInfo->hide();

    try {
        m_db.execute(
            QStringLiteral("INSERT INTO sites(Category,site_name,site_url,site_post,is_post,login_site_url,"
                           "login_site_post,login_is_post) VALUES (?1,?2,?3,?4,?5,?6,?7,?8);"),
            values);
    } catch (const DatabaseError &error) {
        m_prompter.warning(QStringLiteral("Error writing to Database - please contact tech support.") + kCrLf
            + error.message());
        close();
        return;
    }
    const int entry = m_categoryIds.indexOf(categoryId);
    if (entry >= 0)
        m_host.tickCategory(entry);
    m_host.SetDirty();
    m_tag = 1;
    close();
}

void TfrmAddWebsite::bCancelClick()
{
    m_tag = 0;
    close();
}

bool TfrmAddWebsite::FormCloseQuery()
{
    // A row still being typed in is posted, as leaving the row would; if that fails the dialog
    // stays open so nothing typed is lost.
    bool canClose = m_grid->postPending();
    if (canClose && m_panBottom->isVisibleTo(this) && m_tag == 0)
        canClose = m_prompter.question(QStringLiteral("Are you sure you wish to abandon this site?"));
    if (m_gridChanged) {
        m_gridChanged = false;
        m_host.searchFieldsChanged();
        m_host.SetDirty();
    }
    return canClose;
}

void TfrmAddWebsite::done(int result)
{
    if (!FormCloseQuery())
        return;
    dropBrowser();
    m_grid->close();
    QDialog::done(result);
}
