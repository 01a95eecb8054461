#pragma once

#include "window/mainwindow.h"
#include "core/loger.h"
#include "mockservice/mockservice.h"
#include "support/qtwarningguard.h"
#include "ui/messagedialogs.h"
#include "ui/traynotification.h"

#include <memory>

#include <QBuffer>
#include <QMessageBox>
#include <QNetworkReply>
#include <QRegularExpression>
#include <QSystemTrayIcon>
#include <QTemporaryDir>
#include <QTest>

// Reads the window's state as the reply slots leave it.
class MainWindowProbe
{
public:
    explicit MainWindowProbe(MainWindow *window)
        : w(window)
    { }

    // What the construction works out at start, pointed at local services.
    void pointAt(const QString &apiBase, const QString &emergency, bool emergencyIsIp)
    {
        w->apiBaseUrl = apiBase;
        w->siteBaseUrl = w->endpoints.siteBase;
        w->emergencyAddress = emergency;
        w->emergencyIsIp = emergencyIsIp;
        w->emergencyByDefault = false;
        w->requestTimeout = 3000;
        w->setUpSignIn();
    }

    MainWindow *w;
    QString &apiBaseUrl() { return w->apiBaseUrl; }
    QString &siteBaseUrl() { return w->siteBaseUrl; }
    QString &requestKey() { return w->requestKey; }
    QString &authToken() { return w->authToken; }
    int &userId() { return w->userId; }
    QString &userEmail() { return w->userEmail; }
    QVector<Subscription> &subscriptions() { return w->subscriptions; }
    int &currentSubIndex() { return w->currentSubIndex; }
    int &savedPackageId() { return w->savedPackageId; }
    QVector<VPNServer> &servers() { return w->servers; }
    int &firstServerIndex() { return w->firstServerIndex; }
    int &secondServerIndex() { return w->secondServerIndex; }
    bool &autoConnectPending() { return w->autoConnectPending; }
    bool &mirrorToolFound() { return w->mirrorToolFound; }
    bool *mirrorFlags() { return w->mirrorFlags; }
    bool &mirrorActive() { return w->mirrorActive; }
    bool &apiReachable() { return w->apiReachable; }
    qint16 &language() { return w->languageIndex; }
    bool &emergencyByDefault() { return w->emergencyByDefault; }
    bool &expiryWarningShown() { return w->expiryWarningShown; }
    void restoreLastServer(bool autoConnect)
    {
        w->autoConnectPending = autoConnect;
        w->restoreLastServer(w->currentSubIndex, w->autoConnectPending);
    }
    bool tryOtherApiBase() { return w->tryOtherApiBase(); }
    void restorePrimaryApiBase() { w->restorePrimaryApiBase(); }
};

// A finished reply with a body of the test's choosing, for feeding the reply slots bytes
// no real service would send.
class CannedReply : public QNetworkReply
{
public:
    CannedReply(const QByteArray &body, NetworkError error = NoError)
    {
        buffer.setData(body);
        buffer.open(QIODevice::ReadOnly);
        setOpenMode(QIODevice::ReadOnly);
        setUrl(QUrl(QStringLiteral("http://127.0.0.1/")));
        if (error != NoError)
            setError(error, QStringLiteral("canned failure"));
        setAttribute(QNetworkRequest::HttpStatusCodeAttribute, 200);
        setFinished(true);
    }
    void abort() override { }
    qint64 bytesAvailable() const override
    {
        return buffer.bytesAvailable() + QNetworkReply::bytesAvailable();
    }
    bool isSequential() const override { return true; }

protected:
    qint64 readData(char *data, qint64 maxSize) override { return buffer.read(data, maxSize); }

private:
    QBuffer buffer;
};

// Texts of the boxes the window showed, answered at once without a modal loop.
struct DialogRecorder
{
    QStringList texts;
    QList<bool> parented;

    void install()
    {
        setDialogRunner([this](QMessageBox *box) {
            texts << box->text();
            parented << (box->parent() != nullptr);
            return int(QMessageBox::Ok);
        });
    }
    ~DialogRecorder() { setDialogRunner(nullptr); }
};

// The log lines written while it lives, without their time stamps.
class LogRecorder : public QObject
{
public:
    explicit LogRecorder(const QString &dir)
    {
        Loger::init(dir, false, false, QStringLiteral("log"));
        connect(Loger::notifier(), &Loger::lineAdded, this, [this](const QString &line) {
            QString text = line;
            text.remove(QRegularExpression(QStringLiteral("^\\[[^\\]]*\\] ")));
            while (text.endsWith(QLatin1Char('\n')) || text.endsWith(QLatin1Char('\r')))
                text.chop(1);
            lines << text;
        });
    }
    ~LogRecorder() override { Loger::close(); }
    bool has(const QString &line) const { return lines.contains(line); }
    int indexOf(const QString &line) const { return lines.indexOf(line); }

    QStringList lines;
};
