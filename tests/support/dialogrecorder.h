#pragma once

#include <QList>
#include <QMessageBox>
#include <QString>
#include <QTest>

// Takes the place of the modal loop of the client's dialogs while it lives: records every
// box and answers it from the answers the test queued with expect(). A box with no answer
// queued fails the running test and is answered with OK.
class DialogRecorder
{
public:
    enum Kind { Error, Info, Confirm };
    struct Dialog
    {
        Kind kind;
        int code; // of an error box; -1 for the others
        QString text;
        bool parented; // shown over the window (false: on its own, the window hidden)
    };

    DialogRecorder();
    ~DialogRecorder();
    DialogRecorder(const DialogRecorder &) = delete;
    DialogRecorder &operator=(const DialogRecorder &) = delete;

    // The next `count` boxes are expected and answered with `button`.
    void expect(int count = 1, QMessageBox::StandardButton button = QMessageBox::Ok)
    {
        for (int i = 0; i < count; ++i)
            m_answers << button;
    }
    QList<Dialog> dialogs() const { return m_dialogs; }
    QStringList texts() const;
    int size() const { return m_dialogs.size(); }
    // Waits within a bound until `count` boxes have been shown.
    bool waitFor(int count, int timeoutMs = 10000)
    {
        return QTest::qWaitFor([this, count]() { return size() >= count; }, timeoutMs);
    }

private:
    QList<Dialog> m_dialogs;
    QList<QMessageBox::StandardButton> m_answers;
};
