#include "editsite.h"

#include "databasemessages.h"
#include "selection/sitelistmodel.h"
#include "store/database.h"
#include "store/databaseerror.h"
#include "ui/prompter.h"

#include <QBoxLayout>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>

namespace {

const int kNameLength = 255;
const int kTemplateLength = 1024;

// Blanks and control characters at either end; inner ones stay.
QString trimBlanks(const QString &text)
{
    const auto isBlank
        = [](QChar c) { return c == QLatin1Char(' ') || c.category() == QChar::Other_Control; };
    int begin = 0;
    int end = int(text.size());
    while (begin < end && isBlank(text.at(begin)))
        ++begin;
    while (end > begin && isBlank(text.at(end - 1)))
        --end;
    return text.mid(begin, end - begin);
}

// The limit is on what the user types: a stored value that is already longer (a learnt body
// template can be thousands of characters) is shown whole, so saving other edits never cuts it.
void fillBox(QLineEdit *box, const QString &text, int typedLimit)
{
    box->setMaxLength(std::max(typedLimit, int(text.size())));
    box->setText(text);
    box->setCursorPosition(0);
}

QVariant idValue(const QString &id)
{
    bool ok = false;
    const qlonglong number = id.toLongLong(&ok);
    return ok ? QVariant(number) : QVariant(id);
}

} // namespace

TfrmEditSite::TfrmEditSite(Database &db, Prompter &prompter, QWidget *parent)
    : QDialog(parent)
    , m_db(db)
    , m_prompter(prompter)
{
    setObjectName(QStringLiteral("TfrmEditSite"));
    setWindowTitle(QStringLiteral("Edit Site"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);

    auto *header = new QLabel(QStringLiteral("Edit Site"), this);
    QFont headerFont = header->font();
    headerFont.setPixelSize(18);
    headerFont.setBold(true);
    header->setFont(headerFont);

    edName = new QLineEdit(this);
    edName->setObjectName(QStringLiteral("edName"));
    edName->setMaxLength(kNameLength);
    lstCategories = new QComboBox(this);
    lstCategories->setObjectName(QStringLiteral("lstCategories"));
    lstCategories->setEditable(false);
    lstCategories->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    lstCategories->setMinimumContentsLength(24);

    auto *main = new QFormLayout;
    main->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    main->addRow(QStringLiteral("Site &Name:"), edName);
    main->addRow(QStringLiteral("&Category:"), lstCategories);

    auto *advanced = new QGroupBox(QStringLiteral("Advanced Users Only"), this);
    auto *advancedLayout = new QFormLayout(advanced);
    advancedLayout->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    const auto templateBox = [this, advancedLayout](const char *name, const QString &label) {
        auto *box = new QLineEdit(this);
        box->setObjectName(QString::fromLatin1(name));
        box->setMaxLength(kTemplateLength);
        advancedLayout->addRow(label, box);
        return box;
    };
    txtURL = templateBox("txtURL", QStringLiteral("&URL:"));
    txtPosts = templateBox("txtPosts", QStringLiteral("&Post Data:"));
    txtLoginURL = templateBox("txtLoginURL", QStringLiteral("&Login URL:"));
    txtLoginPost = templateBox("txtLoginPost", QStringLiteral("Login P&ost:"));

    bCancel = new QPushButton(QStringLiteral("Cancel"), this);
    bCancel->setObjectName(QStringLiteral("bCancel"));
    bCancel->setToolTip(QStringLiteral("Cancel"));
    bOK = new QPushButton(QStringLiteral("&Save"), this);
    bOK->setObjectName(QStringLiteral("bOK"));
    bOK->setToolTip(QStringLiteral("Save"));
    bOK->setDefault(true);
    for (QPushButton *b : { bCancel, bOK })
        b->setMinimumSize(96, 30);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(bCancel);
    buttons->addWidget(bOK);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 12, 16, 14);
    layout->setSpacing(10);
    layout->addWidget(header);
    layout->addLayout(main);
    layout->addWidget(advanced);
    layout->addLayout(buttons);

    for (QLineEdit *box : { edName, txtURL, txtPosts, txtLoginURL, txtLoginPost })
        connect(box, &QLineEdit::textEdited, this, [this] { edNameKeyPress(); });
    connect(lstCategories, &QComboBox::currentIndexChanged, this, [this] {
        if (!m_filling)
            lstCategoriesChange();
    });
    connect(bOK, &QPushButton::clicked, this, [this] { bOKClick(); });
    connect(bCancel, &QPushButton::clicked, this, [this] { bCancelClick(); });

    setFixedSize(600, sizeHint().height());
}

void TfrmEditSite::reset(
    const QStringList &categoryNames, const QStringList &categoryIds, const SiteEntry &site)
{
    m_filling = true;
    m_siteId = site.id;
    m_siteCategory = site.category;
    m_categoryIds = categoryIds;
    fillBox(edName, site.name, kNameLength);
    lstCategories->clear();
    for (int i = 0; i < categoryNames.size(); ++i) {
        lstCategories->addItem(categoryNames.at(i));
        if (i < categoryIds.size() && categoryIds.at(i) == site.category)
            lstCategories->setCurrentIndex(i);
    }
    if (lstCategories->count() > 0 && categoryIds.indexOf(site.category) < 0)
        lstCategories->setCurrentIndex(-1);
    fillBox(txtURL, site.url, kTemplateLength);
    fillBox(txtPosts, site.post, kTemplateLength);
    fillBox(txtLoginURL, site.loginUrl, kTemplateLength);
    fillBox(txtLoginPost, site.loginPost, kTemplateLength);
    m_filling = false;
    m_tag = 0;
    edName->setFocus();
    edName->selectAll();
}

void TfrmEditSite::edNameKeyPress()
{
    m_tag = 1;
}

void TfrmEditSite::lstCategoriesChange()
{
    m_tag = 1;
}

void TfrmEditSite::bOKClick()
{
    // With no category picked (the site's category is not in the list) the site keeps the one it has.
    const int picked = lstCategories->currentIndex();
    const QString category
        = picked >= 0 && picked < m_categoryIds.size() ? m_categoryIds.at(picked) : m_siteCategory;
    const QString post = trimBlanks(txtPosts->text());
    const QString loginPost = trimBlanks(txtLoginPost->text());
    try {
        m_db.execute(
            QStringLiteral("UPDATE sites SET Category = ?1, site_name = ?2, site_url = ?3, site_post = ?4, "
                           "is_post = ?5, login_site_url = ?6, login_site_post = ?7, login_is_post = ?8 "
                           "WHERE ID = ?9;"),
            { idValue(category), trimBlanks(edName->text()), trimBlanks(txtURL->text()), post,
                post.isEmpty() ? 0 : 1, trimBlanks(txtLoginURL->text()), loginPost,
                loginPost.isEmpty() ? 0 : 1, idValue(m_siteId) });
    } catch (const DatabaseError &e) {
        m_prompter.warning(DatabaseMessages::writeError(e.message()));
        return;
    }
    m_tag = 2;
    accept();
}

void TfrmEditSite::bCancelClick()
{
    reject();
}

bool TfrmEditSite::FormCloseQuery()
{
    if (m_tag != 1)
        return true;
    return m_prompter.question(QStringLiteral("Are you sure you want to abandon changes?"));
}

void TfrmEditSite::reject()
{
    if (FormCloseQuery())
        QDialog::reject();
}

void TfrmEditSite::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    const QScreen *where = parentWidget() ? parentWidget()->screen() : screen();
    if (where)
        move(where->availableGeometry().center() - QPoint(width() / 2, height() / 2));
}
