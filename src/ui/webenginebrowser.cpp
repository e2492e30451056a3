#include "webenginebrowser.h"

#include <QFile>
#include <QVBoxLayout>
#include <QWebChannel>
#include <QWebEngineHistory>
#include <QWebEngineHttpRequest>
#include <QWebEngineNewWindowRequest>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>
#include <QWebEngineView>

#include <functional>
#include <utility>

// The resources are compiled into a static library: they must be pulled in by name. Registering
// them again is harmless.
static void initResources()
{
    Q_INIT_RESOURCE(resources);
}

namespace {

// How long a form navigation waits for the form's report before it is reported without a body.
constexpr qint64 kHoldMs = 1000;
// A form report that no navigation claims is forgotten after this (a page script that builds a
// FormData for its own requests also causes a report).
constexpr qint64 kReportLifeMs = 3000;
// Reports this close to the one a navigation claims belong to the same submission.
constexpr qint64 kSameSubmissionMs = 250;

QString resourceText(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("Missing resource %s", qPrintable(path));
    return QString::fromUtf8(file.readAll());
}

QWebEngineScript applicationScript(const QString &name, const QString &source)
{
    QWebEngineScript script;
    script.setName(name);
    script.setSourceCode(source);
    script.setInjectionPoint(QWebEngineScript::DocumentCreation);
    script.setWorldId(QWebEngineScript::ApplicationWorld);
    script.setRunsOnSubFrames(true);
    return script;
}

bool sameTarget(const QUrl &a, const QUrl &b, bool withQuery)
{
    const QUrl::FormattingOptions drop = withQuery ? QUrl::FormattingOptions(QUrl::RemoveFragment)
                                                   : (QUrl::RemoveFragment | QUrl::RemoveQuery);
    return a.adjusted(drop) == b.adjusted(drop);
}

} // namespace

// The channel's end in C++: formcapture.js calls formSubmitted for each form submission.
class FormCaptureBridge final : public QObject
{
    Q_OBJECT

public:
    explicit FormCaptureBridge(
        std::function<void(const QString &, const QString &, const QString &)> sink, QObject *parent)
        : QObject(parent)
        , m_sink(std::move(sink))
    {
    }

public slots:
    void formSubmitted(const QString &method, const QString &action, const QString &body)
    {
        m_sink(method, action, body);
    }

private:
    std::function<void(const QString &, const QString &, const QString &)> m_sink;
};

class BrowserPage final : public QWebEnginePage
{
public:
    BrowserPage(QWebEngineProfile *profile, WebEngineBrowser *browser)
        : QWebEnginePage(profile, nullptr)
        , m_browser(browser)
    {
    }

protected:
    bool acceptNavigationRequest(const QUrl &url, NavigationType type, bool isMainFrame) override
    {
        m_browser->navigationRequested(url, type == NavigationTypeFormSubmitted, isMainFrame);
        return true;
    }

    // Every new window goes through newWindowRequested, where the browser's pop-up policy decides.
    QWebEnginePage *createWindow(WebWindowType) override { return nullptr; }

    void javaScriptAlert(const QUrl &origin, const QString &message) override
    {
        if (!m_browser->isSilent())
            QWebEnginePage::javaScriptAlert(origin, message);
    }
    bool javaScriptConfirm(const QUrl &origin, const QString &message) override
    {
        return !m_browser->isSilent() && QWebEnginePage::javaScriptConfirm(origin, message);
    }
    bool javaScriptPrompt(
        const QUrl &origin, const QString &message, const QString &defaultValue, QString *result) override
    {
        return !m_browser->isSilent()
            && QWebEnginePage::javaScriptPrompt(origin, message, defaultValue, result);
    }
    // Pages' console output is theirs, not ours to print.
    void javaScriptConsoleMessage(
        JavaScriptConsoleMessageLevel, const QString &, int, const QString &) override
    {
    }

private:
    WebEngineBrowser *m_browser;
};

