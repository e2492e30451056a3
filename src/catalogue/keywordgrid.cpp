#include "keywordgrid.h"

#include "ui/prompter.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QIcon>
#include <QIntValidator>
#include <QLineEdit>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlField>
#include <QSqlRecord>
#include <QSqlTableModel>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>

#include <functional>

namespace {

constexpr int kTextLength = 1020;

const QString kKeyword = QStringLiteral("Keyword");
const QString kSearchText = QStringLiteral("Search_Text");
const QString kType = QStringLiteral("Type");
const QString kFormOrder = QStringLiteral("Form_Order");

} // namespace

// The keywords table in the order the search fields panel shows them.
class KeywordModel final : public QSqlTableModel
{
public:
    KeywordModel(QObject *parent, const QSqlDatabase &db)
        : QSqlTableModel(parent, db)
    {
    }

    std::function<void()> onPosted;

    QVariant data(const QModelIndex &index, int role) const override
    {
        if (role == Qt::TextAlignmentRole && index.column() == fieldIndex(kFormOrder))
            return int(Qt::AlignCenter);
        return QSqlTableModel::data(index, role);
    }

protected:
    QString orderByClause() const override { return QStringLiteral("ORDER BY Form_Order, Keyword"); }

    bool updateRowInTable(int row, const QSqlRecord &values) override
    {
        const bool ok = QSqlTableModel::updateRowInTable(row, values);
        if (ok && onPosted)
            onPosted();
        return ok;
    }

    bool insertRowIntoTable(const QSqlRecord &values) override
    {
        const bool ok = QSqlTableModel::insertRowIntoTable(values);
        if (ok && onPosted)
            onPosted();
        return ok;
    }
};

// Cell editors: text up to the column's length, numbers for the number columns. Knows whether an
// editor is open, so the navigator can post or drop what is being typed.
class KeywordDelegate final : public QStyledItemDelegate
{
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;

    bool isEditing() const { return m_editor != nullptr; }

    // Writes the open editor's text into the model and closes it.
    void finishEditing()
    {
        if (QWidget *editor = m_editor) {
            emit commitData(editor);
            emit closeEditor(editor, NoHint);
        }
    }

    void cancelEditing()
    {
        if (QWidget *editor = m_editor)
            emit closeEditor(editor, NoHint);
    }

    QWidget *createEditor(
        QWidget *parent, const QStyleOptionViewItem &, const QModelIndex &index) const override
    {
        auto *editor = new QLineEdit(parent);
        editor->setFrame(false);
        if (isNumberColumn(index))
            editor->setValidator(new QIntValidator(editor));
        else
            editor->setMaxLength(kTextLength);
        m_editor = editor;
        emit const_cast<KeywordDelegate *>(this)->editingChanged();
        return editor;
    }

    void setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const override
    {
        const QString text = static_cast<QLineEdit *>(editor)->text();
        // An editor opened and left empty on an empty cell typed nothing.
        if (text.isEmpty() && index.data(Qt::EditRole).isNull())
            return;
        if (isNumberColumn(index))
            model->setData(
                index, text.trimmed().isEmpty() ? QVariant() : QVariant(text.trimmed().toLongLong()));
        else
            model->setData(index, text);
    }

    void destroyEditor(QWidget *editor, const QModelIndex &index) const override
    {
        if (editor == m_editor)
            m_editor = nullptr;
        QStyledItemDelegate::destroyEditor(editor, index);
        emit const_cast<KeywordDelegate *>(this)->editingChanged();
    }

signals:
    void editingChanged();

private:
    static bool isNumberColumn(const QModelIndex &index)
    {
        const auto *model = qobject_cast<const QSqlTableModel *>(index.model());
        return model
            && (index.column() == model->fieldIndex(kFormOrder)
                || index.column() == model->fieldIndex(kType));
    }

    mutable QPointer<QWidget> m_editor;
};

