#pragma once

#include "engine/diagnosticsbundle.h"

#include <functional>
#include <memory>

#include <QDialog>

class QCheckBox;
class QDialogButtonBox;
class QLabel;
class QThread;
class QTreeWidget;

// Shows what a diagnostics archive will hold, file by file with sizes, before it is saved.
// The material is collected on a thread of its own, so the window keeps painting while the
// system reports run.
class DiagnosticsDialog : public QDialog
{
    Q_OBJECT

public:
    // Asks for the archive's path; the product passes a file dialog, tests their own.
    using PathChooser = std::function<QString(QWidget *parent, const QString &suggested)>;

    DiagnosticsDialog(const DiagnosticsSources &sources, PathChooser choosePath,
                      QWidget *parent = nullptr);
    ~DiagnosticsDialog() override;

    bool isReady() const { return m_bundle != nullptr; }
    QString savedPath() const { return m_savedPath; }

signals:
    void ready();

private slots:
    void collected();
    void hideAddressesToggled();
    void save();

private:
    void showFiles();

    PathChooser m_choosePath;
    QThread *m_thread = nullptr;
    std::shared_ptr<DiagnosticsBundle> m_collected;
    std::shared_ptr<QVector<DiagnosticsFile>> m_firstFiles;
    std::unique_ptr<DiagnosticsBundle> m_bundle;
    QVector<DiagnosticsFile> m_files;
    QString m_savedPath;
    QTreeWidget *m_list;
    QCheckBox *m_hideAddresses;
    QLabel *m_status;
    QDialogButtonBox *m_buttons;
};
