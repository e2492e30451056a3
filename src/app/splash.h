#pragma once

#include <QDialog>

class QLabel;
class QTimer;

// The splash window: shown while the main window prepares the first project, and as the About box.
// tag: 0 while start-up runs, 1 once it has finished, -2 while shown as the About box.
class TfrmSplash final : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TfrmSplash)

public:
    // The close timer starts at once; closeAfterMs is its interval.
    explicit TfrmSplash(QWidget *parent = nullptr, int closeAfterMs = 5000);

    int tag = 0;
    bool timerFired() const { return m_timerFired; }
    void setMessage(const QString &text);
    QString message() const;
    void setHandCursor(bool hand);
    bool hasHandCursor() const;

    void timCloseTimer();
    void FormClick();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    QWidget *m_panel;
    QLabel *m_image;
    QLabel *m_message;
    QTimer *m_timer;
    bool m_timerFired = false;
};
