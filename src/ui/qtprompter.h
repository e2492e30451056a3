#pragma once

#include "prompter.h"

class QWidget;

// Message boxes and file dialogs for the real window, titled with the application title.
class QtPrompter final : public Prompter
{
public:
    explicit QtPrompter(QWidget *parent = nullptr) : m_parent(parent) {}
    void setParent(QWidget *parent) { m_parent = parent; }

    void warning(const QString &text) override;
    void error(const QString &text) override;
    void information(const QString &text) override;
    bool question(const QString &text) override;
    QString openFileName(const QString &title, const QString &filter) override;
    QString saveFileName(const QString &title, const QString &filter, const QString &defaultSuffix) override;
    bool getText(const QString &title, const QString &label, QString &text) override;

private:
    QWidget *m_parent;
};
