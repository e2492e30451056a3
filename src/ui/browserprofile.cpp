#include "browserprofile.h"

#include "ui/webenginebrowser.h"

#include <QDir>
#include <QWebEngineProfile>

BrowserProfile::BrowserProfile(const QString &folder, QObject *parent)
    : QObject(parent)
{
    const QDir base(folder);
    base.mkpath(QStringLiteral("."));
    // A storage name makes the profile persistent; the paths below keep it inside our folder
    // instead of the per-user default location.
    m_profile = new QWebEngineProfile(QStringLiteral("korvalt"), this);
    m_profile->setPersistentStoragePath(base.absoluteFilePath(QStringLiteral("browser")));
    m_profile->setCachePath(base.absoluteFilePath(QStringLiteral("browser-cache")));
    m_profile->setPersistentCookiesPolicy(QWebEngineProfile::AllowPersistentCookies);
}

BrowserProfile::~BrowserProfile()
{
    for (const QPointer<Browser> &browser : std::as_const(m_browsers))
        delete browser.data();
    m_browsers.clear();
    delete m_profile;
}

Browser *BrowserProfile::createBrowser(QWidget *parent)
{
    // Forget the browsers that are gone, so the list does not grow from search to search.
    m_browsers.removeAll(QPointer<Browser>());
    auto *browser = new WebEngineBrowser(m_profile, parent);
    m_browsers.append(browser);
    return browser;
}

BrowserFactory BrowserProfile::factory()
{
    return [this](QWidget *parent) { return createBrowser(parent); };
}
