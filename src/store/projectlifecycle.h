#pragma once

#include <QObject>
#include <QStringList>

class Database;
class Prompter;
class ProjectHooks;

// The working copy and the project file: New, Open, Save, Save As, the modified indicator and the
// recent-projects list. Owns no widget; the main window shows what its signals report.
class ProjectLifecycle final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ProjectLifecycle)

public:
    // programFolder ends with a separator. db is the shared connection to the working copy.
    ProjectLifecycle(Database &db, Prompter &prompter, const QString &programFolder, QObject *parent = nullptr);

    void setHooks(ProjectHooks *hooks) { m_hooks = hooks; }

    QString programFolder() const { return m_programFolder; }
    QString workingCopyPath() const { return m_programFolder + QStringLiteral("temp1.db"); }
    QString projectFileName() const { return m_projectFileName; }
    QString shownFileName() const { return m_shownFileName; }
    bool isModified() const { return m_modified; }
    QStringList recentList() const { return m_recent; }

    void dxNewProjectClick();
    void dxOpenProjectClick();
    void OpenProjectFile(const QString &path);
    bool OpenProject(const QString &path);
    void dxSaveProjectClick();
    void dxSaveProjectAsClick();
    void SaveProjectFile(const QString &path);
    void SetDirty();
    void SetClean();
    void ConfirmSave();
    void ShowFileName(const QString &text);

    void RefreshMRU(bool reload);
    void UpdateMRU(const QString &path = QString());
    void dxBarApplicationMenu1ExtraPaneItemClick(int index);

signals:
    void modifiedChanged(bool modified);
    void fileNameShown(const QString &text);
    void recentListChanged(const QStringList &entries);

private:
    void ensureConnection();
    void dropFromRecent(const QString &path);

    Database &m_db;
    Prompter &m_prompter;
    ProjectHooks *m_hooks = nullptr;
    QString m_programFolder;
    QString m_projectFileName;
    QString m_shownFileName;
    bool m_modified = false;
    QStringList m_recent;
};
