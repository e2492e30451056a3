#include "keyboardstate.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QTimer>

#include <X11/XKBlib.h>
// Xlib's macros collide with Qt's enum names.
#undef KeyPress
#undef KeyRelease
#undef Success
#undef None
#undef Bool

namespace {

bool readLocks(bool &caps, bool &num, bool &scroll)
{
    auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (!x11 || !x11->display())
        return false;
    unsigned int state = 0;
    if (XkbGetIndicatorState(x11->display(), XkbUseCoreKbd, &state) != 0)
        return false;
    caps = state & 0x1;
    num = state & 0x2;
    scroll = state & 0x4;
    return true;
}

QString mark(const QString &text, bool on)
{
    return on ? QStringLiteral("<b>%1</b>").arg(text) : QStringLiteral("<span style='color:#9aa0ad'>%1</span>").arg(text);
}

} // namespace

KeyboardState::KeyboardState(QLabel *panel, QObject *parent) : QObject(parent), m_panel(panel)
{
    m_panel->setTextFormat(Qt::RichText);
    qApp->installEventFilter(this);
    // Lock lights can change while another program has the keyboard.
    auto *timer = new QTimer(this);
    timer->setInterval(1000);
    connect(timer, &QTimer::timeout, this, &KeyboardState::refresh);
    timer->start();
    refresh();
}

void KeyboardState::refresh()
{
    bool caps = false, num = false, scroll = false;
    readLocks(caps, num, scroll);
    const QString text = mark(QStringLiteral("CAPS"), caps) + QStringLiteral("&nbsp;&nbsp;") + mark(QStringLiteral("NUM"), num)
        + QStringLiteral("&nbsp;&nbsp;") + mark(QStringLiteral("SCRL"), scroll) + QStringLiteral("&nbsp;&nbsp;")
        + QStringLiteral("<b>%1</b>").arg(m_overwrite ? QStringLiteral("OVR") : QStringLiteral("INS"));
    if (m_panel->text() != text)
        m_panel->setText(text);
}

bool KeyboardState::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyRelease && watched->isWidgetType()) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (!key->isAutoRepeat()) {
            if (key->key() == Qt::Key_Insert)
                m_overwrite = !m_overwrite;
            if (key->key() == Qt::Key_Insert || key->key() == Qt::Key_CapsLock || key->key() == Qt::Key_NumLock
                || key->key() == Qt::Key_ScrollLock)
                refresh();
        }
    }
    return QObject::eventFilter(watched, event);
}
