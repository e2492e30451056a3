#pragma once

#include <QStringList>

// What the add-website dialog needs from the main window. The main window implements it over its
// category filter and site lists; tests record the calls.
class AddWebsiteHost
{
public:
    virtual ~AddWebsiteHost() = default;

    // The entries of the category filter (chkCategories), in their order, and the category ID of
    // each (lstCategoryIDs), in the same order.
    virtual QStringList categoryNames() const = 0;
    virtual QStringList categoryIds() const = 0;
    // Ticks entry index of the category filter without running the filter's click handler.
    virtual void tickCategory(int index) = 0;
    // Marks the project modified.
    virtual void SetDirty() = 0;
    // A site was saved and the dialog has closed: rebuild the site list (showFilteredRecords) and
    // store the new site total (countRecords).
    virtual void siteAdded() = 0;
    // Rows of the keywords table were posted in the dialog's grid: rebuild the search fields panel
    // ("Create Fields").
    virtual void searchFieldsChanged() = 0;
};
