#pragma once

#include "ui/browser.h"

#include <QElapsedTimer>
#include <QList>
#include <QTimer>

class QWebEngineNewWindowRequest;
class QWebEnginePage;
class QWebEngineProfile;
class QWebEngineView;
class BrowserPage;

// Browser over Qt WebEngine: a QWebEngineView showing a page of the given profile.
//
// Navigations are observed in QWebEnginePage::acceptNavigationRequest, which knows no request
// body. The body of a submitted form comes from resources/js/formcapture.js, which runs in the
// application world of every frame and reports each form's entry list through a QWebChannel that
// page scripts cannot reach. The two observations of one form submission are paired here, in
// whichever order they arrive, and reported as one beforeNavigate.
//
// The profile must outlive the browser.
class WebEngineBrowser final : public Browser
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(WebEngineBrowser)

public:
    WebEngineBrowser(QWebEngineProfile *profile, QWidget *parent = nullptr);
    ~WebEngineBrowser() override;

    bool navigate(const QString &address, const QByteArray &body = QByteArray(),
        const QString &headers = QString()) override;
    bool goBack() override;
    bool goForward() override;
    void stop() override;
    void refresh() override;
    QUrl locationUrl() const override;
    QString title() const override;
    bool isBusy() const override { return m_busy; }
    void setSilent(bool silent) override { m_silent = silent; }
    bool isSilent() const override { return m_silent; }
    void setPopupsAllowed(bool allowed) override { m_popupsAllowed = allowed; }
    bool popupsAllowed() const override { return m_popupsAllowed; }

    // For tests and for the pop-up windows this browser opens.
    QWebEnginePage *page() const;
    QWebEngineView *view() const { return m_view; }

private:
    friend class BrowserPage;

    struct FormReport
    {
        bool post = false;
        QUrl action;
        QByteArray body;
        qint64 at = 0;
    };
    struct HeldNavigation
    {
        QUrl url;
        bool isMainFrame = true;
        qint64 at = 0;
    };

    void navigationRequested(const QUrl &url, bool formSubmitted, bool isMainFrame);
    void formReported(const QString &method, const QString &action, const QString &body);
    void forget(qint64 now);
    void flushHeldNavigations();
    void report(const QUrl &url, const QByteArray &body, bool isMainFrame);
    void reportHistory();
    void openPopup(QWebEngineNewWindowRequest &request);

    QWebEngineView *m_view = nullptr;
    BrowserPage *m_page = nullptr;
    bool m_busy = false;
    bool m_silent = true;
    bool m_popupsAllowed = false;
    QElapsedTimer m_clock;
    QList<FormReport> m_reports; // not yet claimed by a navigation
    QList<FormReport> m_claimed; // claimed lately, to recognise repeats
    QList<HeldNavigation> m_held;
    QByteArray m_ownPostBody; // body of a POST started by navigate(), until it is reported
    QTimer m_heldTimer;
};
