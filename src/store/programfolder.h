#pragma once

#include <QString>

// The folder that holds temp1.db, mru.txt and settings.txt, always with a trailing separator:
// explicitDir when given, else the executable's folder when it is writable, else the per-user
// data folder. The folder is created when missing.
QString resolveProgramFolder(const QString &explicitDir, const QString &executableDir);

#include <QLockFile>
#include <memory>

// Only one running copy may own a program folder. Null when another live process holds it.
std::unique_ptr<QLockFile> lockProgramFolder(const QString &folder);
