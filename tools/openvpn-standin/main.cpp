// A development stand-in for OpenVPN 2.4: enough of its command line, version banner and
// management interface to exercise the client's process controller without a tunnel.

#include "standin.h"

#include <cstdio>

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>

namespace {

// The version the banner shows: the environment variable OPENVPN_STANDIN_VERSION, else the
// file "standin-version" beside the program, else 2.4.9. "silent" prints nothing at all.
QByteArray bannerVersion(const QString &programPath)
{
    QByteArray version = qgetenv("OPENVPN_STANDIN_VERSION");
    if (version.isEmpty()) {
        QFile file(QFileInfo(programPath).absolutePath() + QStringLiteral("/standin-version"));
        if (file.open(QIODevice::ReadOnly))
            version = file.readLine().trimmed();
    }
    return version.isEmpty() ? QByteArray("2.4.9") : version;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();

    if (args.contains(QStringLiteral("--version"))) {
        const QByteArray version = bannerVersion(args.value(0));
        if (version != "silent") {
            std::printf("OpenVPN %s x86_64-pc-linux-gnu [SSL (OpenSSL)] [LZO] [LZ4] [EPOLL] "
                        "[MH/PKTINFO] [AEAD] built on Apr 19 2020\n"
                        "library versions: OpenSSL 1.1.1f  31 Mar 2020, LZO 2.10\n",
                        version.constData());
        }
        return 0;
    }

    QString config;
    QString logPath;
    QString host;
    quint16 port = 0;
    bool unixSocket = false;
    QString passwordFile;
    for (int i = 1; i < args.size(); ++i) {
        if (args.at(i) == QLatin1String("--config")) {
            config = args.value(++i);
        } else if (args.at(i) == QLatin1String("--log")) {
            logPath = args.value(++i);
        } else if (args.at(i) == QLatin1String("--management")) {
            host = args.value(++i);
            const QString second = args.value(++i);
            unixSocket = second == QLatin1String("unix");
            port = unixSocket ? 0 : second.toUShort();
            passwordFile = args.value(++i);
        }
        // Every other option of OpenVPN is accepted and ignored.
    }
    if (config.isEmpty() || !QFile::exists(config)) {
        std::printf("Options error: --config fails with '%s': No such file or directory\n",
                    qPrintable(config));
        return 1;
    }

    const QString beside
        = QFileInfo(args.value(0)).absolutePath() + QStringLiteral("/standin-script");
    Standin standin(Standin::readScript({config, beside}), logPath);
    standin.installSigtermHandler();
    if ((port != 0 || unixSocket) && !standin.listen(host, port, passwordFile))
        return 1;
    standin.run();
    return app.exec();
}
