#include "app/appinfo.h"
#include "app/application.h"
#include "app/searchmain.h"
#include "store/programfolder.h"
#include "ui/browserprofile.h"
#include "ui/qtprompter.h"
#include "ui/theme.h"

#include <QCommandLineParser>
#include <QDir>
#include <QMessageBox>

#include <unistd.h>

int main(int argc, char *argv[])
{
    // Chromium refuses to start its sandbox as root; only then is it switched off.
    if (::geteuid() == 0 && qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QCoreApplication::setOrganizationName(QStringLiteral("Korvalt"));
    QCoreApplication::setApplicationName(QStringLiteral("Korvalt"));
    QCoreApplication::setApplicationVersion(AppInfo::kVersion);

    KorvaltApplication app(argc, argv);
    QApplication::setApplicationDisplayName(AppInfo::kTitle);
    Theme::apply(app);

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Runs one search over many websites at once."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption dataDir(QStringLiteral("data-dir"),
                                     QStringLiteral("Keep the working copy, mru.txt and settings.txt in DIR."),
                                     QStringLiteral("DIR"));
    parser.addOption(dataDir);
    parser.addPositionalArgument(QStringLiteral("PROJECT.tdl"), QStringLiteral("Project to open at start-up."));
    parser.process(app);

    TfrmMain::Options options;
    options.programFolder = resolveProgramFolder(parser.value(dataDir), QCoreApplication::applicationDirPath());
    if (!parser.positionalArguments().isEmpty())
        options.startupProject = parser.positionalArguments().constFirst();

    // Two copies on one program folder would empty each other's working copy.
    QLockFile::LockError lockError = QLockFile::NoError;
    const auto lock = lockProgramFolder(options.programFolder, &lockError);
    if (!lock) {
        const QString folder = QDir::toNativeSeparators(options.programFolder);
        const QString text = lockError == QLockFile::LockFailedError
            ? QStringLiteral("Korvalt is already running with the program folder %1.\r\n\r\n"
                             "Switch to that window, or start this copy with --data-dir and another folder.")
                  .arg(folder)
            : QStringLiteral("Korvalt cannot write to its program folder %1.\r\n\r\n"
                             "Check the folder's permissions, or start Korvalt with --data-dir and a folder "
                             "you can write to.")
                  .arg(folder);
        QMessageBox::warning(nullptr, AppInfo::kTitle, text);
        return 1;
    }

    // One profile for every browser, kept in the program folder, so a login made while learning a
    // site still holds when it is searched. Declared first: it must outlive the window's pages.
    BrowserProfile profile(options.programFolder);
    QtPrompter prompter;
    TfrmMain window(prompter, systemShellOpener(), profile.factory(), options);
    prompter.setParent(&window);
    window.showMaximized();
    QMetaObject::invokeMethod(&window, &TfrmMain::FormActivate, Qt::QueuedConnection);
    return app.exec();
}
