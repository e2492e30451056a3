#pragma once

#include <QString>

// The folder that holds temp1.db, mru.txt and settings.txt, always with a trailing separator:
// explicitDir when given, else the executable's folder when it is writable, else the per-user
// data folder. The folder is created when missing.
QString resolveProgramFolder(const QString &explicitDir, const QString &executableDir);

#include <QLockFile>
#include <memory>

// Only one running copy may own a program folder. Null when the lock cannot be taken; error then
// tells why (LockFailedError: another live copy holds it; PermissionError: the folder is not
// writable).
std::unique_ptr<QLockFile> lockProgramFolder(const QString &folder, QLockFile::LockError *error = nullptr);
