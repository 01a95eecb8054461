#include "testcertificates.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStringList>

namespace {

QString runOpenssl(const QStringList &arguments, const QString &folder)
{
    QProcess process;
    process.setWorkingDirectory(folder);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(QStringLiteral("openssl"), arguments);
    if (!process.waitForStarted(10000))
        return QStringLiteral("openssl did not start: ") + process.errorString();
    if (!process.waitForFinished(60000)) {
        process.kill();
        process.waitForFinished(5000);
        return QStringLiteral("openssl did not finish");
    }
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return QStringLiteral("openssl %1 failed: %2")
            .arg(arguments.value(0), QString::fromLocal8Bit(process.readAll()));
    return QString();
}

const QStringList ecKey {QStringLiteral("-newkey"), QStringLiteral("ec"),
                         QStringLiteral("-pkeyopt"), QStringLiteral("ec_paramgen_curve:prime256v1"),
                         QStringLiteral("-nodes")};

} // namespace

TestCertificates TestCertificates::make(const QString &folder, bool selfSigned)
{
    TestCertificates result;
    const QDir dir(folder);
    result.caFile = dir.filePath(QStringLiteral("ca.pem"));
    result.certificateFile = dir.filePath(QStringLiteral("server.pem"));
    result.keyFile = dir.filePath(QStringLiteral("server.key"));
    const QString names = QStringLiteral("subjectAltName=IP:127.0.0.1,DNS:localhost");

    if (selfSigned) {
        result.caFile.clear();
        result.error
            = runOpenssl(QStringList {"req", "-x509"} + ecKey
                             + QStringList {"-keyout", "server.key", "-out", "server.pem", "-days",
                                            "2", "-subj", "/CN=127.0.0.1", "-addext", names},
                         folder);
        return result;
    }

    QFile extensions(dir.filePath(QStringLiteral("server.ext")));
    if (!extensions.open(QIODevice::WriteOnly)) {
        result.error = QStringLiteral("cannot write ") + extensions.fileName();
        return result;
    }
    extensions.write(names.toLatin1() + "\nbasicConstraints=CA:FALSE\n"
                     + "extendedKeyUsage=serverAuth\n");
    extensions.close();

    const QList<QStringList> steps {
        QStringList {"req", "-x509"} + ecKey
            + QStringList {"-keyout", "ca.key", "-out", "ca.pem", "-days", "2", "-subj",
                           "/CN=Kestrune Test CA", "-addext", "basicConstraints=critical,CA:TRUE",
                           "-addext", "keyUsage=critical,keyCertSign,cRLSign"},
        QStringList {"req"} + ecKey
            + QStringList {"-keyout", "server.key", "-out", "server.csr", "-subj", "/CN=127.0.0.1"},
        QStringList {"x509", "-req", "-in", "server.csr", "-CA", "ca.pem", "-CAkey", "ca.key",
                     "-CAcreateserial", "-out", "server.pem", "-days", "2", "-extfile",
                     "server.ext"}};
    for (const QStringList &step : steps) {
        result.error = runOpenssl(step, folder);
        if (!result.error.isEmpty())
            return result;
    }
    return result;
}
