#include "projectfixture.h"

#include "store/database.h"
#include "store/schema.h"

namespace ProjectFixture {

void addSites(Database &db, const QList<Site> &sites)
{
    db.execute(QStringLiteral("BEGIN"));
    for (const Site &s : sites) {
        db.execute(QStringLiteral("INSERT INTO sites (Category, site_name, site_url, site_post, is_post, "
                                  "login_site_url, login_site_post, login_is_post) VALUES (?1, ?2, ?3, ?4, ?5, '', '', 0)"),
                   {s.category, s.name, s.url, s.post, s.post.isEmpty() ? 0 : 1});
    }
    db.execute(QStringLiteral("COMMIT"));
}

QString create(const QString &path, const QStringList &extraCategories, const QList<Site> &sites)
{
    Database db;
    db.open(path);
    Schema::createFreshTables(db);
    for (const QString &name : extraCategories)
        db.execute(QStringLiteral("INSERT INTO categories (Category) VALUES (?1)"), {name});
    addSites(db, sites);
    db.close();
    return path;
}

} // namespace ProjectFixture
