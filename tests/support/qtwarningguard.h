#pragma once

#include <QRegularExpression>
#include <QStringList>

// Turns warnings that Qt itself prints (a cross-thread parent, a broken connection, a
// timer started from the wrong thread) into test failures, so they cannot pass silently.
// Messages of the default category and of "qt.*" categories count; the product's own
// categories do not. Install it in initTestCase(), after QTest has set up its logging;
// it forwards every message to the handler it replaced.
namespace KestruneTest {

void guardQtWarnings();

// The next Qt warning matching the expression is allowed (use instead of
// QTest::ignoreMessage for warnings of Qt's own categories).
void expectQtWarning(const QRegularExpression &pattern);

// Unexpected Qt warnings seen so far; taking them clears the list.
QStringList takeUnexpectedQtWarnings();

} // namespace KestruneTest

// In cleanup(): fail the test function that caused an unexpected Qt warning.
#define KESTRUNE_VERIFY_NO_QT_WARNINGS()                                                           \
    do {                                                                                           \
        const QStringList kestruneWarnings = KestruneTest::takeUnexpectedQtWarnings();             \
        QVERIFY2(kestruneWarnings.isEmpty(),                                                       \
                 qPrintable("Qt warned: " + kestruneWarnings.join(QStringLiteral(" | "))));        \
    } while (false)
