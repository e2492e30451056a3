#pragma once

#include "ui/browser.h"

#include <QList>
#include <QObject>
#include <QPointer>

class QWebEngineProfile;

// The one browser profile of Korvalt: cookies, site storage and cache live in the folder given,
// so a login made while learning a site is still there when the site is searched, also after a
// restart. Owned by the main window.
//
// Every browser made through createBrowser() or factory() is deleted by this object's destructor
// if it is still alive then, because Qt WebEngine pages must never outlive their profile.
class BrowserProfile final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(BrowserProfile)

public:
    // folder: where the profile keeps its files (created when missing); a trailing separator is
    // optional. The data goes to folder/browser, the cache to folder/browser-cache.
    explicit BrowserProfile(const QString &folder, QObject *parent = nullptr);
    ~BrowserProfile() override;

    QWebEngineProfile *profile() const { return m_profile; }

    Browser *createBrowser(QWidget *parent);
    // A factory bound to this profile; it must not be called after the profile is gone.
    BrowserFactory factory();

private:
    QWebEngineProfile *m_profile = nullptr;
    QList<QPointer<Browser>> m_browsers;
};
