#include "sitefilter.h"

#include "store/database.h"

#include <QVector>

const char *const kSiteListOrder = " ORDER BY sites.site_name COLLATE NOCASE ";

QString generateFilterSQL(const QVector<CategoryTick> &categories)
{
    QStringList ids;
    for (const CategoryTick &category : categories) {
        if (category.ticked)
            ids << category.id;
    }
    QString sql = QStringLiteral(
        "SELECT sites.ID, sites.Category, sites.site_name, sites.site_url, sites.site_post, sites.is_post, "
        "sites.login_site_url, sites.login_site_post, sites.login_is_post FROM sites, categories ");
    if (ids.isEmpty())
        sql += QStringLiteral(" WHERE sites.Category IN (-1) ");
    else
        sql += QStringLiteral(" WHERE sites.Category IN (") + ids.join(QLatin1Char(',')) + QStringLiteral(") ");
    sql += QStringLiteral(" AND sites.Category = categories.ID ");
    return sql;
}

int countSites(Database &db)
{
    ResultTable result = db.query(QStringLiteral("SELECT COUNT(*) AS Num FROM sites"));
    return result.rowCount() ? int(result.integer(QStringLiteral("Num"))) : 0;
}
