#include "categories.h"

#include "databasemessages.h"
#include "store/database.h"
#include "store/databaseerror.h"
#include "ui/prompter.h"

#include <QBoxLayout>
#include <QFrame>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>

namespace {

const int kIdRole = Qt::UserRole;
const int kNameLength = 255;

QPushButton *commandButton(const QString &text, const char *name, QWidget *parent)
{
    auto *button = new QPushButton(text, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setMinimumHeight(32);
    button->setAutoDefault(false);
    QSizePolicy policy = button->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    button->setSizePolicy(policy);
    return button;
}

} // namespace

TfrmCategories::TfrmCategories(
    Database &db, Prompter &prompter, std::function<void()> setDirty, QWidget *parent)
    : QDialog(parent)
    , m_db(db)
    , m_prompter(prompter)
    , m_setDirty(std::move(setDirty))
{
    setObjectName(QStringLiteral("TfrmCategories"));
    setWindowTitle(QStringLiteral("Site Category Management"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setFixedSize(441, 618);
    setStyleSheet(QStringLiteral(
        "QFrame#panNew, QFrame#panEditDelete { background: #f7f8fc; border-top: 1px solid #c5cad8; }"
        "QLabel#panNewHeader { font-weight: 700; color: #27324a; }"
        "QListWidget#lstCategories { padding: 4px; }"
        "QListWidget#lstCategories::item { padding: 3px 6px; }"
        "QPushButton#cxFinish { color: white; font-weight: 600; background: #c62828; border: 1px solid "
        "#9e1f1f;"
        "  border-radius: 3px; padding: 4px 18px; }"
        "QPushButton#cxFinish:hover { background: #d93a3a; }"
        "QPushButton#cxFinish:pressed { background: #a82020; }"
        "QPushButton#cxFinish:focus { border: 1px solid #27324a; }"));

    lstCategories = new QListWidget(this);
    lstCategories->setObjectName(QStringLiteral("lstCategories"));
    lstCategories->setSelectionMode(QAbstractItemView::SingleSelection);
    lstCategories->setUniformItemSizes(true);
    lstCategories->setTextElideMode(Qt::ElideRight);
    QFont listFont = lstCategories->font();
    listFont.setPixelSize(14);
    lstCategories->setFont(listFont);

    panNew = new QFrame(this);
    panNew->setObjectName(QStringLiteral("panNew"));
    auto *header = new QLabel(QStringLiteral("Add Category"), panNew);
    header->setObjectName(QStringLiteral("panNewHeader"));
    txtCategory = new QLineEdit(panNew);
    txtCategory->setObjectName(QStringLiteral("txtCategory"));
    txtCategory->setMaxLength(kNameLength);
    txtCategory->setMinimumHeight(28);
    cxCancel = new QPushButton(QStringLiteral("Cancel"), panNew);
    cxCancel->setObjectName(QStringLiteral("cxCancel"));
    cxSave = new QPushButton(QStringLiteral("&Save"), panNew);
    cxSave->setObjectName(QStringLiteral("cxSave"));
    for (QPushButton *b : { cxCancel, cxSave }) {
        b->setMinimumSize(90, 30);
        b->setAutoDefault(false);
    }
    auto *newButtons = new QHBoxLayout;
    newButtons->addStretch(1);
    newButtons->addWidget(cxCancel);
    newButtons->addWidget(cxSave);
    auto *newLayout = new QVBoxLayout(panNew);
    newLayout->setContentsMargins(12, 10, 12, 10);
    newLayout->setSpacing(8);
    newLayout->addWidget(header);
    newLayout->addWidget(txtCategory);
    newLayout->addLayout(newButtons);

    panEditDelete = new QFrame(this);
    panEditDelete->setObjectName(QStringLiteral("panEditDelete"));
    cxEdit = commandButton(QStringLiteral("&Edit"), "cxEdit", panEditDelete);
    cxAddNew = commandButton(QStringLiteral("&Add New Category"), "cxAddNew", panEditDelete);
    cxDelete = commandButton(QStringLiteral("&Delete"), "cxDelete", panEditDelete);
    cxFinish = commandButton(QStringLiteral("&Finish"), "cxFinish", panEditDelete);
    auto *commands = new QGridLayout(panEditDelete);
    commands->setContentsMargins(10, 10, 10, 10);
    commands->setHorizontalSpacing(8);
    commands->addWidget(cxEdit, 0, 0);
    commands->addWidget(cxAddNew, 0, 1);
    commands->setColumnStretch(2, 1);
    // "Finish" takes the place of "Delete"; only one of them shows at a time.
    commands->addWidget(cxDelete, 0, 3);
    commands->addWidget(cxFinish, 0, 3);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(lstCategories, 1);
    layout->addWidget(panNew);
    layout->addWidget(panEditDelete);
    panNew->hide();
    cxEdit->hide();
    cxDelete->hide();

    connect(lstCategories, &QListWidget::itemSelectionChanged, this, [this] { lstCategoriesClick(); });
    connect(lstCategories, &QListWidget::itemDoubleClicked, this, [this] { cxEditClick(); });
    connect(cxEdit, &QPushButton::clicked, this, [this] { cxEditClick(); });
    connect(cxAddNew, &QPushButton::clicked, this, [this] { cxAddNewClick(); });
    connect(cxDelete, &QPushButton::clicked, this, [this] { cxDeleteClick(); });
    connect(cxFinish, &QPushButton::clicked, this, [this] { cxFinishClick(); });
    connect(cxSave, &QPushButton::clicked, this, [this] { cxSaveClick(); });
    connect(cxCancel, &QPushButton::clicked, this, [this] { cxCancelClick(); });
}

void TfrmCategories::reset()
{
    panEditDelete->show();
    panNew->hide();
    cxSave->setDefault(false);
    lstCategories->clear();
    txtCategory->clear();
    lstCategories->setEnabled(true);
    populateCatgories();
    // The buttons follow the selection, which a fresh list does not have; without this the dialog
    // could open with Delete showing, doing nothing, and Finish hidden.
    lstCategoriesClick();
    lstCategories->setFocus();
}

void TfrmCategories::populateCatgories()
{
    lstCategories->clear();
    try {
        ResultTable rows = m_db.query(
            QStringLiteral("SELECT [ID],[Category] FROM categories ORDER BY [Category] COLLATE NOCASE;"));
        for (; !rows.eof(); rows.next()) {
            auto *item = new QListWidgetItem(rows.text(QStringLiteral("Category")));
            item->setData(kIdRole, rows.text(QStringLiteral("ID")));
            item->setToolTip(item->text());
            lstCategories->addItem(item);
        }
    } catch (const DatabaseError &e) {
        m_prompter.warning(DatabaseMessages::readError(e.message()));
    }
}

int TfrmCategories::selectedRow() const
{
    const QList<QListWidgetItem *> selected = lstCategories->selectedItems();
    return selected.isEmpty() ? -1 : lstCategories->row(selected.first());
}

void TfrmCategories::selectRow(int row)
{
    if (row < 0) {
        lstCategories->clearSelection();
        return;
    }
    lstCategories->setCurrentRow(row, QItemSelectionModel::ClearAndSelect);
}

void TfrmCategories::lstCategoriesClick()
{
    const bool selected = selectedRow() >= 0;
    if (!selected)
        panNew->hide();
    cxEdit->setVisible(selected);
    cxDelete->setVisible(selected);
    cxFinish->setVisible(!selected);
}

void TfrmCategories::showEditingPanel(const QString &name)
{
    lstCategories->setEnabled(false);
    panEditDelete->hide();
    // A longer name stored before is shown whole; only typing is held to the limit.
    txtCategory->setMaxLength(std::max(kNameLength, int(name.size())));
    txtCategory->setText(name);
    panNew->show();
    cxSave->setDefault(true);
    txtCategory->setFocus();
    txtCategory->selectAll();
}

void TfrmCategories::cxAddNewClick()
{
    m_adding = true;
    showEditingPanel(QString());
}

void TfrmCategories::cxEditClick()
{
    const int row = selectedRow();
    if (row < 0)
        return;
    m_adding = false;
    showEditingPanel(lstCategories->item(row)->text());
}

void TfrmCategories::cxSaveClick()
{
    const QString name = txtCategory->text();
    if (name.isEmpty()) {
        m_prompter.warning(QStringLiteral("Category Name cannot be blank!"));
        return;
    }
    if (m_adding) {
        qint64 id = 0;
        try {
            m_db.execute(QStringLiteral("INSERT INTO categories(Category) VALUES (?1);"), { name });
            id = m_db.lastInsertRowId();
        } catch (const DatabaseError &e) {
            m_prompter.warning(DatabaseMessages::writeError(e.message()));
            return;
        }
        auto *item = new QListWidgetItem(name);
        item->setData(kIdRole, QString::number(id));
        item->setToolTip(name);
        lstCategories->addItem(item);
    } else {
        const int row = selectedRow();
        if (row < 0)
            return;
        QListWidgetItem *item = lstCategories->item(row);
        try {
            m_db.execute(QStringLiteral("UPDATE categories SET Category=?1 WHERE ID=?2;"),
                { name, item->data(kIdRole).toString().toLongLong() });
        } catch (const DatabaseError &e) {
            m_prompter.warning(DatabaseMessages::writeError(e.message()));
            return;
        }
        item->setText(name);
        item->setToolTip(name);
    }
    HidePanels();
    m_setDirty();
}

void TfrmCategories::cxCancelClick()
{
    if (m_prompter.question(QStringLiteral("Are you sure you want to cancel any changes?")))
        HidePanels();
}

void TfrmCategories::HidePanels()
{
    panNew->hide();
    cxSave->setDefault(false);
    lstCategories->setEnabled(true);
    panEditDelete->show();
    lstCategoriesClick();
    lstCategories->setFocus();
}

void TfrmCategories::cxDeleteClick()
{
    const int row = selectedRow();
    if (row < 0)
        return;
    QListWidgetItem *item = lstCategories->item(row);
    if (!m_prompter.question(QStringLiteral("Are you sure that you want to delete \"") + item->text()
            + QStringLiteral("\" category?")))
        return;
    try {
        m_db.execute(QStringLiteral("DELETE FROM categories WHERE ID = ?1"),
            { item->data(kIdRole).toString().toLongLong() });
    } catch (const DatabaseError &e) {
        m_prompter.warning(DatabaseMessages::writeError(e.message()));
        return;
    }
    delete lstCategories->takeItem(row);
    // The view would select the next entry by itself; after a delete nothing is selected, so the
    // next Delete needs a fresh choice.
    lstCategories->clearSelection();
    HidePanels();
    m_setDirty();
}

void TfrmCategories::cxFinishClick()
{
    accept();
}

TfrmCategories::State TfrmCategories::state() const
{
    if (!panNew->isHidden())
        return m_adding ? State::Adding : State::Renaming;
    return selectedRow() >= 0 ? State::Selected : State::Browsing;
}

QStringList TfrmCategories::categoryNames() const
{
    QStringList names;
    for (int i = 0; i < lstCategories->count(); ++i)
        names << lstCategories->item(i)->text();
    return names;
}

QStringList TfrmCategories::categoryIds() const
{
    QStringList ids;
    for (int i = 0; i < lstCategories->count(); ++i)
        ids << lstCategories->item(i)->data(kIdRole).toString();
    return ids;
}

void TfrmCategories::keyPressEvent(QKeyEvent *event)
{
    // Esc while adding or renaming is Cancel, with its question; otherwise it closes the dialog.
    if (event->key() == Qt::Key_Escape && !panNew->isHidden()) {
        cxCancelClick();
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TfrmCategories::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    const QScreen *where = parentWidget() ? parentWidget()->screen() : screen();
    if (where)
        move(where->availableGeometry().center() - QPoint(width() / 2, height() / 2));
}
