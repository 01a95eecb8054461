// Saves pictures of the settings page's two dialogs once they show their results.
// A development tool only, run under a virtual display:
//   kestrune_diagnostics_shot diagnostics PICTURE.png
//   kestrune_diagnostics_shot lock PICTURE.png PROGRAM_FOLDER TEMP_FOLDER
// (the second needs kestrunevpn-helper in PROGRAM_FOLDER and a lock to test).

#include "ui/diagnosticsdialog.h"
#include "ui/lockselftestdialog.h"

#include <cstdio>
#include <cstring>
#include <memory>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const bool lock = argc == 5 && std::strcmp(argv[1], "lock") == 0;
    if (!lock && !(argc == 3 && std::strcmp(argv[1], "diagnostics") == 0)) {
        std::fprintf(stderr,
                     "usage: kestrune_diagnostics_shot diagnostics PICTURE | lock "
                     "PICTURE PROGRAM_FOLDER TEMP_FOLDER\n");
        return 2;
    }
    const QString picture = QString::fromLocal8Bit(argv[2]);
    QTemporaryDir data;
    std::unique_ptr<QDialog> dialog;
    if (lock) {
        auto *test = new LockSelfTestDialog(QString::fromLocal8Bit(argv[3]),
                                            QString::fromLocal8Bit(argv[4]));
        QObject::connect(test, &LockSelfTestDialog::testFinished, &app,
                         [&] { QTimer::singleShot(300, &app, &QCoreApplication::quit); });
        dialog.reset(test);
    } else {
        QDir(data.path()).mkpath(QStringLiteral("logs"));
        QFile log(data.filePath(QStringLiteral("logs/kestrunevpn_log.txt")));
        if (log.open(QIODevice::WriteOnly))
            log.write(QByteArray("[07.12.2026 02:00:01] Server reply on [7]\r\n").repeated(400));
        log.close();
        DiagnosticsSources sources;
        sources.dataDir = data.path();
        sources.programDir = QCoreApplication::applicationDirPath();
        sources.homePath = QDir::homePath();
        auto *save = new DiagnosticsDialog(sources, nullptr);
        QObject::connect(save, &DiagnosticsDialog::ready, &app,
                         [&] { QTimer::singleShot(300, &app, &QCoreApplication::quit); });
        dialog.reset(save);
    }
    QTimer::singleShot(90000, &app, &QCoreApplication::quit);
    dialog->show();
    app.exec();
    const bool saved = dialog->grab().save(picture);
    dialog.reset();
    return saved ? 0 : 1;
}
