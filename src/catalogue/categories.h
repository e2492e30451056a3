#pragma once

#include <QDialog>
#include <QStringList>

#include <functional>

class Database;
class Prompter;
class QFrame;
class QLineEdit;
class QListWidget;
class QPushButton;

// "Site Category Management": lists the project's categories and adds, renames and deletes them.
// Every change goes straight into the working copy and marks the project modified through the
// setDirty callback.
//
// Created once by the main window and reused; reset() prepares it for each opening. The list keeps
// each category's ID with its name, so the two can never fall out of step.
class TfrmCategories final : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TfrmCategories)

public:
    enum class State
    {
        Browsing,
        Selected,
        Adding,
        Renaming
    };

    // db and prompter must outlive the dialog.
    TfrmCategories(
        Database &db, Prompter &prompter, std::function<void()> setDirty, QWidget *parent = nullptr);

    // The steps before showing: command panel shown, editing panel hidden, name box emptied, list
    // enabled and filled from the database, buttons as the (empty) selection asks.
    void reset();

    // Fills the list, by name without regard to case.
    void populateCatgories();
    // Shows the buttons that fit the selection.
    void lstCategoriesClick();
    void cxEditClick();
    void cxAddNewClick();
    void cxDeleteClick();
    void cxSaveClick();
    void cxCancelClick();
    void cxFinishClick();
    void HidePanels();

    State state() const;
    // The list as shown, and the ID of each entry.
    QStringList categoryNames() const;
    QStringList categoryIds() const;
    // -1 when no entry is selected.
    int selectedRow() const;
    void selectRow(int row);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void showEditingPanel(const QString &name);

    Database &m_db;
    Prompter &m_prompter;
    std::function<void()> m_setDirty;
    bool m_adding = false; // the mode of the editing panel: adding, else renaming

    QListWidget *lstCategories = nullptr;
    QFrame *panNew = nullptr;
    QLineEdit *txtCategory = nullptr;
    QPushButton *cxSave = nullptr;
    QPushButton *cxCancel = nullptr;
    QFrame *panEditDelete = nullptr;
    QPushButton *cxEdit = nullptr;
    QPushButton *cxAddNew = nullptr;
    QPushButton *cxDelete = nullptr;
    QPushButton *cxFinish = nullptr;
};
