#include "qtprompter.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>

namespace {

QString title()
{
    return QApplication::applicationDisplayName().isEmpty() ? QApplication::applicationName()
                                                            : QApplication::applicationDisplayName();
}

} // namespace

void QtPrompter::warning(const QString &text)
{
    QMessageBox::warning(m_parent, title(), text);
}

void QtPrompter::error(const QString &text)
{
    QMessageBox::critical(m_parent, title(), text);
}

void QtPrompter::information(const QString &text)
{
    QMessageBox::information(m_parent, title(), text);
}

bool QtPrompter::question(const QString &text)
{
    return QMessageBox::question(m_parent, title(), text, QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes)
        == QMessageBox::Yes;
}

QString QtPrompter::openFileName(const QString &caption, const QString &filter)
{
    return QFileDialog::getOpenFileName(m_parent, caption, QString(), filter);
}

QString QtPrompter::saveFileName(const QString &caption, const QString &filter, const QString &defaultSuffix)
{
    QFileDialog dialog(m_parent, caption, QString(), filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(defaultSuffix);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().constFirst();
}

bool QtPrompter::getText(const QString &caption, const QString &label, QString &text)
{
    bool ok = false;
    const QString answer = QInputDialog::getText(m_parent, caption, label, QLineEdit::Normal, text, &ok);
    if (ok)
        text = answer;
    return ok;
}
