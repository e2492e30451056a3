#include "programfolder.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

QString withSeparator(QString path)
{
    path = QDir::cleanPath(QDir(path).absolutePath());
    if (!path.endsWith(QLatin1Char('/')))
        path += QLatin1Char('/');
    return path;
}

} // namespace

QString resolveProgramFolder(const QString &explicitDir, const QString &executableDir)
{
    QString folder;
    if (!explicitDir.isEmpty()) {
        folder = explicitDir;
    } else if (QFileInfo(executableDir).isWritable()) {
        folder = executableDir;
    } else {
        folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    }
    QDir().mkpath(folder);
    return withSeparator(folder);
}

std::unique_ptr<QLockFile> lockProgramFolder(const QString &folder, QLockFile::LockError *error)
{
    auto lock = std::make_unique<QLockFile>(folder + QStringLiteral("korvalt.lock"));
    // A lock left by a crashed copy is taken over at once; a live copy's lock never goes stale.
    lock->setStaleLockTime(0);
    const bool locked = lock->tryLock(100);
    if (error)
        *error = lock->error();
    if (!locked)
        return nullptr;
    return lock;
}
