#pragma once

#include <QString>
#include <QStringList>

class Database;

// One entry of the category list as the listing statement sees it.
struct CategoryTick
{
    QString id; // decimal text of categories.ID, as read from the database
    bool ticked = false;
};

// The statement that lists the sites of the ticked categories, without ordering clause.
QString generateFilterSQL(const QVector<CategoryTick> &categories);
// The ordering the site list appends.
extern const char *const kSiteListOrder;

// Number of rows of sites, whatever their category. Throws DatabaseError.
int countSites(Database &db);
