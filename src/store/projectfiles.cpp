#include "projectfiles.h"

#include "database.h"
#include "databaseerror.h"
#include "schema.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace {

void syncPath(const QString &path, bool directory)
{
    const int fd = ::open(QFile::encodeName(path).constData(), directory ? O_RDONLY | O_DIRECTORY : O_RDONLY);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}

QString systemError()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

} // namespace

namespace ProjectFiles {

void saveCopy(Database &live, const QString &target)
{
    const QFileInfo targetInfo(target);
    const QString folder = targetInfo.absolutePath();
    if (!QFileInfo(folder).isDir())
        throw DatabaseError(QStringLiteral("The folder %1 does not exist.").arg(QDir::toNativeSeparators(folder)));
    if (targetInfo.isDir())
        throw DatabaseError(QStringLiteral("%1 is a folder.").arg(QDir::toNativeSeparators(target)));

    QTemporaryFile temp(folder + QStringLiteral("/.") + targetInfo.fileName() + QStringLiteral(".XXXXXX"));
    temp.setAutoRemove(false);
    if (!temp.open())
        throw DatabaseError(temp.errorString());
    const QString tempPath = temp.fileName();
    temp.close();
    try {
        live.backupTo(tempPath);
        syncPath(tempPath, false);
        if (std::rename(QFile::encodeName(tempPath).constData(), QFile::encodeName(target).constData()) != 0)
            throw DatabaseError(systemError());
    } catch (...) {
        QFile::remove(tempPath);
        throw;
    }
    syncPath(folder, true);
}

void openInto(Database &live, const QString &workingCopy, const QString &source, const QString &stagingPath)
{
    if (QFileInfo(source).isDir())
        throw DatabaseError(QStringLiteral("%1 is a folder, not a project file.").arg(QDir::toNativeSeparators(source)));
    QFile::remove(stagingPath);
    QFile in(source);
    if (!in.copy(stagingPath)) {
        const QString reason = in.errorString();
        QFile::remove(stagingPath);
        throw DatabaseError(reason);
    }
    QFile::setPermissions(stagingPath, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);

    try {
        Database staged;
        staged.open(stagingPath);
        const ResultTable check = staged.query(QStringLiteral("PRAGMA quick_check"));
        if (check.rowCount() == 0 || check.text(0, 0) != QLatin1String("ok"))
            throw DatabaseError(QStringLiteral("The file is damaged: %1").arg(check.rowCount() ? check.text(0, 0) : QString()));
        if (!staged.tableExists(QStringLiteral("sites")))
            throw DatabaseError(QStringLiteral("The file is not a project: it has no table of sites."));
        Schema::upgradeProject(staged);
        staged.close();

        // No connection may hold the working copy while it is replaced: close, rename, reopen.
        // The rename is atomic, so the working copy is always either the old or the new file.
        live.close();
        if (std::rename(QFile::encodeName(stagingPath).constData(), QFile::encodeName(workingCopy).constData()) != 0) {
            const QString reason = systemError();
            live.open(workingCopy);
            throw DatabaseError(reason);
        }
        live.open(workingCopy);
    } catch (...) {
        QFile::remove(stagingPath);
        if (!live.isOpen()) {
            try {
                live.open(workingCopy);
            } catch (const DatabaseError &) {
            }
        }
        throw;
    }
}

} // namespace ProjectFiles