KeywordGrid::KeywordGrid(Prompter &prompter, const QString &connectionName, QWidget *parent)
    : QWidget(parent)
    , m_prompter(prompter)
    , m_connectionName(connectionName)
{
    auto *navigator = new QWidget(this);
    navigator->setObjectName(QStringLiteral("DBNavigator1"));
    auto *buttons = new QHBoxLayout(navigator);
    buttons->setContentsMargins(0, 0, 0, 0);
    buttons->setSpacing(1);
    struct ButtonInfo
    {
        const char *name;
        const char *icon;
        const char *hint;
    };
    static const ButtonInfo infos[ButtonCount] = {
        { "nbFirst", "first", "First record" },
        { "nbPrior", "prior", "Prior record" },
        { "nbNext", "next", "Next record" },
        { "nbLast", "last", "Last record" },
        { "nbInsert", "insert", "Insert record" },
        { "nbDelete", "delete", "Delete record" },
        { "nbEdit", "edit", "Edit record" },
        { "nbPost", "post", "Post edit" },
        { "nbCancel", "cancel", "Cancel edit" },
        { "nbRefresh", "refresh", "Refresh data" },
    };
    for (int i = 0; i < ButtonCount; ++i) {
        auto *button = new QToolButton(navigator);
        button->setObjectName(QLatin1String(infos[i].name));
        button->setIcon(QIcon(QStringLiteral(":/navigator/%1.svg").arg(QLatin1String(infos[i].icon))));
        button->setIconSize(QSize(16, 16));
        button->setToolTip(QLatin1String(infos[i].hint));
        button->setAutoRaise(true);
        buttons->addWidget(button);
        m_buttons[i] = button;
        if (i == Last || i == Delete || i == Cancel)
            buttons->addSpacing(8);
    }
    buttons->addStretch();
    connect(m_buttons[First], &QToolButton::clicked, this, [this] { moveTo(0); });
    connect(m_buttons[Prior], &QToolButton::clicked, this, [this] { moveTo(currentRow() - 1); });
    connect(m_buttons[Next], &QToolButton::clicked, this, [this] { moveTo(currentRow() + 1); });
    connect(m_buttons[Last], &QToolButton::clicked, this,
        [this] { moveTo(m_model ? m_model->rowCount() - 1 : 0); });
    connect(m_buttons[Insert], &QToolButton::clicked, this, &KeywordGrid::insertRow);
    connect(m_buttons[Delete], &QToolButton::clicked, this, &KeywordGrid::deleteRow);
    connect(m_buttons[Edit], &QToolButton::clicked, this, &KeywordGrid::editRow);
    connect(m_buttons[Post], &QToolButton::clicked, this, [this] { postPending(); });
    connect(m_buttons[Cancel], &QToolButton::clicked, this, &KeywordGrid::cancelEdit);
    connect(m_buttons[Refresh], &QToolButton::clicked, this, &KeywordGrid::refresh);

    m_view = new QTableView(this);
    m_view->setObjectName(QStringLiteral("DBGrid1"));
    m_delegate = new KeywordDelegate(m_view);
    m_view->setItemDelegate(m_delegate);
    m_view->setSelectionMode(QAbstractItemView::SingleSelection);
    m_view->setSelectionBehavior(QAbstractItemView::SelectItems);
    m_view->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
        | QAbstractItemView::AnyKeyPressed);
    m_view->setAlternatingRowColors(true);
    m_view->verticalHeader()->setDefaultSectionSize(m_view->fontMetrics().height() + 8);
    m_view->horizontalHeader()->setHighlightSections(false);
    connect(m_delegate, &KeywordDelegate::editingChanged, this, &KeywordGrid::updateButtons);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);
    layout->addWidget(navigator);
    layout->addWidget(m_view, 1);
    updateButtons();
}

KeywordGrid::~KeywordGrid()
{
    close();
}

