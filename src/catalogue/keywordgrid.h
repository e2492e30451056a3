#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>

class KeywordDelegate;
class KeywordModel;
class Prompter;
class QTableView;
class QToolButton;

// The grid of search fields (rows of the keywords table) with its record navigator, over a
// connection of its own to the working copy. A row is posted when the user leaves it, presses
// Enter in a cell, or presses Post; rowPosted() follows every successful post of a new or changed
// row (not a deletion). Errors of the database are shown through the prompter.
class KeywordGrid final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(KeywordGrid)

public:
    // connectionName must be unique among the program's Qt SQL connections.
    KeywordGrid(Prompter &prompter, const QString &connectionName, QWidget *parent = nullptr);
    ~KeywordGrid() override;

    // Connects to the database file at path and reads its keywords table, sorted by Form_Order,
    // Keyword. False, with the reason in error, when the file is missing or the table cannot be
    // read; the grid is then closed.
    bool open(const QString &path, QString *error = nullptr);
    // Drops every unposted change, closes and removes the connection.
    void close();
    bool isOpen() const { return m_model != nullptr; }

    // Posts the open editor and the row being edited, if any. False when that post failed (the
    // error has been shown and the row stays as it is).
    bool postPending();
    bool hasPendingChanges() const;

    QTableView *view() const { return m_view; }
    KeywordModel *model() const { return m_model; }

signals:
    void rowPosted();

private:
    enum Button
    {
        First,
        Prior,
        Next,
        Last,
        Insert,
        Delete,
        Edit,
        Post,
        Cancel,
        Refresh,
        ButtonCount
    };

    void currentRowChanged(int current, int previous);
    void moveTo(int row);
    void insertRow();
    void deleteRow();
    void editRow();
    void cancelEdit();
    void refresh();
    bool submit();
    void showError(const QString &text);
    void fetchAll();
    void selectRowById(const QVariant &id, int fallbackRow);
    void updateButtons();
    int currentRow() const;

    Prompter &m_prompter;
    QString m_connectionName;
    QTableView *m_view = nullptr;
    KeywordDelegate *m_delegate = nullptr;
    KeywordModel *m_model = nullptr;
    QToolButton *m_buttons[ButtonCount] = {};
    int m_newRow = -1; // an inserted row not yet posted
    bool m_newRowTouched = false; // something was typed into it; else leaving it drops it
    bool m_moving = false;
};
