#include "qtwarningguard.h"

#include <algorithm>
#include <utility>

#include <QMutex>
#include <QMutexLocker>
#include <QVector>

namespace {

QMutex guardMutex;
QtMessageHandler previousHandler = nullptr;
QVector<QRegularExpression> expected;
QStringList unexpected;
bool installed = false;

void guardHandler(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    const QByteArray category(context.category ? context.category : "default");
    if ((type == QtWarningMsg || type == QtCriticalMsg)
        && (category == "default" || category.startsWith("qt."))) {
        QMutexLocker lock(&guardMutex);
        const auto allowed = std::find_if(expected.begin(), expected.end(), [&](const auto &e) {
            return e.match(message).hasMatch();
        });
        if (allowed != expected.end())
            expected.erase(allowed);
        else
            unexpected.append(message);
    }
    if (previousHandler)
        previousHandler(type, context, message);
}

} // namespace

namespace KestruneTest {

void guardQtWarnings()
{
    QMutexLocker lock(&guardMutex);
    if (installed)
        return;
    installed = true;
    previousHandler = qInstallMessageHandler(guardHandler);
}

void expectQtWarning(const QRegularExpression &pattern)
{
    QMutexLocker lock(&guardMutex);
    expected.append(pattern);
}

QStringList takeUnexpectedQtWarnings()
{
    QMutexLocker lock(&guardMutex);
    return std::exchange(unexpected, QStringList());
}

} // namespace KestruneTest
