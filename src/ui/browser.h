#pragma once

#include <QByteArray>
#include <QString>
#include <QUrl>
#include <QWidget>

#include <functional>

// An embedded web browser as the rest of Korvalt sees it: a widget that loads pages in the
// background and reports what it does through signals, all on the GUI thread. Every operation
// returns at once. The Qt WebEngine implementation is WebEngineBrowser; tests use a fake.
class Browser : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(Browser)

public:
    // The command numbers of commandStateChange.
    static constexpr int CommandUpdate = -1; // general update: busy() may have changed
    static constexpr int CommandForward = 1; // going forward became possible or not
    static constexpr int CommandBack = 2; // going back became possible or not

    explicit Browser(QWidget *parent = nullptr)
        : QWidget(parent)
    {
    }
    ~Browser() override = default;

    // Loads address. With an empty body it is a GET; otherwise a POST of exactly the bytes of body,
    // with the header lines of headers ("Name: value", separated by CR LF or LF). An address
    // without a scheme is taken the way a browser's address bar takes it. Returns false, and starts
    // nothing, when the address cannot be loaded at all (empty, malformed).
    virtual bool navigate(
        const QString &address, const QByteArray &body = QByteArray(), const QString &headers = QString())
        = 0;
    // Move in this browser's own history; false, and nothing happens, when there is no page in that
    // direction.
    virtual bool goBack() = 0;
    virtual bool goForward() = 0;
    virtual void stop() = 0;
    virtual void refresh() = 0;

    // The address of the page on show (empty before the first load).
    virtual QUrl locationUrl() const = 0;
    // The title of the document on show; empty when the document has none.
    virtual QString title() const = 0;
    // True from the start of a navigation until its document has finished loading.
    virtual bool isBusy() const = 0;

    // A silent browser shows no dialog boxes of its own (JavaScript alert, confirm, prompt):
    // alerts are dropped, confirm answers No, prompt is cancelled. Browsers start silent.
    virtual void setSilent(bool silent) = 0;
    virtual bool isSilent() const = 0;

    // Whether a page may open a window of its own (window.open, target="_blank"). Refused by
    // default; an allowed pop-up opens in a separate top-level window owned by this browser.
    virtual void setPopupsAllowed(bool allowed) = 0;
    virtual bool popupsAllowed() const = 0;

    // A number the owner attaches to tell its browsers apart (the site index of a result page).
    int tag() const { return m_tag; }
    void setTag(int tag) { m_tag = tag; }

signals:
    // A navigation of the top page or of one of its frames is about to be made. body is the exact
    // body of a form that posts (form-encoded) or of a navigate() with a body, else empty. The
    // navigation always goes ahead. A submitted form is reported once, with its body.
    void beforeNavigate(const QUrl &url, const QByteArray &body, bool isMainFrame);
    // The top page's navigation has completed (also when it ended in an error page).
    void navigateComplete(const QUrl &url);
    // The top page's document has finished loading; follows navigateComplete.
    void documentComplete(const QUrl &url);
    // Follows documentComplete: ok is false when the load failed or was stopped (the browser then
    // shows an error page or what it had so far).
    void loadFinished(bool ok);
    // A page asked for a new window; opened tells whether popupsAllowed() let it open.
    void newWindow(const QUrl &requestedUrl, bool opened);
    // Fit for a progress bar: position progress out of maximum; back to 0 once a load has ended.
    void progressChange(int progress, int maximum);
    // command is CommandUpdate, CommandForward or CommandBack; enabled tells whether going in
    // that direction is possible (always true for CommandUpdate).
    void commandStateChange(int command, bool enabled);

private:
    int m_tag = 0;
};

// Makes a browser as a child of parent; the parent owns it. Every browser of Korvalt comes from
// one factory, so they share one profile (cookies, logins, cache).
using BrowserFactory = std::function<Browser *(QWidget *parent)>;
