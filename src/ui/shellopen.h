#pragma once

#include <QUrl>
#include <functional>

// Opens an address or a document with the desktop's default handler; true when a handler took it.
// Replaceable so tests never start a real browser or viewer.
using ShellOpener = std::function<bool(const QUrl &)>;

ShellOpener systemShellOpener();
