// Shows the diagnostics dialog over a sample data folder and saves a picture of it once its
// files are listed. A development tool only:
//   xvfb-run -a kestrune_diagnostics_shot docs/screenshots/diagnostics-dialog.png

#include "ui/diagnosticsdialog.h"

#include <cstdio>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: kestrune_diagnostics_shot PICTURE.png\n");
        return 2;
    }
    QTemporaryDir data;
    QDir(data.path()).mkpath(QStringLiteral("logs"));
    QFile log(data.filePath(QStringLiteral("logs/kestrunevpn_log.txt")));
    if (log.open(QIODevice::WriteOnly))
        log.write(QByteArray("[07.12.2026 02:00:01] Server reply on [7]\r\n").repeated(400));
    log.close();
    DiagnosticsSources sources;
    sources.dataDir = data.path();
    sources.programDir = QCoreApplication::applicationDirPath();
    sources.homePath = QDir::homePath();
    DiagnosticsDialog dialog(sources, nullptr);
    const QString picture = QString::fromLocal8Bit(argv[1]);
    int result = 1;
    QObject::connect(&dialog, &DiagnosticsDialog::ready, &dialog, [&] {
        QTimer::singleShot(300, &dialog, [&] {
            result = dialog.grab().save(picture) ? 0 : 1;
            dialog.close();
            app.quit();
        });
    });
    QTimer::singleShot(30000, &app, &QCoreApplication::quit);
    dialog.show();
    app.exec();
    return result;
}
