#include "dialogrecorder.h"

#include "ui/messagedialogs.h"

#include <QRegularExpression>

DialogRecorder::DialogRecorder()
{
    setDialogRunner([this](QMessageBox *box) {
        static const QRegularExpression code(QStringLiteral("^[^<]*?(\\d+)<br>"));
        const QRegularExpressionMatch match = code.match(box->text());
        const bool error = box->icon() == QMessageBox::Critical && match.hasMatch();
        m_dialogs.append(
            {error ? match.captured(1).toInt() : -1, box->text(), box->parent() != nullptr});
        if (!m_answers.isEmpty())
            return int(m_answers.takeFirst());
        QTest::qFail(qPrintable("unexpected dialog: " + box->text()), __FILE__, __LINE__);
        return int(QMessageBox::Ok);
    });
}

DialogRecorder::~DialogRecorder()
{
    setDialogRunner(nullptr);
}