WebEngineBrowser::WebEngineBrowser(QWebEngineProfile *profile, QWidget *parent)
    : Browser(parent)
{
    initResources();
    m_clock.start();
    m_view = new QWebEngineView(this);
    m_page = new BrowserPage(profile, this);
    // The view owns the page, so the page goes with the view.
    m_page->setParent(m_view);
    m_view->setPage(m_page);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_view);
    setFocusProxy(m_view);

    auto *channel = new QWebChannel(m_page);
    channel->registerObject(QStringLiteral("korvaltFormCapture"),
        new FormCaptureBridge([this](const QString &method, const QString &action,
                                  const QString &body) { formReported(method, action, body); },
            channel));
    m_page->setWebChannel(channel, QWebEngineScript::ApplicationWorld);
    m_page->scripts().insert(applicationScript(QStringLiteral("korvalt-qwebchannel"),
        resourceText(QStringLiteral(":/qtwebchannel/qwebchannel.js"))));
    m_page->scripts().insert(applicationScript(
        QStringLiteral("korvalt-formcapture"), resourceText(QStringLiteral(":/js/formcapture.js"))));

    m_heldTimer.setInterval(100);
    connect(&m_heldTimer, &QTimer::timeout, this, [this] { flushHeldNavigations(); });

    connect(m_page, &QWebEnginePage::loadStarted, this, [this] {
        m_busy = true;
        emit commandStateChange(CommandUpdate, true);
        reportHistory();
    });
    connect(m_page, &QWebEnginePage::loadProgress, this,
        [this](int progress) { emit progressChange(progress, 100); });
    connect(m_page, &QWebEnginePage::loadFinished, this, [this](bool ok) {
        m_busy = false;
        const QUrl url = m_page->url();
        emit navigateComplete(url);
        emit documentComplete(url);
        emit loadFinished(ok);
        emit progressChange(0, 100);
        emit commandStateChange(CommandUpdate, true);
        reportHistory();
    });
    connect(m_page, &QWebEnginePage::urlChanged, this, [this] { reportHistory(); });
    connect(m_page, &QWebEnginePage::newWindowRequested, this,
        [this](QWebEngineNewWindowRequest &request) { openPopup(request); });
}

WebEngineBrowser::~WebEngineBrowser()
{
    // The view, and the page it owns, go while this object is still whole: the page's signals
    // and the form reports reach into it.
    m_page->disconnect(this);
    delete m_view;
}

QWebEnginePage *WebEngineBrowser::page() const
{
    return m_page;
}

bool WebEngineBrowser::navigate(const QString &address, const QByteArray &body, const QString &headers)
{
    const QUrl url = QUrl::fromUserInput(address);
    if (!url.isValid() || url.isEmpty())
        return false;
    if (body.isEmpty()) {
        m_page->load(url);
        return true;
    }
    QWebEngineHttpRequest request(url, QWebEngineHttpRequest::Post);
    const QStringList lines
        = QString(headers).replace(QStringLiteral("\r\n"), QStringLiteral("\n")).split(u'\n');
    for (const QString &line : lines) {
        const int colon = line.indexOf(u':');
        if (colon <= 0)
            continue;
        request.setHeader(line.left(colon).trimmed().toLatin1(), line.mid(colon + 1).trimmed().toLatin1());
    }
    request.setPostData(body);
    m_ownPostBody = body;
    m_page->load(request);
    return true;
}

bool WebEngineBrowser::goBack()
{
    if (!m_page->history()->canGoBack())
        return false;
    m_page->triggerAction(QWebEnginePage::Back);
    return true;
}

bool WebEngineBrowser::goForward()
{
    if (!m_page->history()->canGoForward())
        return false;
    m_page->triggerAction(QWebEnginePage::Forward);
    return true;
}

void WebEngineBrowser::stop()
{
    m_page->triggerAction(QWebEnginePage::Stop);
}

void WebEngineBrowser::refresh()
{
    m_page->triggerAction(QWebEnginePage::Reload);
}

QUrl WebEngineBrowser::locationUrl() const
{
    return m_page->url();
}

QString WebEngineBrowser::title() const
{
    // For a document without a title the engine gives its address instead.
    const QString title = m_page->title();
    const QUrl url = m_page->url();
    if (title == url.toString() || title == url.toDisplayString()
        || title == url.toString(QUrl::RemoveScheme).mid(2))
        return QString();
    return title;
}