bool KeywordGrid::open(const QString &path, QString *error)
{
    close();
    QString reason;
    if (!QFileInfo(path).isFile()) {
        reason = QStringLiteral("No such file: %1").arg(path);
    } else {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connectionName);
        db.setDatabaseName(path);
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=2000"));
        if (!db.open()) {
            reason = db.lastError().text();
        } else {
            m_model = new KeywordModel(this, db);
            m_model->setEditStrategy(QSqlTableModel::OnRowChange);
            m_model->setTable(QStringLiteral("keywords"));
            if (!m_model->select())
                reason = m_model->lastError().text();
        }
    }
    if (!reason.isEmpty() || !m_model) {
        close();
        if (error)
            *error = reason;
        return false;
    }
    fetchAll();
    m_model->onPosted = [this] { emit rowPosted(); };
    m_model->setHeaderData(m_model->fieldIndex(kFormOrder), Qt::Horizontal, QStringLiteral("Form Order"));
    m_model->setHeaderData(
        m_model->fieldIndex(kType), Qt::Horizontal, QStringLiteral("Type [0=Normal 1=Usr 2=Pwd]"));
    m_view->setModel(m_model);
    const int digit = m_view->fontMetrics().horizontalAdvance(QLatin1Char('0'));
    for (int column = 0; column < m_model->columnCount(); ++column) {
        const QString name = m_model->record().fieldName(column);
        const bool shown = name.compare(kKeyword, Qt::CaseInsensitive) == 0
            || name.compare(kSearchText, Qt::CaseInsensitive) == 0
            || name.compare(kFormOrder, Qt::CaseInsensitive) == 0;
        m_view->setColumnHidden(column, !shown);
        if (shown)
            m_view->setColumnWidth(
                column, digit * (name.compare(kFormOrder, Qt::CaseInsensitive) == 0 ? 10 : 40) + 12);
    }
    connect(m_view->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
        [this](const QModelIndex &current, const QModelIndex &previous) {
            currentRowChanged(current.row(), previous.row());
        });
    connect(m_model, &QAbstractItemModel::dataChanged, this, [this](const QModelIndex &topLeft) {
        if (topLeft.row() == m_newRow)
            m_newRowTouched = true;
        updateButtons();
    });
    connect(m_model, &QAbstractItemModel::modelReset, this, &KeywordGrid::updateButtons);
    connect(m_model, &QAbstractItemModel::rowsInserted, this, &KeywordGrid::updateButtons);
    connect(m_model, &QAbstractItemModel::rowsRemoved, this, &KeywordGrid::updateButtons);
    if (m_model->rowCount() > 0) {
        m_moving = true;
        m_view->setCurrentIndex(m_model->index(0, m_model->fieldIndex(kKeyword)));
        m_moving = false;
    }
    updateButtons();
    return true;
}

void KeywordGrid::close()
{
    if (m_model) {
        m_delegate->cancelEditing();
        m_view->setModel(nullptr);
        delete m_model;
        m_model = nullptr;
    }
    if (QSqlDatabase::contains(m_connectionName)) {
        QSqlDatabase::database(m_connectionName, false).close();
        QSqlDatabase::removeDatabase(m_connectionName);
    }
    m_newRow = -1;
    updateButtons();
}

bool KeywordGrid::postPending()
{
    if (!m_model)
        return true;
    m_delegate->finishEditing();
    if (m_newRow >= 0 && !m_newRowTouched) {
        m_model->revertRow(m_newRow);
        m_newRow = -1;
    }
    const bool ok = !m_model->isDirty() || submit();
    updateButtons();
    return ok;
}

bool KeywordGrid::hasPendingChanges() const
{
    return m_model && (m_model->isDirty() || m_delegate->isEditing());
}

int KeywordGrid::currentRow() const
{
    return m_model ? m_view->currentIndex().row() : -1;
}

void KeywordGrid::currentRowChanged(int current, int previous)
{
    if (m_moving || !m_model || previous < 0 || previous == current) {
        updateButtons();
        return;
    }
    // Rows are taken away and the current row is set back only once the view has finished
    // moving; doing it inside the move leaves the view with a selection of rows that are gone.
    if (previous == m_newRow && !m_newRowTouched) {
        // Leaving a new row with nothing typed in drops it.
        QMetaObject::invokeMethod(
            this,
            [this, previous] {
                if (!m_model || m_newRow != previous || m_newRowTouched)
                    return;
                m_newRow = -1;
                m_model->revertRow(previous);
                updateButtons();
            },
            Qt::QueuedConnection);
    } else if (m_model->isDirty() && !submit()) {
        // Stay on the row that could not be posted.
        QMetaObject::invokeMethod(
            this,
            [this, previous] {
                if (!m_model || previous >= m_model->rowCount())
                    return;
                m_moving = true;
                m_view->setCurrentIndex(m_model->index(previous, qMax(0, m_view->currentIndex().column())));
                m_moving = false;
                updateButtons();
            },
            Qt::QueuedConnection);
    }
    updateButtons();
}

void KeywordGrid::moveTo(int row)
{
    if (!m_model)
        return;
    m_delegate->finishEditing();
    row = qBound(0, row, m_model->rowCount() - 1);
    const int column
        = m_view->currentIndex().isValid() ? m_view->currentIndex().column() : m_model->fieldIndex(kKeyword);
    m_view->setCurrentIndex(m_model->index(row, column));
}

