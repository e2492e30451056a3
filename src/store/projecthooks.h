#pragma once

// What the project commands need from the lists of the main window. The main window implements
// it over the site-selection controller; tests may record the calls.
class ProjectHooks
{
public:
    virtual ~ProjectHooks() = default;
    // Empty the category list and the site list, hide the result area and the Edit/Delete strip,
    // set the site total to 0 and disable the site-browse commands.
    virtual void emptyLists() = 0;
    // Reload the category list from the working copy (throws DatabaseError).
    virtual void populateFilterCategories() = 0;
    // After an open: recount the sites and refresh the site list.
    virtual void refreshSites() = 0;
    // The project was replaced: the search fields panel is rebuilt for it.
    virtual void searchFieldsReplaced() = 0;
    virtual void checkIfOneOrMoreSitesSelected() = 0;
};
