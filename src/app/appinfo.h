#pragma once

#include <QString>

namespace AppInfo {
inline const QString kTitle = QStringLiteral("Korvalt!");
inline const QString kCaption = QStringLiteral("Korvalt by Thessamer");
inline const QString kVersion = QStringLiteral("1.0.0");
// The one place that names the technical-support page (the user guide names it too).
inline const QString kTechSupportUrl = QStringLiteral("https://support.korvalt.example/");
} // namespace AppInfo
