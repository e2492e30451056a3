#pragma once

#include <QApplication>

// The general error report: an error that no handler caught is shown in an error box titled with
// the application title, the rest of that event is abandoned and the program goes on.
class KorvaltApplication final : public QApplication
{
    Q_OBJECT

public:
    KorvaltApplication(int &argc, char **argv);
    bool notify(QObject *receiver, QEvent *event) override;
};
