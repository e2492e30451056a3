#include "splash.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QScreen>
#include <QSvgRenderer>
#include <QTimer>

TfrmSplash::TfrmSplash(QWidget *parent, int closeAfterMs)
    : QDialog(parent, Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::Dialog)
{
    setObjectName(QStringLiteral("TfrmSplash"));
    setFixedSize(577, 402);
    m_panel = new QWidget(this);
    m_panel->setObjectName(QStringLiteral("panSplash"));
    m_panel->setGeometry(rect());
    m_panel->setAttribute(Qt::WA_TransparentForMouseEvents);

    m_image = new QLabel(m_panel);
    m_image->setObjectName(QStringLiteral("imgSplash"));
    m_image->setGeometry(rect());
    const qreal ratio = qGuiApp->devicePixelRatio();
    QPixmap picture(size() * ratio);
    picture.setDevicePixelRatio(ratio);
    picture.fill(QColor(31, 95, 168));
    QSvgRenderer renderer(QStringLiteral(":/splash.svg"));
    if (renderer.isValid()) {
        QPainter painter(&picture);
        renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(size())));
    }
    m_image->setPixmap(picture);

    m_message = new QLabel(m_panel);
    m_message->setObjectName(QStringLiteral("labMessage"));
    m_message->setGeometry(16, 344, 545, 24);
    m_message->setAlignment(Qt::AlignCenter);
    m_message->setStyleSheet(QStringLiteral("color: white; font-size: 13px; background: transparent;"));

    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());

    m_timer = new QTimer(this);
    m_timer->setObjectName(QStringLiteral("timClose"));
    m_timer->setSingleShot(true);
    m_timer->setInterval(closeAfterMs);
    connect(m_timer, &QTimer::timeout, this, &TfrmSplash::timCloseTimer);
    m_timer->start();
}

void TfrmSplash::setMessage(const QString &text)
{
    m_message->setText(text);
}

QString TfrmSplash::message() const
{
    return m_message->text();
}

void TfrmSplash::setHandCursor(bool hand)
{
    if (hand)
        setCursor(Qt::PointingHandCursor);
    else
        unsetCursor();
}

bool TfrmSplash::hasHandCursor() const
{
    return testAttribute(Qt::WA_SetCursor) && cursor().shape() == Qt::PointingHandCursor;
}

void TfrmSplash::timCloseTimer()
{
    m_timer->stop();
    m_timerFired = true;
    if (tag == 1) {
        tag = 0;
        close();
    }
}

void TfrmSplash::FormClick()
{
    if (tag == 1 || tag == -2)
        close();
}

void TfrmSplash::mousePressEvent(QMouseEvent *)
{
    FormClick();
}

void TfrmSplash::keyPressEvent(QKeyEvent *event)
{
    // Escape must not close the splash while start-up runs; it acts like a click.
    if (event->key() == Qt::Key_Escape) {
        FormClick();
        return;
    }
    QDialog::keyPressEvent(event);
}
