#pragma once

#include <QFrame>
#include <QList>

class QAction;
class QBoxLayout;
class QLabel;
class QListWidget;
class QTabBar;
class QToolButton;

// The application menu: commands on the left, the recent-projects pane on the right.
class ApplicationMenu final : public QFrame
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ApplicationMenu)

public:
    explicit ApplicationMenu(QWidget *parent = nullptr);

    void addAction(QAction *action);
    void addSeparator();
    void setRecentItems(const QStringList &items);
    QListWidget *recentPane() const { return m_recent; }
    void popupBelow(QWidget *anchor);

signals:
    void recentItemClicked(int position);

private:
    QBoxLayout *m_commands;
    QListWidget *m_recent;
};

// A ribbon with one tab of command groups, an application button and a quick-access toolbar.
class Ribbon final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(Ribbon)

public:
    explicit Ribbon(QWidget *parent = nullptr);

    void setDocumentName(const QString &name);
    void addTab(const QString &caption);
    // Starts a new group; following addLargeButton calls fill it.
    void addGroup(const QString &caption);
    // The button carries the action's objectName too.
    QToolButton *addLargeButton(QAction *action);
    void addQuickAccess(QAction *action);
    ApplicationMenu *applicationMenu() const { return m_menu; }
    QToolButton *applicationButton() const { return m_appButton; }

private:
    QLabel *m_title;
    QTabBar *m_tabs;
    QBoxLayout *m_groups;
    QBoxLayout *m_currentGroup = nullptr;
    QBoxLayout *m_quickAccess;
    QToolButton *m_appButton;
    ApplicationMenu *m_menu;
};
