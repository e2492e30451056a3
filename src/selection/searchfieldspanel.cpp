#include "searchfieldspanel.h"

#include "store/database.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QScrollArea>

namespace {
const int kCaptionWidth = 120;
const int kBoxOffset = 140;
const int kBoxWidth = 200;
const int kRowHeight = 32;
const int kRightColumn = 360;
} // namespace

SearchFieldsPanel::SearchFieldsPanel(QScrollArea *area, QObject *parent)
    : QObject(parent), m_area(area), m_container(new QWidget)
{
    m_container->setObjectName(QStringLiteral("sbSearchFieldsContents"));
    m_area->setWidget(m_container);
    m_area->setWidgetResizable(false);
    m_container->resize(0, 0);
}

int SearchFieldsPanel::controlCount() const
{
    return m_container->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly).size();
}

void SearchFieldsPanel::cxClearFieldsClick()
{
    const auto children = m_container->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly);
    for (QWidget *child : children)
        delete child;
    m_container->resize(0, 0);
}

void SearchFieldsPanel::cxButton1Click(Database &db)
{
    cxClearFieldsClick();
    ResultTable rows = db.query(QStringLiteral("SELECT * FROM keywords"));
    int top = -28;
    bool leftNext = true;
    int right = 0;
    int bottom = 0;
    QWidget *previous = nullptr;
    for (; !rows.eof(); rows.next()) {
        const QString keyword = rows.text(QStringLiteral("Keyword"));
        const QString id = rows.text(QStringLiteral("ID"));
        int left;
        if (leftNext) {
            left = 4;
            top += kRowHeight;
            leftNext = false;
        } else {
            left = kRightColumn;
            leftNext = true;
        }
        auto *caption = new QLabel(keyword, m_container);
        caption->setGeometry(left, top, kCaptionWidth, caption->sizeHint().height());
        caption->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        caption->setToolTip(keyword);
        auto *box = new QLineEdit(m_container);
        box->setObjectName(QStringLiteral("fld_") + id);
        box->setGeometry(left + kBoxOffset, top - 2, kBoxWidth, box->sizeHint().height());
        box->installEventFilter(this);
        caption->setBuddy(box);
        caption->show();
        box->show();
        if (previous)
            QWidget::setTabOrder(previous, box);
        previous = box;
        right = qMax(right, box->geometry().right() + 4);
        bottom = qMax(bottom, box->geometry().bottom() + 4);
    }
    m_container->resize(right, bottom);
}

void SearchFieldsPanel::focusFirstField(Database &db)
{
    ResultTable rows = db.query(QStringLiteral("SELECT * FROM keywords"));
    if (rows.rowCount() == 0)
        return;
    if (QLineEdit *first = box(rows.text(QStringLiteral("ID"))))
        first->setFocus(Qt::OtherFocusReason);
}

QLineEdit *SearchFieldsPanel::box(const QString &fieldId) const
{
    return m_container->findChild<QLineEdit *>(QStringLiteral("fld_") + fieldId, Qt::FindDirectChildrenOnly);
}

QString SearchFieldsPanel::text(const QString &fieldId) const
{
    const QLineEdit *edit = box(fieldId);
    return edit ? edit->text() : QString();
}

bool SearchFieldsPanel::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            emit searchRequested();
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}
