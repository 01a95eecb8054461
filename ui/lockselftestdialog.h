#pragma once

#include "system/lockselftest.h"

#include <memory>

#include <QDialog>

class QDialogButtonBox;
class QLabel;
class QThread;

// Runs the network lock's self-test on a thread of its own and shows its checks, passed or
// failed, in plain words, with what to do when one failed. The result is kept in the temp
// folder for the diagnostics archive.
class LockSelfTestDialog : public QDialog
{
    Q_OBJECT

public:
    LockSelfTestDialog(const QString &programFolder, const QString &tempFolder,
                       QWidget *parent = nullptr);
    ~LockSelfTestDialog() override;

    const LockSelfTest::Result &result() const { return *m_result; }

signals:
    void testFinished(const QStringList &lines, bool passed);

private slots:
    void done();

private:
    QString m_tempFolder;
    QThread *m_thread = nullptr;
    std::shared_ptr<LockSelfTest::Result> m_result;
    QLabel *m_summary;
    QLabel *m_checks;
    QDialogButtonBox *m_buttons;
};
