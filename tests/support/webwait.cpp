#include "webwait.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QSignalSpy>
#include <QTimer>
#include <QWebEnginePage>

#include <memory>
#include <unistd.h>

void prepareWebEngineForTests()
{
    if (geteuid() == 0)
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
}

bool waitForLoad(QWebEnginePage *page, int timeoutMs)
{
    QSignalSpy spy(page, &QWebEnginePage::loadFinished);
    if (!spy.wait(timeoutMs))
        return false;
    return spy.first().first().toBool();
}

QVariant runJavaScript(QWebEnginePage *page, const QString &script, int timeoutMs)
{
    // Shared, so a result that comes after the timeout finds live memory.
    struct State
    {
        QVariant result;
        bool done = false;
        QEventLoop loop;
    };
    const auto state = std::make_shared<State>();
    page->runJavaScript(script, [state](const QVariant &value) {
        state->result = value;
        state->done = true;
        state->loop.quit();
    });
    if (!state->done) {
        QTimer::singleShot(timeoutMs, &state->loop, &QEventLoop::quit);
        state->loop.exec();
    }
    return state->done ? state->result : QVariant();
}
