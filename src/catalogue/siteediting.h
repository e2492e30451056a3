#pragma once

#include <QObject>

#include <functional>

class Database;
class Prompter;
class SiteSelection;
class TfrmCategories;
class TfrmEditSite;
class QDialog;

// The main window's commands that change the catalogue in place: "Edit Site" and "Delete Site"
// on the selected site, and "Site Category Management". Each writes the working copy, marks the
// project modified and reloads the main window's lists from the database.
class SiteEditing final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SiteEditing)

public:
    // Shows a dialog modally and returns when it has closed.
    using ShowModal = std::function<void(QDialog &)>;

    // Every reference must outlive the controller. setDirty marks the project modified.
    SiteEditing(Database &db, Prompter &prompter, SiteSelection &selection, TfrmEditSite &editSite,
        TfrmCategories &categories, std::function<void()> setDirty, QObject *parent = nullptr);

    // The default runs QDialog::exec(); tests put in a script that drives the dialog instead.
    void setShowModal(ShowModal showModal) { m_showModal = std::move(showModal); }

    // Without a selected site these do nothing.
    void cxEditSiteClick();
    void cxDeleteSiteClick();
    // After the dialog the category list is reloaded, the categories ticked before are ticked
    // again by ID (a new one comes in unticked) and the site list is refreshed to match.
    void dxSiteCategoryManagementClick();

private:
    Database &m_db;
    Prompter &m_prompter;
    SiteSelection &m_selection;
    TfrmEditSite &m_editSite;
    TfrmCategories &m_categories;
    std::function<void()> m_setDirty;
    ShowModal m_showModal;
};
