#include "diagnosticsdialog.h"

#include "engine/diagnosticsarchive.h"

#include <QCheckBox>
#include <QDateTime>
#include <QDialogButtonBox>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QThread>
#include <QTreeWidget>
#include <QVBoxLayout>

DiagnosticsDialog::DiagnosticsDialog(const DiagnosticsSources &sources, PathChooser choosePath,
                                     QWidget *parent)
    : QDialog(parent)
    , m_choosePath(std::move(choosePath))
    , m_collected(std::make_shared<DiagnosticsBundle>())
    , m_firstFiles(std::make_shared<QVector<DiagnosticsFile>>())
    , m_list(new QTreeWidget(this))
    , m_hideAddresses(new QCheckBox(tr("Hide my addresses"), this))
    , m_status(new QLabel(tr("Collecting diagnostics…"), this))
    , m_buttons(new QDialogButtonBox(QDialogButtonBox::Save | QDialogButtonBox::Cancel, this))
{
    setWindowTitle(tr("Save diagnostics"));
    auto *intro = new QLabel(tr("The archive holds the files below. Passwords, keys and your "
                                "home folder are removed; nothing is sent anywhere."),
                             this);
    intro->setWordWrap(true);
    m_list->setColumnCount(2);
    m_list->setHeaderLabels({tr("File"), tr("Size")});
    m_list->setRootIsDecorated(false);
    m_list->setAccessibleName(tr("Files in the archive"));
    m_list->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    m_list->header()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    m_hideAddresses->setChecked(true);
    m_hideAddresses->setEnabled(false);
    m_hideAddresses->setToolTip(
        tr("Public addresses other than the VPN servers' are replaced in every file."));
    m_status->setWordWrap(true);
    m_buttons->button(QDialogButtonBox::Save)->setEnabled(false);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(intro);
    layout->addWidget(m_list, 1);
    layout->addWidget(m_hideAddresses);
    layout->addWidget(m_status);
    layout->addWidget(m_buttons);
    resize(460, 420);

    connect(m_buttons, SIGNAL(accepted()), this, SLOT(save()));
    connect(m_buttons, SIGNAL(rejected()), this, SLOT(reject()));
    connect(m_hideAddresses, SIGNAL(toggled(bool)), this, SLOT(hideAddressesToggled()));

    auto collected = m_collected;
    auto firstFiles = m_firstFiles;
    m_thread = QThread::create([sources, collected, firstFiles] {
        *collected = DiagnosticsBundle::collect(sources);
        *firstFiles = collected->files(true);
    });
    m_thread->setParent(this);
    connect(m_thread, SIGNAL(finished()), this, SLOT(collected()));
    m_thread->start();
}

DiagnosticsDialog::~DiagnosticsDialog()
{
    // The system reports end within their own time limits.
    m_thread->wait();
}

void DiagnosticsDialog::collected()
{
    m_bundle = std::make_unique<DiagnosticsBundle>(*m_collected);
    m_files = *m_firstFiles;
    m_hideAddresses->setEnabled(true);
    m_buttons->button(QDialogButtonBox::Save)->setEnabled(true);
    showFiles();
    emit ready();
}

void DiagnosticsDialog::hideAddressesToggled()
{
    if (!m_bundle)
        return;
    m_files = m_bundle->files(m_hideAddresses->isChecked());
    showFiles();
}

void DiagnosticsDialog::showFiles()
{
    const QLocale locale;
    m_list->clear();
    qint64 total = 0;
    for (const DiagnosticsFile &file : qAsConst(m_files)) {
        auto *row = new QTreeWidgetItem(m_list,
                                        {file.name, locale.formattedDataSize(file.content.size())});
        row->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
        total += file.content.size();
    }
    m_status->setText(tr("%n file(s), %1 before compression; the archive holds at most %2.",
                         nullptr, m_files.size())
                          .arg(locale.formattedDataSize(total),
                               locale.formattedDataSize(DiagnosticsBundle::ArchiveLimit)));
}

void DiagnosticsDialog::save()
{
    const QString suggested = QDir::home().filePath(
        QStringLiteral("kestrunevpn-diagnostics-%1.zip")
            .arg(QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-hhmmss"))));
    const QString path = m_choosePath ? m_choosePath(this, suggested) : QString();
    if (path.isEmpty())
        return;
    const QString error = writeDiagnosticsArchive(path, m_files);
    if (!error.isEmpty()) {
        m_status->setText(tr("The archive could not be saved: %1").arg(error));
        return;
    }
    m_savedPath = path;
    accept();
}