void KeywordGrid::insertRow()
{
    if (!m_model || !postPending())
        return;
    const int row = qMax(0, currentRow());
    if (!m_model->insertRow(row)) {
        showError(m_model->lastError().text());
        return;
    }
    m_newRow = row;
    m_newRowTouched = false;
    const QModelIndex index = m_model->index(row, m_model->fieldIndex(kKeyword));
    m_moving = true;
    m_view->setCurrentIndex(index);
    m_moving = false;
    m_view->edit(index);
    updateButtons();
}

void KeywordGrid::deleteRow()
{
    const int row = currentRow();
    if (row < 0 || !m_prompter.question(QStringLiteral("Delete record?")))
        return;
    m_delegate->cancelEditing();
    const bool unposted = row == m_newRow;
    // An unposted new row simply goes; an edited row loses its unposted edits first.
    m_model->revertRow(row);
    if (unposted) {
        m_newRow = -1;
        updateButtons();
        return;
    }
    if (!m_model->removeRow(row)) {
        showError(m_model->lastError().text());
        m_model->revertAll();
    }
    // The model keeps a blank row for a deleted one until it reads the table again.
    m_model->select();
    fetchAll();
    selectRowById(QVariant(), row);
    updateButtons();
}

void KeywordGrid::editRow()
{
    if (!m_model || m_model->rowCount() == 0)
        return;
    QModelIndex index = m_view->currentIndex();
    if (!index.isValid()) {
        index = m_model->index(0, m_model->fieldIndex(kKeyword));
        m_view->setCurrentIndex(index);
    }
    m_view->edit(index);
}

void KeywordGrid::cancelEdit()
{
    if (!m_model)
        return;
    m_delegate->cancelEditing();
    m_model->revertAll();
    m_newRow = -1;
    updateButtons();
}

void KeywordGrid::refresh()
{
    if (!m_model || hasPendingChanges())
        return;
    const int row = currentRow();
    const QVariant id = row >= 0 ? m_model->record(row).value(QStringLiteral("ID")) : QVariant();
    if (!m_model->select()) {
        showError(m_model->lastError().text());
        return;
    }
    fetchAll();
    selectRowById(id, row);
    updateButtons();
}

bool KeywordGrid::submit()
{
    if (m_model->submitAll()) {
        m_newRow = -1;
        return true;
    }
    showError(m_model->lastError().text());
    return false;
}

void KeywordGrid::showError(const QString &text)
{
    m_prompter.error(text);
}

void KeywordGrid::fetchAll()
{
    // Reading to the end releases the read lock that an unfinished query holds on the file.
    while (m_model->canFetchMore())
        m_model->fetchMore();
}

void KeywordGrid::selectRowById(const QVariant &id, int fallbackRow)
{
    if (m_model->rowCount() == 0)
        return;
    int row = qBound(0, fallbackRow, m_model->rowCount() - 1);
    for (int i = 0; i < m_model->rowCount(); ++i) {
        if (!id.isNull() && m_model->record(i).value(QStringLiteral("ID")) == id) {
            row = i;
            break;
        }
    }
    m_moving = true;
    m_view->setCurrentIndex(m_model->index(row, m_model->fieldIndex(kKeyword)));
    m_moving = false;
}

void KeywordGrid::updateButtons()
{
    const bool open = m_model != nullptr;
    const int rows = open ? m_model->rowCount() : 0;
    const int row = currentRow();
    const bool editing = hasPendingChanges();
    m_buttons[First]->setEnabled(open && row > 0);
    m_buttons[Prior]->setEnabled(open && row > 0);
    m_buttons[Next]->setEnabled(open && row >= 0 && row < rows - 1);
    m_buttons[Last]->setEnabled(open && row >= 0 && row < rows - 1);
    m_buttons[Insert]->setEnabled(open);
    m_buttons[Delete]->setEnabled(open && row >= 0);
    m_buttons[Edit]->setEnabled(open && rows > 0 && !editing);
    m_buttons[Post]->setEnabled(open && editing);
    m_buttons[Cancel]->setEnabled(open && editing);
    m_buttons[Refresh]->setEnabled(open && !editing);
}

#include "keywordgrid.moc"
