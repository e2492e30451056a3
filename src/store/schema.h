#pragma once

#include <QStringList>

class Database;

namespace Schema {

// The statements of a project file, exactly as every project has been written with them.
extern const char *const kCreateAdmin;
extern const char *const kSeedAdmin;
extern const char *const kCreateCategories;
extern const char *const kIndexCategories;
extern const char *const kSeedCategories;
extern const char *const kCreateSites;
extern const char *const kIndexSites;
extern const char *const kCreateKeywords;
extern const char *const kIndexKeywordsKeyword;
extern const char *const kIndexKeywordsFormOrder;
extern const char *const kSeedKeywords;

// Creates each missing table of a fresh project with its indexes and seed rows.
void createFreshTables(Database &db);

// Brings a project written before the admin table existed up to date. Does nothing when the
// admin table is there. No transaction: a failing statement leaves the ones before it applied.
void upgradeProject(Database &db);

// The upgrade statements in the order they run, for the tests.
QStringList upgradeStatements(bool withKeywords);

} // namespace Schema
