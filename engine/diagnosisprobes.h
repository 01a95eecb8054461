#pragma once

#include "engine/diagnosisfacts.h"

#include <QList>
#include <QMetaType>
#include <QNetworkRequest>
#include <QSslCertificate>
#include <QString>

class QNetworkAccessManager;
class QProcess;

// What the probes of one diagnosis are to reach.
struct DiagnosisPlan
{
    QString serverHost; // empty: no server probe
    quint16 serverPort = 0;
    // The service's reachability check on each of its two addresses.
    QList<QNetworkRequest> apiRequests;
    QList<QSslCertificate> caCertificates;
    // The mirror tool and the account's mirror configuration: a file already rebuilt from
    // the service's reply, or the request that fetches one.
    QString ssLocalPath;
    QString mirrorConfigPath;
    QNetworkRequest mirrorConfigRequest;
    QString workDir; // where the probe's own copy of the mirror configuration goes
    int limitMs = 3000;
};

// Runs the probes of one diagnosis at once on the thread it lives on, each within the plan's
// bound, and reports their results in one DiagnosisFacts (the probe fields only).
class DiagnosisProbes : public QObject
{
    Q_OBJECT

public:
    explicit DiagnosisProbes(const DiagnosisPlan &plan);
    ~DiagnosisProbes() override;

public slots:
    void run();

signals:
    void finished(const DiagnosisFacts &facts);

private:
    void probeApi(int index);
    void probeMirror();
    void startMirrorTool(const QByteArray &config);
    void oneDone();
    DiagnosisPlan m_plan;
    DiagnosisFacts m_facts;
    QNetworkAccessManager *m_network = nullptr;
    QProcess *m_tool = nullptr;
    QByteArray m_toolOutput;
    int m_pending = 0;
    bool m_reported = false;
};

Q_DECLARE_METATYPE(DiagnosisFacts)
