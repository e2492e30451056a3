#pragma once

#include <QString>

// The folder that holds temp1.db, mru.txt and settings.txt, always with a trailing separator:
// explicitDir when given, else the executable's folder when it is writable, else the per-user
// data folder. The folder is created when missing.
QString resolveProgramFolder(const QString &explicitDir, const QString &executableDir);
