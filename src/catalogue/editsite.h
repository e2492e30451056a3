#pragma once

#include <QDialog>
#include <QStringList>

class Database;
class Prompter;
struct SiteEntry;
class QComboBox;
class QLineEdit;
class QPushButton;

// "Edit Site": changes one site's name, category, search templates and login request.
//
// Created once by the main window and reused; reset() refills every box for the site to edit.
// The outcome travels in tag(): 0 unchanged, 1 changed and not saved, 2 saved. Closing with tag 1
// (Cancel, Esc or the close box) asks before the changes are abandoned.
class TfrmEditSite final : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TfrmEditSite)

public:
    // db and prompter must outlive the dialog.
    TfrmEditSite(Database &db, Prompter &prompter, QWidget *parent = nullptr);

    // Fills the boxes from site and the category picker from the category list (names and IDs
    // in step, as the main window shows them), selects the site's category and sets tag 0.
    void reset(const QStringList &categoryNames, const QStringList &categoryIds, const SiteEntry &site);

    int tag() const { return m_tag; }

    // A key typed in any of the five boxes, and a change of category: tag 1.
    void edNameKeyPress();
    void lstCategoriesChange();
    // Writes the boxes to the site's row; on success tag 2 and the dialog closes. A database error
    // is shown and the dialog stays open with the edits and the tag unchanged.
    void bOKClick();
    void bCancelClick();
    // True when the dialog may close: always unless tag is 1 and the user answers No.
    bool FormCloseQuery();

    // Every way of closing without saving (Cancel, Esc, the close box) passes here.
    void reject() override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    Database &m_db;
    Prompter &m_prompter;
    int m_tag = 0;
    bool m_filling = false;
    QString m_siteId;
    QString m_siteCategory;
    QStringList m_categoryIds;

    QLineEdit *edName = nullptr;
    QComboBox *lstCategories = nullptr;
    QLineEdit *txtURL = nullptr;
    QLineEdit *txtPosts = nullptr;
    QLineEdit *txtLoginURL = nullptr;
    QLineEdit *txtLoginPost = nullptr;
    QPushButton *bOK = nullptr;
    QPushButton *bCancel = nullptr;
};
