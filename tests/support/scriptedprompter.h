#pragma once

#include "ui/prompter.h"

#include <QList>
#include <QStringList>
#include <functional>

// Records every message and answers questions and dialogs from prepared lists. A question or
// dialog with no prepared answer fails the test loudly instead of hanging.
class ScriptedPrompter final : public Prompter
{
public:
    QStringList shown;      // every text shown, in order, questions included
    QStringList kinds;      // "warning", "error", "information", "question" for each shown text
    QList<bool> answers;    // answers to questions, in order
    QStringList fileNames;  // answers to file dialogs, in order ("" = cancelled)
    QStringList texts;      // answers to text prompts, in order; a null QString = cancelled
    // Runs while a message is on show, as events that arrive during a real message box do.
    std::function<void(const QString &)> whileShown;

    void warning(const QString &text) override { record(QStringLiteral("warning"), text); }
    void error(const QString &text) override { record(QStringLiteral("error"), text); }
    void information(const QString &text) override { record(QStringLiteral("information"), text); }
    bool question(const QString &text) override;
    QString openFileName(const QString &title, const QString &filter) override;
    QString saveFileName(const QString &title, const QString &filter, const QString &defaultSuffix) override;
    bool getText(const QString &title, const QString &label, QString &text) override;

    void clear() { shown.clear(); kinds.clear(); }

private:
    void record(const QString &kind, const QString &text)
    {
        kinds << kind;
        shown << text;
        if (whileShown)
            whileShown(text);
    }
};
