#pragma once

#include <QString>

// Every message box and file dialog of the program goes through this, so tests can script them.
class Prompter
{
public:
    virtual ~Prompter() = default;
    virtual void warning(const QString &text) = 0;
    virtual void error(const QString &text) = 0;
    virtual void information(const QString &text) = 0;
    virtual bool question(const QString &text) = 0; // true for Yes
    // Empty when cancelled. filter is in Qt's form, e.g. "Tandrel (*.tdl)".
    virtual QString openFileName(const QString &title, const QString &filter) = 0;
    // Asks nothing by itself about an existing file; adds defaultSuffix to a bare name.
    virtual QString saveFileName(const QString &title, const QString &filter, const QString &defaultSuffix) = 0;
    // Free-text input (category names); false when cancelled.
    virtual bool getText(const QString &title, const QString &label, QString &text) = 0;
};
