#include "stringcipher.h"

#include <QCryptographicHash>
#include <QDataStream>
#include <QDebug>
#include <QRandomGenerator>
#include <QtEndian>

namespace {

constexpr char CipherVersion = 3;

enum CipherFlag : char { FlagCompression = 0x01, FlagChecksum = 0x02, FlagHash = 0x04 };

constexpr int ChecksumSize = 2;
constexpr int HashSize = 20;
constexpr int CompressedHeaderSize = 4;

// zlib never expands more than about 1032 to 1, so a length header claiming more than that
// cannot belong to a real stream; refusing it keeps a crafted value from making
// qUncompress allocate gigabytes.
constexpr qint64 MaxInflateRatio = 1032;
constexpr qint64 MaxUncompressedSize = 64 * 1024 * 1024;

QByteArray checksumBytes(const QByteArray &payload)
{
    QByteArray bytes;
    QDataStream stream(&bytes, QIODevice::WriteOnly);
    stream << qChecksum(payload.constData(), uint(payload.size()));
    return bytes;
}

// The header of a zlib stream: deflate method, a window of at most 32 KiB, no preset
// dictionary and the check bits that make the first two bytes a multiple of 31.
bool looksLikeZlibStream(const QByteArray &stream)
{
    if (stream.size() < 2)
        return false;
    const uint cmf = uchar(stream.at(0));
    const uint flg = uchar(stream.at(1));
    return (cmf & 0x0f) == 8 && (cmf >> 4) <= 7 && (flg & 0x20) == 0 && (cmf * 256 + flg) % 31 == 0;
}

// qUncompress trusts the length header and complains through Qt's warning channel about a
// broken stream; both are checked here first, so a damaged or crafted value is turned down
// quietly. Returns false when the payload cannot be a qCompress result.
bool uncompressPayload(const QByteArray &payload, QByteArray *result)
{
    if (payload.size() < CompressedHeaderSize)
        return false;
    const quint32 claimed = qFromBigEndian<quint32>(payload.constData());
    const QByteArray stream = payload.mid(CompressedHeaderSize);
    if (claimed == 0) {
        // qCompress of nothing is the bare zero header.
        result->clear();
        return stream.isEmpty();
    }
    if (!looksLikeZlibStream(stream) || claimed > MaxUncompressedSize
        || claimed > MaxInflateRatio * stream.size() + 64)
        return false;
    *result = qUncompress(payload);
    return result->size() == qint64(claimed);
}

} // namespace

StringCipher::StringCipher() = default;

StringCipher::StringCipher(quint64 key)
{
    setKey(key);
}

void StringCipher::setKey(quint64 key)
{
    m_key = key;
    m_keyParts.clear();
    for (int i = 0; i < 8; ++i)
        m_keyParts.append(char((key >> (8 * i)) & 0xff));
}

QString StringCipher::encryptToString(const QString &plaintext)
{
    return encryptToString(plaintext.toUtf8());
}

QString StringCipher::encryptToString(const QByteArray &plaintext)
{
    const QByteArray cypher = encryptToByteArray(plaintext);
    if (cypher.isEmpty())
        return QString();
    return QString::fromLatin1(cypher.toBase64());
}

QByteArray StringCipher::encryptToByteArray(const QString &plaintext)
{
    return encryptToByteArray(plaintext.toUtf8());
}

QByteArray StringCipher::encryptToByteArray(const QByteArray &plaintext)
{
    if (m_keyParts.isEmpty()) {
        qDebug("No key set.");
        m_lastError = ErrorNoKeySet;
        return QByteArray();
    }

    QByteArray payload = plaintext;
    char flags = 0;

    if (m_compressionMode == CompressionAlways) {
        payload = qCompress(payload, 9);
        flags |= FlagCompression;
    } else if (m_compressionMode == CompressionAuto) {
        const QByteArray compressed = qCompress(payload, 9);
        if (compressed.size() < payload.size()) {
            payload = compressed;
            flags |= FlagCompression;
        }
    }

    QByteArray integrity;
    if (m_protectionMode == ProtectionChecksum) {
        flags |= FlagChecksum;
        integrity = checksumBytes(payload);
    } else if (m_protectionMode == ProtectionHash) {
        flags |= FlagHash;
        integrity = QCryptographicHash::hash(payload, QCryptographicHash::Sha1);
    }

    const char randomByte = char(QRandomGenerator::global()->generate() & 0xff);

    QByteArray block;
    block.reserve(1 + integrity.size() + payload.size());
    block.append(randomByte);
    block.append(integrity);
    block.append(payload);

    char last = 0;
    for (int pos = 0; pos < block.size(); ++pos) {
        block[pos] = char(block.at(pos) ^ m_keyParts.at(pos % 8) ^ last);
        last = block.at(pos);
    }

    QByteArray result;
    result.reserve(2 + block.size());
    result.append(CipherVersion);
    result.append(flags);
    result.append(block);
    m_lastError = ErrorNoError;
    return result;
}

QString StringCipher::decryptToString(const QString &cyphertext)
{
    return QString::fromUtf8(decryptToByteArray(cyphertext));
}

QString StringCipher::decryptToString(const QByteArray &cypher)
{
    return QString::fromUtf8(decryptToByteArray(cypher));
}

QByteArray StringCipher::decryptToByteArray(const QString &cyphertext)
{
    return decryptToByteArray(QByteArray::fromBase64(cyphertext.toLatin1()));
}

QByteArray StringCipher::decryptToByteArray(const QByteArray &cypher)
{
    if (m_keyParts.isEmpty()) {
        qDebug("No key set.");
        m_lastError = ErrorNoKeySet;
        return QByteArray();
    }
    if (cypher.size() < 3)
        return QByteArray();
    if (cypher.at(0) != CipherVersion) {
        m_lastError = ErrorUnknownVersion;
        qDebug("Invalid version or not a cyphertext.");
        return QByteArray();
    }

    const char flags = cypher.at(1);
    QByteArray block = cypher.mid(2);

    char last = 0;
    for (int pos = 0; pos < block.size(); ++pos) {
        const char scrambled = block.at(pos);
        block[pos] = char(scrambled ^ last ^ m_keyParts.at(pos % 8));
        last = scrambled;
    }
    block = block.mid(1);

    if (flags & FlagChecksum) {
        if (block.size() < ChecksumSize) {
            m_lastError = ErrorIntegrityFailed;
            return QByteArray();
        }
        const quint16 stored = qFromBigEndian<quint16>(block.constData());
        block = block.mid(ChecksumSize);
        if (stored != qChecksum(block.constData(), uint(block.size()))) {
            m_lastError = ErrorIntegrityFailed;
            return QByteArray();
        }
    } else if (flags & FlagHash) {
        if (block.size() < HashSize) {
            m_lastError = ErrorIntegrityFailed;
            return QByteArray();
        }
        const QByteArray stored = block.left(HashSize);
        block = block.mid(HashSize);
        if (stored != QCryptographicHash::hash(block, QCryptographicHash::Sha1)) {
            m_lastError = ErrorIntegrityFailed;
            return QByteArray();
        }
    }

    if (flags & FlagCompression) {
        QByteArray plain;
        if (!uncompressPayload(block, &plain)) {
            // Intact integrity data over a payload that does not decompress means the
            // value was made or damaged by something other than this cipher.
            m_lastError = ErrorIntegrityFailed;
            return QByteArray();
        }
        block = plain;
    }

    m_lastError = ErrorNoError;
    return block;
}
