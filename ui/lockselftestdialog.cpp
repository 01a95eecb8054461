#include "lockselftestdialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QThread>
#include <QVBoxLayout>

LockSelfTestDialog::LockSelfTestDialog(const QString &programFolder, const QString &tempFolder,
                                       QWidget *parent)
    : QDialog(parent)
    , m_tempFolder(tempFolder)
    , m_result(std::make_shared<LockSelfTest::Result>())
    , m_summary(new QLabel(tr("Testing the network lock…"), this))
    , m_checks(new QLabel(this))
    , m_buttons(new QDialogButtonBox(QDialogButtonBox::Close, this))
{
    setWindowTitle(tr("Test network lock"));
    m_summary->setWordWrap(true);
    m_checks->setWordWrap(true);
    m_checks->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_checks->setAccessibleName(tr("Results of the network lock test"));
    m_buttons->button(QDialogButtonBox::Close)->setEnabled(false);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_summary);
    layout->addWidget(m_checks, 1);
    layout->addWidget(m_buttons);
    setMinimumWidth(460);
    connect(m_buttons, SIGNAL(rejected()), this, SLOT(reject()));

    auto result = m_result;
    m_thread = QThread::create([result, programFolder, tempFolder] {
        *result = LockSelfTest::run(programFolder, tempFolder);
    });
    m_thread->setParent(this);
    connect(m_thread, SIGNAL(finished()), this, SLOT(done()));
    m_thread->start();
}

LockSelfTestDialog::~LockSelfTestDialog()
{
    // The helper is given at most LockSelfTest::TimeLimitMs.
    m_thread->wait();
}

void LockSelfTestDialog::done()
{
    LockSelfTest::save(m_tempFolder, *m_result);
    const QStringList lines = LockSelfTest::lines(*m_result);
    m_summary->setText(m_result->passed ? tr("The network lock works: every check passed.")
                                        : tr("The network lock does not work as it should."));
    m_checks->setText(lines.join(QLatin1Char('\n')));
    m_buttons->button(QDialogButtonBox::Close)->setEnabled(true);
    adjustSize();
    emit testFinished(lines, m_result->passed);
}
