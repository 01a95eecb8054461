#include "dialogrecorder.h"

#include "ui/messagedialogs.h"

#include <QRegularExpression>
#include <QTest>

DialogRecorder::DialogRecorder()
{
    setDialogRunner([this](QMessageBox *box) {
        static const QRegularExpression code(QStringLiteral("^[^<]*?(\\d+)<br>"));
        const Kind kind = box->icon() == QMessageBox::Critical      ? Error
                          : box->icon() == QMessageBox::Information ? Info
                                                                    : Confirm;
        const QRegularExpressionMatch match = code.match(box->text());
        m_dialogs.append({kind, kind == Error && match.hasMatch() ? match.captured(1).toInt() : -1,
                          box->text(), box->parent() != nullptr});
        if (m_answers.isEmpty()) {
            QTest::qFail(qPrintable(QStringLiteral("unexpected dialog: ") + box->text()), __FILE__,
                         __LINE__);
            return int(QMessageBox::Ok);
        }
        return int(m_answers.takeFirst());
    });
}

DialogRecorder::~DialogRecorder()
{
    setDialogRunner(nullptr);
}

void DialogRecorder::expect(int count, QMessageBox::StandardButton button)
{
    for (int i = 0; i < count; ++i)
        m_answers << button;
}

QStringList DialogRecorder::texts() const
{
    QStringList result;
    for (const Dialog &dialog : m_dialogs)
        result << dialog.text;
    return result;
}

bool DialogRecorder::waitFor(int count, int timeoutMs)
{
    return QTest::qWaitFor([this, count]() { return m_dialogs.size() >= count; }, timeoutMs);
}
