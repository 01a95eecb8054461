#pragma once

#include <QByteArray>
#include <QString>
#include <QVector>

// A small symmetric cipher that turns a text into printable cipher text and back. It keeps the
// stored account password from being readable at a glance and notices a wrong key or a damaged
// value through its checksum; it is not meant to resist a determined attacker.
//
// Cipher bytes: version 3, a flags byte, then a scrambled block made of one random byte, the
// integrity data and the payload (the plain bytes, or qCompress'ed ones). The text forms wrap
// the bytes in UTF-8 and Base64, so settings.ini written by any earlier release reads back.
class StringCipher
{
public:
    enum CompressionMode { CompressionAuto = 0, CompressionAlways = 1, CompressionNever = 2 };

    enum IntegrityProtectionMode { ProtectionNone = 0, ProtectionChecksum = 1, ProtectionHash = 2 };

    enum CipherError {
        ErrorNoError = 0,
        ErrorNoKeySet = 1,
        ErrorUnknownVersion = 2,
        ErrorIntegrityFailed = 3
    };

    StringCipher();
    explicit StringCipher(quint64 key);

    void setKey(quint64 key);
    quint64 key() const { return m_key; }

    void setCompressionMode(CompressionMode mode) { m_compressionMode = mode; }
    CompressionMode compressionMode() const { return m_compressionMode; }
    void setIntegrityProtectionMode(IntegrityProtectionMode mode) { m_protectionMode = mode; }
    IntegrityProtectionMode integrityProtectionMode() const { return m_protectionMode; }

    CipherError lastError() const { return m_lastError; }

    QString encryptToString(const QString &plaintext);
    QString encryptToString(const QByteArray &plaintext);
    QByteArray encryptToByteArray(const QString &plaintext);
    QByteArray encryptToByteArray(const QByteArray &plaintext);

    QString decryptToString(const QString &cyphertext);
    QString decryptToString(const QByteArray &cypher);
    QByteArray decryptToByteArray(const QString &cyphertext);
    QByteArray decryptToByteArray(const QByteArray &cypher);

private:
    quint64 m_key = 0;
    QVector<char> m_keyParts;
    CompressionMode m_compressionMode = CompressionAuto;
    IntegrityProtectionMode m_protectionMode = ProtectionChecksum;
    CipherError m_lastError = ErrorNoError;
};
