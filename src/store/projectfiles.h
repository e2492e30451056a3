#pragma once

#include <QString>

class Database;

namespace ProjectFiles {

// Writes a complete copy of the open database beside target, then renames it over target.
// On any failure the temporary copy is removed, target is untouched and DatabaseError is thrown.
void saveCopy(Database &live, const QString &target);

// Copies source into stagingPath, checks that it is a project (a sound SQLite database with a
// sites table), upgrades it there, then replaces the live database's content with it in one
// transaction. On failure throws DatabaseError with the reason; live is left exactly as it was.
void openInto(Database &live, const QString &source, const QString &stagingPath);

} // namespace ProjectFiles
