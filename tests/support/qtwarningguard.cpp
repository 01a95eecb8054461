#include "qtwarningguard.h"

#include <QMutex>
#include <QMutexLocker>
#include <QVector>

namespace {

QMutex guardMutex;
QtMessageHandler previousHandler = nullptr;
QVector<QRegularExpression> expected;
QStringList unexpected;
bool installed = false;

bool isQtCategory(const char *category)
{
    if (!category)
        return true;
    const QByteArray name(category);
    return name == "default" || name.startsWith("qt.");
}

void guardHandler(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if ((type == QtWarningMsg || type == QtCriticalMsg) && isQtCategory(context.category)) {
        QMutexLocker lock(&guardMutex);
        bool allowed = false;
        for (int i = 0; i < expected.size(); ++i) {
            if (expected.at(i).match(message).hasMatch()) {
                expected.remove(i);
                allowed = true;
                break;
            }
        }
        if (!allowed)
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
    QStringList result;
    result.swap(unexpected);
    return result;
}

} // namespace KestruneTest
