#pragma once

#include "projectfixture.h"
#include "scriptedprompter.h"

#include <QStringList>
#include <QTemporaryDir>
#include <QVariantList>

#include <memory>

class Database;
class SiteEditing;
class SiteSelection;
class TfrmCategories;
class TfrmEditSite;
class TfrmMain;

// A started main window on a small project, with the edit-site dialog, the category manager and
// their commands built over the window's own connection and site selection. Every mark of the
// project as modified is counted in dirty.
class EditingHarness final
{
public:
    EditingHarness(const QStringList &extraCategories, const QList<ProjectFixture::Site> &sites);
    ~EditingHarness();
    EditingHarness(const EditingHarness &) = delete;
    EditingHarness &operator=(const EditingHarness &) = delete;

    ScriptedPrompter prompter;
    int dirty = 0;

    TfrmMain &window() { return *m_window; }
    Database &db();
    SiteSelection &selection();
    TfrmEditSite &editSite() { return *m_editSite; }
    TfrmCategories &categories() { return *m_categories; }
    SiteEditing &editing() { return *m_editing; }

    // The site list by name, " (unticked)" after an unticked site.
    QStringList siteNames() const;
    // As the user does it, through the views.
    void selectSite(const QString &name);
    void userTicksSite(const QString &name, bool ticked);
    void userTicksCategory(const QString &name, bool ticked);
    // The guidance text, or "<ready>" when the search area is ready.
    QString guidance() const;
    // The first column of the first row, as text; "<none>" when there is no row.
    QString value(const QString &sql, const QVariantList &params = {});
    int siteIndex(const QString &name) const;

private:
    QTemporaryDir m_dir;
    std::unique_ptr<TfrmMain> m_window;
    TfrmEditSite *m_editSite = nullptr;
    TfrmCategories *m_categories = nullptr;
    SiteEditing *m_editing = nullptr;
};
