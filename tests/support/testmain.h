#pragma once

#include "qtwarningguard.h"

#include <QApplication>
#include <QStandardPaths>
#include <QtTest>

#include <cstdio>

// Like QTEST_MAIN with a QApplication, with standard paths in test mode (never the user's
// folders) and a non-zero exit when Qt warned unexpectedly outside a checked test function.
#define KESTRUNE_TEST_MAIN(TestClass)                                                              \
    int main(int argc, char **argv)                                                                \
    {                                                                                              \
        QStandardPaths::setTestModeEnabled(true);                                                  \
        QApplication app(argc, argv);                                                              \
        app.setAttribute(Qt::AA_Use96Dpi, true);                                                   \
        QTEST_SET_MAIN_SOURCE_PATH                                                                 \
        TestClass tc;                                                                              \
        int rc = QTest::qExec(&tc, argc, argv);                                                    \
        const QStringList late = KestruneTest::takeUnexpectedQtWarnings();                         \
        if (!late.isEmpty()) {                                                                     \
            std::fprintf(stderr, "Unexpected Qt warnings: %s\n",                                   \
                         qPrintable(late.join(QStringLiteral(" | "))));                            \
            rc = rc ? rc : 1;                                                                      \
        }                                                                                          \
        return rc;                                                                                 \
    }
