#include "application.h"

#include <QMessageBox>
#include <exception>

KorvaltApplication::KorvaltApplication(int &argc, char **argv) : QApplication(argc, argv) {}

bool KorvaltApplication::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception &e) {
        QMessageBox::critical(activeWindow(), applicationDisplayName(), QString::fromUtf8(e.what()));
    } catch (...) {
        QMessageBox::critical(activeWindow(), applicationDisplayName(), tr("An unexpected error occurred."));
    }
    return false;
}
