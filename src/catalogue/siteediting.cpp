#include "siteediting.h"

#include "categories.h"
#include "databasemessages.h"
#include "editsite.h"
#include "selection/siteselection.h"
#include "store/database.h"
#include "store/databaseerror.h"
#include "ui/prompter.h"

SiteEditing::SiteEditing(Database &db, Prompter &prompter, SiteSelection &selection, TfrmEditSite &editSite,
    TfrmCategories &categories, std::function<void()> setDirty, QObject *parent)
    : QObject(parent)
    , m_db(db)
    , m_prompter(prompter)
    , m_selection(selection)
    , m_editSite(editSite)
    , m_categories(categories)
    , m_setDirty(std::move(setDirty))
    , m_showModal([](QDialog &dialog) { dialog.exec(); })
{
}

void SiteEditing::cxEditSiteClick()
{
    const int k = m_selection.selectedSite();
    if (k < 0)
        return;
    m_editSite.reset(m_selection.categoryNames(), m_selection.categoryIds(), m_selection.sites().entry(k));
    m_showModal(m_editSite);
    if (m_editSite.tag() == 2) {
        m_setDirty();
        m_selection.showFilteredRecords();
    }
}

void SiteEditing::cxDeleteSiteClick()
{
    const int k = m_selection.selectedSite();
    if (k < 0)
        return;
    const SiteEntry site = m_selection.sites().entry(k);
    if (!m_prompter.question(
            QStringLiteral("Are you sure you wish to delete \"") + site.name + QStringLiteral("\"?")))
        return;
    try {
        m_db.execute(QStringLiteral("DELETE FROM sites WHERE id = ?1"), { site.id.toLongLong() });
    } catch (const DatabaseError &e) {
        m_prompter.warning(DatabaseMessages::writeError(e.message()));
        return;
    }
    m_setDirty();
    // The guidance texts and the search's "no site" check read the stored total.
    m_selection.setSiteTotal(m_selection.countRecords());
    m_selection.showFilteredRecords();
}

void SiteEditing::dxSiteCategoryManagementClick()
{
    const QStringList ticked = m_selection.tickedCategoryIds();
    m_categories.reset();
    m_showModal(m_categories);

    m_selection.PopulateFilterCategories();
    m_selection.setCategoriesTicked(ticked, true);
    // The site list is not emptied first: the refresh harvests the site ticks the user changed
    // since the last one, and an emptied list would forget them. The refresh also hides the
    // Edit Site / Delete Site strip. It ends by switching the search area, except after a read
    // error, when the emptied list must not leave the ready state showing.
    m_selection.showFilteredRecords();
    m_selection.CheckIfOneOrMoreSitesSelected();
}
