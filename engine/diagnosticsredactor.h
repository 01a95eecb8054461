#pragma once

#include <QByteArray>
#include <QHash>
#include <QMap>
#include <QSet>
#include <QString>
#include <QVector>

// Takes out of a text what must never leave the machine in a problem report: the secrets it
// was given (also percent-encoded and in Base64, as they travel in addresses and headers),
// private keys, the user's home folder (shown as "~") and, when asked, every public address
// that is not one of the VPN servers'. Public addresses become "[public address N]", the same
// N for the same address in every file, so that a report still shows which lines agree.
class DiagnosticsRedactor
{
public:
    // `label` names the secret in its place ("[password removed]"). Empty values are ignored.
    void addSecret(const QString &label, const QByteArray &value);
    void setHomePath(const QString &homePath);
    void addKeptAddress(const QString &address);
    void setHideAddresses(bool hide);

    QByteArray redact(const QByteArray &text);

    // How many of each kind were taken out, for the report's own summary.
    QMap<QString, int> removedCounts() const { return m_counts; }

    // True for addresses reachable on the Internet; private, loopback, link-local,
    // shared (carrier-grade NAT), documentation, multicast and reserved ranges are not.
    static bool isPublicAddress(const QString &address);
    // Replaces the content of every PEM private key or OpenVPN static key block.
    static QByteArray removePemKeys(const QByteArray &text);

private:
    QByteArray replaceAddresses(const QByteArray &text);

    struct Form
    {
        QByteArray bytes;
        QByteArray replacement;
        QString label;
    };
    QVector<Form> m_forms;
    QByteArray m_home;
    QSet<QString> m_kept;
    QHash<QString, int> m_addressNumbers;
    QMap<QString, int> m_counts;
    bool m_hideAddresses = true;
};
