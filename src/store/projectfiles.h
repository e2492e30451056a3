#pragma once

#include <QString>

class Database;

namespace ProjectFiles {

// Writes a complete copy of the open database beside target, then renames it over target.
// On any failure the temporary copy is removed, target is untouched and DatabaseError is thrown.
void saveCopy(Database &live, const QString &target);

// Copies source into stagingPath, checks that it is a project (a sound SQLite database with a
// sites table) and upgrades it there, then closes live, renames the staged file over workingCopy
// and reopens live on it. No other connection may hold live's file meanwhile. On failure throws
// DatabaseError with the reason; workingCopy is left exactly as it was and live is open on it.
void openInto(Database &live, const QString &workingCopy, const QString &source, const QString &stagingPath);

} // namespace ProjectFiles
