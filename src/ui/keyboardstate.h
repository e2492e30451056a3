#pragma once

#include <QObject>

class QLabel;

// The keyboard-state panel of the status bar: CAPS, NUM and SCRL from the keyboard's lock lights
// where the windowing system tells them (X11), and INS / OVR toggled by the Insert key.
class KeyboardState final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(KeyboardState)

public:
    explicit KeyboardState(QLabel *panel, QObject *parent = nullptr);
    void refresh();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QLabel *m_panel;
    bool m_overwrite = false;
};
