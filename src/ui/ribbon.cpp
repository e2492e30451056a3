#include "ribbon.h"

#include <QAction>
#include <QBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QScreen>
#include <QTabBar>
#include <QToolButton>
#include <QVariant>

ApplicationMenu::ApplicationMenu(QWidget *parent) : QFrame(parent, Qt::Popup)
{
    setObjectName(QStringLiteral("dxBarApplicationMenu1"));
    setFrameShape(QFrame::StyledPanel);
    auto *outer = new QHBoxLayout(this);
    outer->setContentsMargins(4, 4, 4, 4);
    outer->setSpacing(8);

    auto *left = new QWidget(this);
    m_commands = new QVBoxLayout(left);
    m_commands->setContentsMargins(0, 0, 0, 0);
    m_commands->setSpacing(0);
    m_commands->addStretch(1);
    left->setMinimumWidth(210);
    outer->addWidget(left);

    auto *right = new QWidget(this);
    auto *rightLayout = new QVBoxLayout(right);
    rightLayout->setContentsMargins(0, 0, 0, 0);
    auto *title = new QLabel(tr("Recent Projects"), right);
    title->setObjectName(QStringLiteral("recentTitle"));
    rightLayout->addWidget(title);
    m_recent = new QListWidget(right);
    m_recent->setObjectName(QStringLiteral("dxBarApplicationMenu1ExtraPane"));
    m_recent->setTextElideMode(Qt::ElideMiddle);
    m_recent->setMinimumSize(380, 260);
    rightLayout->addWidget(m_recent);
    outer->addWidget(right, 1);

    connect(m_recent, &QListWidget::itemClicked, this, [this](QListWidgetItem *item) {
        const int position = m_recent->row(item);
        hide();
        emit recentItemClicked(position);
    });
}

void ApplicationMenu::addAction(QAction *action)
{
    auto *button = new QToolButton(this);
    button->setDefaultAction(action);
    button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    button->setIconSize(QSize(32, 32));
    button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    button->setAutoRaise(true);
    connect(button, &QToolButton::triggered, this, &QWidget::hide);
    m_commands->insertWidget(m_commands->count() - 1, button);
}

void ApplicationMenu::addSeparator()
{
    auto *line = new QFrame(this);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    m_commands->insertWidget(m_commands->count() - 1, line);
}

void ApplicationMenu::setRecentItems(const QStringList &items)
{
    m_recent->clear();
    for (const QString &item : items) {
        m_recent->addItem(item);
        m_recent->item(m_recent->count() - 1)->setToolTip(item);
    }
}

void ApplicationMenu::popupBelow(QWidget *anchor)
{
    adjustSize();
    move(anchor->mapToGlobal(QPoint(0, anchor->height())));
    show();
    raise();
}

Ribbon::Ribbon(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("dxRibbon"));
    setAttribute(Qt::WA_StyledBackground, true);
    setFixedHeight(159);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    auto *titleBar = new QWidget(this);
    titleBar->setObjectName(QStringLiteral("ribbonTitleBar"));
    titleBar->setAttribute(Qt::WA_StyledBackground, true);
    titleBar->setFixedHeight(30);
    auto *titleLayout = new QHBoxLayout(titleBar);
    titleLayout->setContentsMargins(4, 2, 8, 2);
    titleLayout->setSpacing(2);
    m_appButton = new QToolButton(titleBar);
    m_appButton->setObjectName(QStringLiteral("ribbonAppButton"));
    m_appButton->setText(tr("Project"));
    m_appButton->setToolTip(tr("Application menu"));
    titleLayout->addWidget(m_appButton);
    titleLayout->addSpacing(6);
    m_quickAccess = new QHBoxLayout;
    m_quickAccess->setSpacing(1);
    titleLayout->addLayout(m_quickAccess);
    titleLayout->addStretch(1);
    m_title = new QLabel(titleBar);
    m_title->setObjectName(QStringLiteral("ribbonTitle"));
    titleLayout->addWidget(m_title);
    titleLayout->addStretch(1);
    layout->addWidget(titleBar);

    m_tabs = new QTabBar(this);
    m_tabs->setObjectName(QStringLiteral("ribbonTabs"));
    m_tabs->setDrawBase(false);
    m_tabs->setExpanding(false);
    layout->addWidget(m_tabs);

    auto *groupArea = new QWidget(this);
    m_groups = new QHBoxLayout(groupArea);
    m_groups->setContentsMargins(4, 2, 4, 2);
    m_groups->setSpacing(0);
    m_groups->addStretch(1);
    layout->addWidget(groupArea, 1);

    m_menu = new ApplicationMenu(this);
    connect(m_appButton, &QToolButton::clicked, this, [this] { m_menu->popupBelow(m_appButton); });
}

void Ribbon::setDocumentName(const QString &name)
{
    m_title->setText(name);
}

void Ribbon::addTab(const QString &caption)
{
    m_tabs->addTab(caption);
}

void Ribbon::addGroup(const QString &caption)
{
    auto *group = new QFrame(this);
    group->setProperty("class", QStringLiteral("ribbonGroup"));
    auto *column = new QVBoxLayout(group);
    column->setContentsMargins(6, 2, 6, 0);
    column->setSpacing(0);
    auto *row = new QHBoxLayout;
    row->setSpacing(2);
    column->addLayout(row, 1);
    auto *label = new QLabel(caption, group);
    label->setProperty("class", QStringLiteral("ribbonGroupCaption"));
    label->setAlignment(Qt::AlignHCenter);
    column->addWidget(label);
    m_groups->insertWidget(m_groups->count() - 1, group);
    m_currentGroup = row;
}

QToolButton *Ribbon::addLargeButton(QAction *action)
{
    if (!m_currentGroup)
        addGroup(QString());
    auto *button = new QToolButton(this);
    button->setObjectName(action->objectName());
    button->setProperty("class", QStringLiteral("ribbonLarge"));
    button->setDefaultAction(action);
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    button->setIconSize(QSize(32, 32));
    button->setMinimumWidth(72);
    button->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Expanding);
    m_currentGroup->addWidget(button);
    return button;
}

void Ribbon::addQuickAccess(QAction *action)
{
    auto *button = new QToolButton(this);
    button->setDefaultAction(action);
    button->setToolButtonStyle(Qt::ToolButtonIconOnly);
    button->setIconSize(QSize(18, 18));
    button->setAutoRaise(true);
    m_quickAccess->addWidget(button);
}
