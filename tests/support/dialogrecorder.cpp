#include "dialogrecorder.h"

#include "ui/messagedialogs.h"

#include <QRegularExpression>

DialogRecorder::DialogRecorder()
{
    setDialogRunner([this](QMessageBox *box) {
        static const QRegularExpression code(QStringLiteral("^[^<]*?(\\d+)<br>"));
        const QMessageBox::Icon icon = box->icon();
        const Kind kind = icon == QMessageBox::Critical ? Error
            : icon == QMessageBox::Information          ? Info
                                                        : Confirm;
        const QRegularExpressionMatch match = code.match(box->text());
        m_dialogs.append({kind, kind == Error && match.hasMatch() ? match.captured(1).toInt() : -1,
                          box->text(), box->parent() != nullptr});
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

QStringList DialogRecorder::texts() const
{
    QStringList result;
    for (const Dialog &dialog : m_dialogs)
        result << dialog.text;
    return result;
}