void WebEngineBrowser::navigationRequested(const QUrl &url, bool formSubmitted, bool isMainFrame)
{
    if (!formSubmitted) {
        // The first navigation of the top page after navigate() with a body is that POST.
        QByteArray body;
        if (isMainFrame)
            body = std::exchange(m_ownPostBody, QByteArray());
        report(url, body, isMainFrame);
        return;
    }
    const qint64 now = m_clock.elapsed();
    forget(now);
    for (int i = 0; i < m_reports.size(); ++i) {
        const FormReport found = m_reports.at(i);
        if (!sameTarget(found.action, url, found.post))
            continue;
        // The first report of a submission is the one that names its submit button; reports
        // close behind it are the same submission again.
        m_reports.erase(std::remove_if(m_reports.begin(), m_reports.end(),
                            [&](const FormReport &r) {
                                return r.at - found.at <= kSameSubmissionMs
                                    && sameTarget(r.action, url, r.post);
                            }),
            m_reports.end());
        m_claimed.append(found);
        report(url, found.post ? found.body : QByteArray(), isMainFrame);
        return;
    }
    m_held.append({ url, isMainFrame, now });
    m_heldTimer.start();
}

void WebEngineBrowser::formReported(const QString &method, const QString &action, const QString &body)
{
    FormReport formReport;
    formReport.post = method.compare(QLatin1String("post"), Qt::CaseInsensitive) == 0;
    formReport.action = QUrl(action);
    formReport.body = body.toUtf8();
    formReport.at = m_clock.elapsed();
    forget(formReport.at);
    for (const FormReport &claimed : std::as_const(m_claimed)) {
        if (formReport.at - claimed.at <= kSameSubmissionMs
            && sameTarget(claimed.action, formReport.action, formReport.post))
            return; // a second report of a submission already reported
    }
    for (int i = 0; i < m_held.size(); ++i) {
        if (!sameTarget(formReport.action, m_held.at(i).url, formReport.post))
            continue;
        const HeldNavigation navigation = m_held.takeAt(i);
        if (m_held.isEmpty())
            m_heldTimer.stop();
        report(navigation.url, formReport.post ? formReport.body : QByteArray(), navigation.isMainFrame);
        m_claimed.append(formReport);
        return;
    }
    m_reports.append(formReport);
}

void WebEngineBrowser::forget(qint64 now)
{
    const auto old = [now](const FormReport &r) { return now - r.at > kReportLifeMs; };
    m_reports.erase(std::remove_if(m_reports.begin(), m_reports.end(), old), m_reports.end());
    m_claimed.erase(std::remove_if(m_claimed.begin(), m_claimed.end(), old), m_claimed.end());
}

void WebEngineBrowser::flushHeldNavigations()
{
    const qint64 now = m_clock.elapsed();
    while (!m_held.isEmpty() && now - m_held.first().at >= kHoldMs) {
        const HeldNavigation navigation = m_held.takeFirst();
        report(navigation.url, QByteArray(), navigation.isMainFrame);
    }
    if (m_held.isEmpty())
        m_heldTimer.stop();
}

void WebEngineBrowser::report(const QUrl &url, const QByteArray &body, bool isMainFrame)
{
    // Reported from the event loop, never from inside the engine's navigation callback: a handler
    // may show a modal message box.
    QMetaObject::invokeMethod(
        this, [this, url, body, isMainFrame] { emit beforeNavigate(url, body, isMainFrame); },
        Qt::QueuedConnection);
}

void WebEngineBrowser::reportHistory()
{
    emit commandStateChange(CommandBack, m_page->history()->canGoBack());
    emit commandStateChange(CommandForward, m_page->history()->canGoForward());
}

void WebEngineBrowser::openPopup(QWebEngineNewWindowRequest &request)
{
    const bool open = m_popupsAllowed;
    emit newWindow(request.requestedUrl(), open);
    if (!open)
        return; // a request nobody opens is dropped by the engine
    // A window of its own, owned by this browser so it cannot outlive the profile.
    auto *popup = new WebEngineBrowser(m_page->profile(), this);
    popup->setWindowFlag(Qt::Window);
    popup->setAttribute(Qt::WA_DeleteOnClose);
    popup->setPopupsAllowed(true);
    popup->setSilent(m_silent);
    const QRect geometry = request.requestedGeometry();
    if (geometry.width() > 100 && geometry.height() > 100)
        popup->resize(geometry.size());
    else
        popup->resize(1000, 720);
    connect(popup->page(), &QWebEnginePage::titleChanged, popup, &QWidget::setWindowTitle);
    connect(popup->page(), &QWebEnginePage::windowCloseRequested, popup, &QWidget::close);
    request.openIn(popup->page());
    popup->show();
}

#include "webenginebrowser.moc"
