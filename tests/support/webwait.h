#pragma once

#include <QString>
#include <QVariant>

class QWebEnginePage;

// Synchronous helpers for tests that drive the real browser engine. Each waits with the event
// loop running, up to the timeout given, and never sleeps.

// Before QApplication exists: Chromium refuses to run as root with its sandbox on (CI runs tests
// as root). Only then is the sandbox turned off; a normal user keeps it.
void prepareWebEngineForTests();

// Waits for the next loadFinished of page; true when it came and reported success.
bool waitForLoad(QWebEnginePage *page, int timeoutMs = 20000);

// Runs script in the page's main world and returns its result; an invalid QVariant on timeout.
QVariant runJavaScript(QWebEnginePage *page, const QString &script, int timeoutMs = 10000);

// A Qt Test main for web tests: prepares the engine, then runs TestObject under a QApplication.
#define KORVALT_WEB_TEST_MAIN(TestObject)                                                                    \
    int main(int argc, char **argv)                                                                          \
    {                                                                                                        \
        prepareWebEngineForTests();                                                                          \
        QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);                                          \
        QApplication app(argc, argv);                                                                        \
        TestObject test;                                                                                     \
        QTEST_SET_MAIN_SOURCE_PATH                                                                           \
        return QTest::qExec(&test, argc, argv);                                                              \
    }
