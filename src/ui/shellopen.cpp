#include "shellopen.h"

#include <QDesktopServices>

ShellOpener systemShellOpener()
{
    return [](const QUrl &url) { return QDesktopServices::openUrl(url); };
}
