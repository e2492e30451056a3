#include "theme.h"

#include <QApplication>
#include <QPalette>
#include <QStyleFactory>

namespace Theme {

void apply(QApplication &app)
{
    app.setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QPalette p = app.palette();
    p.setColor(QPalette::Window, QColor(236, 237, 244));
    p.setColor(QPalette::Base, Qt::white);
    p.setColor(QPalette::AlternateBase, QColor(244, 245, 250));
    p.setColor(QPalette::Button, QColor(244, 245, 250));
    p.setColor(QPalette::Highlight, QColor(31, 95, 168));
    p.setColor(QPalette::HighlightedText, Qt::white);
    p.setColor(QPalette::Link, QColor(31, 95, 168));
    p.setColor(QPalette::ToolTipBase, QColor(255, 255, 240));
    app.setPalette(p);
    app.setStyleSheet(QStringLiteral(
        "QWidget#dxRibbon { background: #f7f8fc; border-bottom: 1px solid #c5cad8; }"
        "QWidget#ribbonTitleBar { background: qlineargradient(x1:0,y1:0,x2:0,y2:1, stop:0 #1f5fa8, stop:1 #184d8a); }"
        "QLabel#ribbonTitle { color: white; font-weight: 600; }"
        "QToolButton#ribbonAppButton { color: white; background: #2a9d8f; border: none; border-radius: 3px;"
        "  padding: 2px 10px; font-weight: 600; }"
        "QToolButton#ribbonAppButton:hover { background: #32b3a3; }"
        "QWidget#ribbonTitleBar QToolButton { border: none; border-radius: 3px; }"
        "QWidget#ribbonTitleBar QToolButton:hover { background: rgba(255,255,255,0.18); }"
        "QTabBar#ribbonTabs::tab { padding: 4px 16px; border: 1px solid transparent; margin-left: 4px; }"
        "QTabBar#ribbonTabs::tab:selected { background: #f7f8fc; border: 1px solid #c5cad8; border-bottom: none;"
        "  color: #1f5fa8; font-weight: 600; }"
        "QFrame.ribbonGroup { border-right: 1px solid #d6dae5; }"
        "QLabel.ribbonGroupCaption { color: #5a6173; }"
        "QToolButton.ribbonLarge { border: 1px solid transparent; border-radius: 4px; padding: 2px; }"
        "QToolButton.ribbonLarge:hover { background: #e3ecf8; border: 1px solid #b9cde8; }"
        "QToolButton.ribbonLarge:pressed { background: #cddcf1; }"
        "QToolButton.ribbonLarge:disabled { color: #9aa0ad; }"
        "QFrame.paneHeader { background: qlineargradient(x1:0,y1:0,x2:0,y2:1, stop:0 #ffffff, stop:1 #dfe4ef);"
        "  border-bottom: 1px solid #c5cad8; }"
        "QFrame.paneHeader QLabel { font-weight: 700; color: #27324a; }"
        "QListView, QListWidget { border: none; background: white; }"
        "QWidget#panRecordCount { background: white; border-top: 1px solid #d6dae5; }"
        "QWidget#panTopSearch { background: #f7f8fc; border-bottom: 1px solid #c5cad8; }"
        "QLabel#panPleaseSelectSite { color: #27324a; background: #fff8e1; border: 1px solid #f0d890;"
        "  border-radius: 4px; padding-left: 10px; }"
        "QWidget#panURL { background: #f7f8fc; border-bottom: 1px solid #c5cad8; }"
        "QFrame#panDisplayURL { background: white; border: 1px solid #b8bfcf; border-radius: 3px; }"
        "QStatusBar#dxRibbonStatusBar { background: #e4e7f0; border-top: 1px solid #c5cad8; }"
        "QStatusBar#dxRibbonStatusBar QLabel { padding: 0 6px; }"
        "QFrame#dxBarApplicationMenu1 { background: white; border: 1px solid #9aa6bf; }"
        "QFrame#dxBarApplicationMenu1 QToolButton { border: none; padding: 6px 10px; text-align: left; }"
        "QFrame#dxBarApplicationMenu1 QToolButton:hover { background: #e3ecf8; }"
        "QLabel#recentTitle { font-weight: 700; color: #27324a; border-bottom: 1px solid #d6dae5; padding: 4px; }"));
}

} // namespace Theme
