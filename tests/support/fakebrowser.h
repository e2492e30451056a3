#pragma once

#include "ui/browser.h"

#include <QList>
#include <QPointer>

// A Browser that loads nothing: it records what it is asked to do, and the test raises its events
// (the signals are public) or uses the helpers below.
class FakeBrowser final : public Browser
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FakeBrowser)

public:
    struct Navigation
    {
        QString address;
        QByteArray body;
        QString headers;
    };

    explicit FakeBrowser(QWidget *parent = nullptr)
        : Browser(parent)
    {
    }

    QList<Navigation> navigations;
    int backCalls = 0, forwardCalls = 0, stopCalls = 0, refreshCalls = 0;
    bool canGoBack = false, canGoForward = false;
    QUrl currentUrl;
    QString currentTitle;
    bool busy = false;

    bool navigate(const QString &address, const QByteArray &body = QByteArray(),
        const QString &headers = QString()) override;
    bool goBack() override;
    bool goForward() override;
    void stop() override { ++stopCalls; }
    void refresh() override { ++refreshCalls; }
    QUrl locationUrl() const override { return currentUrl; }
    QString title() const override { return currentTitle; }
    bool isBusy() const override { return busy; }
    void setSilent(bool silent) override { m_silent = silent; }
    bool isSilent() const override { return m_silent; }
    void setPopupsAllowed(bool allowed) override { m_popupsAllowed = allowed; }
    bool popupsAllowed() const override { return m_popupsAllowed; }

    // A page has arrived: sets address and title, then raises navigateComplete, documentComplete
    // and loadFinished(ok).
    void finishLoad(const QUrl &url, const QString &title, bool ok = true);
    // A page asks for a window; raises newWindow as the real browser would and returns whether it
    // opened.
    bool requestPopup(const QUrl &url);

private:
    bool m_silent = true;
    bool m_popupsAllowed = false;
};

// Hands out FakeBrowsers and keeps track of them.
class FakeBrowserFactory final
{
public:
    QList<QPointer<FakeBrowser>> created;
    BrowserFactory factory();
    // The most recently made browser that is still alive, or nullptr.
    FakeBrowser *latest() const;
};
