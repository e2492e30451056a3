#include "fakebrowser.h"

bool FakeBrowser::navigate(const QString &address, const QByteArray &body, const QString &headers)
{
    if (address.trimmed().isEmpty())
        return false;
    navigations.append({ address, body, headers });
    return true;
}

bool FakeBrowser::goBack()
{
    ++backCalls;
    return canGoBack;
}

bool FakeBrowser::goForward()
{
    ++forwardCalls;
    return canGoForward;
}

void FakeBrowser::finishLoad(const QUrl &url, const QString &title, bool ok)
{
    currentUrl = url;
    currentTitle = title;
    busy = false;
    emit navigateComplete(url);
    emit documentComplete(url);
    emit loadFinished(ok);
}

bool FakeBrowser::requestPopup(const QUrl &url)
{
    emit newWindow(url, m_popupsAllowed);
    return m_popupsAllowed;
}

BrowserFactory FakeBrowserFactory::factory()
{
    return [this](QWidget *parent) {
        auto *browser = new FakeBrowser(parent);
        created.append(browser);
        return browser;
    };
}

FakeBrowser *FakeBrowserFactory::latest() const
{
    for (auto it = created.crbegin(); it != created.crend(); ++it) {
        if (*it)
            return it->data();
    }
    return nullptr;
}
