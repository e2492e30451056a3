#include "schema.h"

#include "database.h"

namespace Schema {

const char *const kCreateAdmin = "CREATE TABLE admin ([ID] INTEGER PRIMARY KEY,[version] INTEGER)";
const char *const kSeedAdmin = "INSERT INTO admin(version) VALUES (\"1\");";
const char *const kCreateCategories = "CREATE TABLE categories ([ID] INTEGER PRIMARY KEY,[Category] VARCHAR (255))";
const char *const kIndexCategories = "CREATE INDEX categoriesCategory ON [categories]([Category]);";
const char *const kSeedCategories = "INSERT INTO categories(Category) VALUES (\"General\");";
const char *const kCreateSites
    = "CREATE TABLE sites ([ID] INTEGER PRIMARY KEY,[Category] INTEGER, site_name VARCHAR (255), "
      "site_url VARCHAR(1024), site_post VARCHAR(5000), is_post TINYINT(1)"
      ", login_site_url VARCHAR(1024), login_site_post VARCHAR(5000), login_is_post TINYINT(1), "
      "login_username VARCHAR(255), login_password VARCHAR(255))";
const char *const kIndexSites = "CREATE INDEX sitesCategory ON [sites]([Category]);";
const char *const kCreateKeywords
    = "CREATE TABLE keywords ([ID] INTEGER PRIMARY KEY,[Keyword] VARCHAR (255), [Search_Text] VARCHAR(255), "
      "[Type] INTEGER DEFAULT 0, [Form_Order] INTEGER )";
const char *const kIndexKeywordsKeyword = "CREATE INDEX keywordsKeyword ON [keywords]([Keyword]);";
const char *const kIndexKeywordsFormOrder = "CREATE INDEX keywordsForm_Order ON [keywords]([Form_Order]);";
const char *const kSeedKeywords = "INSERT INTO keywords(Keyword, Search_Text, Type, Form_Order) VALUES "
                                  "(\"Search Term\", \"ZPQ-SEARCH-TERM\", 0, 100);";

namespace {

QStringList keywordStatements()
{
    return {QString::fromLatin1(kCreateKeywords), QString::fromLatin1(kIndexKeywordsKeyword),
            QString::fromLatin1(kIndexKeywordsFormOrder), QString::fromLatin1(kSeedKeywords)};
}

void runAll(Database &db, const QStringList &statements)
{
    for (const QString &sql : statements)
        db.execute(sql);
}

} // namespace

void createFreshTables(Database &db)
{
    if (!db.tableExists(QStringLiteral("admin")))
        runAll(db, {QString::fromLatin1(kCreateAdmin), QString::fromLatin1(kSeedAdmin)});
    if (!db.tableExists(QStringLiteral("categories")))
        runAll(db, {QString::fromLatin1(kCreateCategories), QString::fromLatin1(kIndexCategories),
                    QString::fromLatin1(kSeedCategories)});
    if (!db.tableExists(QStringLiteral("sites")))
        runAll(db, {QString::fromLatin1(kCreateSites), QString::fromLatin1(kIndexSites)});
    if (!db.tableExists(QStringLiteral("keywords")))
        runAll(db, keywordStatements());
}

QStringList upgradeStatements(bool withKeywords)
{
    QStringList statements{QString::fromLatin1(kCreateAdmin), QString::fromLatin1(kSeedAdmin)};
    if (withKeywords)
        statements << keywordStatements();
    statements << QStringLiteral("ALTER TABLE sites ADD COLUMN login_site_url VARCHAR(1024)")
               << QStringLiteral("ALTER TABLE sites ADD COLUMN login_site_post VARCHAR(5000) ")
               << QStringLiteral("ALTER TABLE sites ADD COLUMN login_is_post TINYINT(1)")
               << QStringLiteral("ALTER TABLE sites ADD COLUMN login_username VARCHAR(255)")
               << QStringLiteral("ALTER TABLE sites ADD COLUMN login_password VARCHAR(255)")
               << QStringLiteral(
                      "UPDATE sites SET site_url = REPLACE(site_url, \"[SEARCH]\", \"[ZPQ-SEARCH-TERM]\") ")
               << QStringLiteral(
                      "UPDATE sites SET site_post = REPLACE(site_post, \"[SEARCH]\", \"[ZPQ-SEARCH-TERM]\") ");
    return statements;
}

void upgradeProject(Database &db)
{
    if (db.tableExists(QStringLiteral("admin")))
        return;
    runAll(db, upgradeStatements(!db.tableExists(QStringLiteral("keywords"))));
}

} // namespace Schema
