#include "projectlifecycle.h"

#include "database.h"
#include "databaseerror.h"
#include "projectfiles.h"
#include "projecthooks.h"
#include "schema.h"
#include "textlines.h"
#include "ui/prompter.h"

#include <QFileInfo>

namespace {

const QString kCrLf = QStringLiteral("\r\n");
const QString kFilter = QStringLiteral("Tandrel (*.tdl)");
const QString kSuffix = QStringLiteral("tdl");

} // namespace

ProjectLifecycle::ProjectLifecycle(Database &db, Prompter &prompter, const QString &programFolder, QObject *parent)
    : QObject(parent), m_db(db), m_prompter(prompter), m_programFolder(programFolder)
{
}

// A failed New Project or open must not leave the program without a connection.
void ProjectLifecycle::ensureConnection()
{
    if (m_db.isOpen())
        return;
    try {
        m_db.open(workingCopyPath());
    } catch (const DatabaseError &) {
        // Nothing more to try; the next command reports it.
    }
}

void ProjectLifecycle::dxNewProjectClick()
{
    ConfirmSave();
    if (m_hooks)
        m_hooks->emptyLists();

    if (QFileInfo::exists(workingCopyPath()) && m_db.isOpen()) {
        try {
            for (const char *table : {"categories", "sites", "keywords"}) {
                const QString name = QString::fromLatin1(table);
                if (m_db.tableExists(name))
                    m_db.execute(QStringLiteral("DROP TABLE ") + name);
            }
            m_db.close();
        } catch (const DatabaseError &e) {
            m_prompter.warning(QStringLiteral("Error deleting temp Database - please contact tech support.") + kCrLf
                               + e.message());
            ensureConnection();
            return;
        }
    }

    if (!OpenProject(workingCopyPath())) {
        m_prompter.warning(QStringLiteral("Unable to Create New Project - Please check File Permissions"));
        ensureConnection();
        return;
    }

    try {
        Schema::createFreshTables(m_db);
        if (m_hooks)
            m_hooks->populateFilterCategories();
    } catch (const DatabaseError &e) {
        m_prompter.warning(QStringLiteral("Error Writing to Project Database - please contact tech support.") + kCrLf
                           + e.message());
        return;
    }

    m_projectFileName.clear();
    ShowFileName(QString());
    SetClean();
    if (m_hooks) {
        m_hooks->searchFieldsReplaced();
        m_hooks->checkIfOneOrMoreSitesSelected();
    }
}

void ProjectLifecycle::dxOpenProjectClick()
{
    ConfirmSave();
    const QString path = m_prompter.openFileName(QStringLiteral("Open Project"), kFilter);
    if (!path.isEmpty())
        OpenProjectFile(QFileInfo(path).absoluteFilePath());
}

void ProjectLifecycle::dropFromRecent(const QString &path)
{
    RecentList::remove(m_recent, path);
    UpdateMRU();
}

void ProjectLifecycle::OpenProjectFile(const QString &path)
{
    if (path.isEmpty())
        return;
    if (!QFileInfo::exists(path)) {
        m_prompter.warning(QStringLiteral("Unable to open file ") + path + QStringLiteral(" - please check file permissions"));
        dropFromRecent(path);
        return;
    }

    try {
        ProjectFiles::openInto(m_db, workingCopyPath(), path, m_programFolder + QStringLiteral("staging.db"));
    } catch (const DatabaseError &e) {
        m_prompter.warning(QStringLiteral("Error Opening File - please try again.") + kCrLf + e.message());
        dropFromRecent(path);
        return;
    }

    ShowFileName(path);
    m_projectFileName = path;
    SetClean();
    UpdateMRU(path);
    if (m_hooks) {
        try {
            m_hooks->populateFilterCategories();
        } catch (const DatabaseError &e) {
            m_prompter.warning(QStringLiteral("Error Reading from Database - please contact tech support.") + kCrLf
                               + e.message());
        }
        m_hooks->refreshSites();
        m_hooks->searchFieldsReplaced();
        m_hooks->checkIfOneOrMoreSitesSelected();
    }
}

bool ProjectLifecycle::OpenProject(const QString &path)
{
    try {
        m_db.open(path);
        return true;
    } catch (const DatabaseError &e) {
        m_prompter.warning(QStringLiteral("Error Opening Project Database - please contact tech support.") + kCrLf
                           + e.message());
        return false;
    }
}

void ProjectLifecycle::dxSaveProjectClick()
{
    if (!m_projectFileName.isEmpty())
        SaveProjectFile(m_projectFileName);
    else
        dxSaveProjectAsClick();
}

void ProjectLifecycle::dxSaveProjectAsClick()
{
    const QString chosen = m_prompter.saveFileName(QStringLiteral("Save Project"), kFilter, kSuffix);
    if (chosen.isEmpty())
        return;
    const QString path = QFileInfo(chosen).absoluteFilePath();
    if (QFileInfo::exists(path) && !m_prompter.question(QStringLiteral("Do you want to overwrite ") + path + QStringLiteral("?")))
        return;
    SaveProjectFile(path);
}

void ProjectLifecycle::SaveProjectFile(const QString &path)
{
    if (path.isEmpty())
        return;
    try {
        ProjectFiles::saveCopy(m_db, path);
    } catch (const DatabaseError &e) {
        m_prompter.warning(QStringLiteral("Error Saving File - please try again.") + kCrLf + e.message());
        return;
    }
    m_projectFileName = path;
    ShowFileName(path);
    SetClean();
    UpdateMRU(path);
    if (m_hooks)
        m_hooks->checkIfOneOrMoreSitesSelected();
    m_prompter.information(QStringLiteral("Project Saved!"));
}

void ProjectLifecycle::SetDirty()
{
    if (m_modified)
        return;
    m_modified = true;
    emit modifiedChanged(true);
}

void ProjectLifecycle::SetClean()
{
    if (!m_modified)
        return;
    m_modified = false;
    emit modifiedChanged(false);
}

void ProjectLifecycle::ConfirmSave()
{
    while (m_modified) {
        if (!m_prompter.question(QStringLiteral("Save Changes to Active Project?")))
            return;
        dxSaveProjectClick();
    }
}

void ProjectLifecycle::ShowFileName(const QString &text)
{
    m_shownFileName = text;
    emit fileNameShown(text);
}

void ProjectLifecycle::RefreshMRU(bool reload)
{
    if (reload) {
        const QString path = m_programFolder + QStringLiteral("mru.txt");
        if (QFileInfo::exists(path) && !TextLines::read(path, m_recent))
            m_recent.clear();
    }
    emit recentListChanged(m_recent);
}

void ProjectLifecycle::UpdateMRU(const QString &path)
{
    if (!path.isEmpty())
        RecentList::putOnTop(m_recent, path);
    TextLines::write(m_programFolder + QStringLiteral("mru.txt"), m_recent);
    RefreshMRU(false);
}

void ProjectLifecycle::dxBarApplicationMenu1ExtraPaneItemClick(int index)
{
    if (index < 0 || index >= m_recent.size())
        return;
    const QString path = m_recent.at(index);
    ConfirmSave();
    OpenProjectFile(path);
}
