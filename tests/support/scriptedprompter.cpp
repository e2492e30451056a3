#include "scriptedprompter.h"

#include <QtTest>

bool ScriptedPrompter::question(const QString &text)
{
    record(QStringLiteral("question"), text);
    if (answers.isEmpty()) {
        qWarning("ScriptedPrompter: unexpected question: %s", qPrintable(text));
        return false;
    }
    return answers.takeFirst();
}

QString ScriptedPrompter::openFileName(const QString &, const QString &)
{
    if (fileNames.isEmpty()) {
        qWarning("ScriptedPrompter: unexpected open dialog");
        return QString();
    }
    return fileNames.takeFirst();
}

QString ScriptedPrompter::saveFileName(const QString &, const QString &, const QString &)
{
    if (fileNames.isEmpty()) {
        qWarning("ScriptedPrompter: unexpected save dialog");
        return QString();
    }
    return fileNames.takeFirst();
}

bool ScriptedPrompter::getText(const QString &, const QString &, QString &text)
{
    if (texts.isEmpty()) {
        qWarning("ScriptedPrompter: unexpected text prompt");
        return false;
    }
    const QString answer = texts.takeFirst();
    if (answer.isNull())
        return false;
    text = answer;
    return true;
}
