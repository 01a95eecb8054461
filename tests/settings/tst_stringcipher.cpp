#include "core/storedpassword.h"
#include "core/stringcipher.h"
#include "support/testmain.h"

#include <QCryptographicHash>
#include <QRandomGenerator>
#include <QtEndian>

namespace {

// Every message of the process while it lives, kept instead of printed.
class MessageRecorder
{
public:
    struct Message
    {
        QtMsgType type;
        QString text;
    };

    MessageRecorder()
    {
        s_current = this;
        m_previous = qInstallMessageHandler(&MessageRecorder::handle);
    }
    ~MessageRecorder()
    {
        qInstallMessageHandler(m_previous);
        s_current = nullptr;
    }

    QVector<Message> messages;

private:
    static void handle(QtMsgType type, const QMessageLogContext &, const QString &text)
    {
        if (s_current)
            s_current->messages.append({type, text});
    }

    static MessageRecorder *s_current;
    QtMessageHandler m_previous = nullptr;
};

MessageRecorder *MessageRecorder::s_current = nullptr;

enum class Integrity { None, Checksum, Hash };

// The cipher text layout written out independently of the class: version 3, flags, then
// the block {random byte, integrity data, payload} scrambled with the key bytes and the
// previous scrambled byte.
QByteArray keyPartsFor(quint64 key)
{
    QByteArray parts;
    for (int i = 0; i < 8; ++i)
        parts.append(char(key >> (8 * i)));
    return parts;
}

QByteArray buildCipher(const QByteArray &plain, quint64 key, quint8 randomByte, bool compress,
                       Integrity integrity)
{
    QByteArray payload = compress ? qCompress(plain, 9) : plain;
    quint8 flags = compress ? 0x01 : 0x00;
    QByteArray block(1, char(randomByte));
    if (integrity == Integrity::Checksum) {
        flags |= 0x02;
        const quint16 crc = qChecksum(payload.constData(), uint(payload.size()));
        block.append(char(crc >> 8));
        block.append(char(crc & 0xff));
    } else if (integrity == Integrity::Hash) {
        flags |= 0x04;
        block.append(QCryptographicHash::hash(payload, QCryptographicHash::Sha1));
    }
    block.append(payload);
    const QByteArray parts = keyPartsFor(key);
    quint8 last = 0;
    for (int i = 0; i < block.size(); ++i) {
        block[i] = char(quint8(block.at(i)) ^ quint8(parts.at(i % 8)) ^ last);
        last = quint8(block.at(i));
    }
    return QByteArray(1, char(3)) + QByteArray(1, char(flags)) + block;
}

struct Decoded
{
    bool ok = false;
    quint8 flags = 0;
    QByteArray plain;
};

Decoded decodeCipher(const QByteArray &cipher, quint64 key)
{
    Decoded result;
    if (cipher.size() < 3 || cipher.at(0) != 3)
        return result;
    result.flags = quint8(cipher.at(1));
    QByteArray block = cipher.mid(2);
    const QByteArray parts = keyPartsFor(key);
    quint8 last = 0;
    for (int i = 0; i < block.size(); ++i) {
        const quint8 scrambled = quint8(block.at(i));
        block[i] = char(scrambled ^ last ^ quint8(parts.at(i % 8)));
        last = scrambled;
    }
    QByteArray rest = block.mid(1);
    if (result.flags & 0x02) {
        if (rest.size() < 2)
            return result;
        const quint16 stored = quint16(quint8(rest.at(0)) << 8 | quint8(rest.at(1)));
        rest = rest.mid(2);
        if (stored != qChecksum(rest.constData(), uint(rest.size())))
            return result;
    } else if (result.flags & 0x04) {
        if (rest.size() < 20)
            return result;
        const QByteArray stored = rest.left(20);
        rest = rest.mid(20);
        if (stored != QCryptographicHash::hash(rest, QCryptographicHash::Sha1))
            return result;
    }
    result.plain = (result.flags & 0x01) ? qUncompress(rest) : rest;
    result.ok = true;
    return result;
}

const QString LongPassword = QStringLiteral("correct horse battery staple ").repeated(8);

} // namespace

Q_DECLARE_METATYPE(Integrity)
Q_DECLARE_METATYPE(StringCipher::CompressionMode)
Q_DECLARE_METATYPE(StringCipher::IntegrityProtectionMode)
Q_DECLARE_METATYPE(StringCipher::CipherError)

class TestStringCipher : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { KestruneTest::guardQtWarnings(); }
    void cleanup() { KESTRUNE_VERIFY_NO_QT_WARNINGS(); }

    // Values written by an earlier installation, worked out outside this code base.
    void storedPasswordsOfEarlierInstallationsDecipher_data()
    {
        QTest::addColumn<QString>("login");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("password");
        QTest::newRow("short password, checksum only") << "user@example.com"
                                                       << "AwIpk/+Mv9yuy8rr"
                                                       << "s3cret!";
        QTest::newRow("long password, compressed")
            << "mike"
            << "AwPKIOLi4uIKcsWOQG9FD0JsUJhQf1UbTgYhDSRtQOq+ltWcsHgxZCwyYfPzjWE5gA=="
            << LongPassword;
        QTest::newRow("login starting above code 127")
            << QString::fromUtf8("élise") << "AwLoNfl2ShGdEY+z+nfs"
            << QString::fromUtf8("pässwörd");
        QTest::newRow("empty login uses the built-in key") << QString() << "AwJ4WnIabwF1ECkb"
                                                           << "hunter2";
    }
    void storedPasswordsOfEarlierInstallationsDecipher()
    {
        QFETCH(QString, login);
        QFETCH(QString, stored);
        QFETCH(QString, password);
        QCOMPARE(StoredPassword::decryptPassword(stored, StoredPassword::keyByteForLogin(login)),
                 password);
    }

    void handBuiltCipherTextsDecipher_data()
    {
        QTest::addColumn<QString>("login");
        QTest::addColumn<QString>("password");
        QTest::addColumn<bool>("compress");
        QTest::addColumn<Integrity>("integrity");
        QTest::addColumn<int>("flags");
        QTest::newRow("short password") << "anna"
                                        << "pa55word" << false << Integrity::Checksum << 0x02;
        QTest::newRow("long compressible password")
            << "anna" << LongPassword << true << Integrity::Checksum << 0x03;
        QTest::newRow("login above code 127")
            << QString::fromUtf8("ÿves") << "pa55word" << false << Integrity::Checksum << 0x02;
        QTest::newRow("login above code 127, compressed")
            << QString::fromUtf8("Ølaf") << LongPassword << true << Integrity::Checksum << 0x03;
        QTest::newRow("sha-1 digest") << "bob"
                                      << "pa55word" << false << Integrity::Hash << 0x04;
        QTest::newRow("compressed with digest")
            << "bob" << LongPassword << true << Integrity::Hash << 0x05;
        QTest::newRow("no integrity data") << "bob"
                                           << "pa55word" << false << Integrity::None << 0x00;
        QTest::newRow("non-ascii password")
            << "zoe" << QString::fromUtf8("пароль密码") << false << Integrity::Checksum << 0x02;
    }
    void handBuiltCipherTextsDecipher()
    {
        QFETCH(QString, login);
        QFETCH(QString, password);
        QFETCH(bool, compress);
        QFETCH(Integrity, integrity);
        QFETCH(int, flags);

        const quint8 keyByte = StoredPassword::keyByteForLogin(login);
        const quint64 key = StoredPassword::keyForByte(keyByte);
        const QByteArray cipher = buildCipher(password.toUtf8(), key, 0xa5, compress, integrity);
        QCOMPARE(int(quint8(cipher.at(1))), flags);
        const QString stored = QString::fromLatin1(cipher.toBase64());

        QCOMPARE(StoredPassword::decryptPassword(stored, keyByte), password);
        StringCipher cipherObject(key);
        QCOMPARE(cipherObject.decryptToString(cipher), password);
        QCOMPARE(cipherObject.lastError(), StringCipher::ErrorNoError);
    }

    void keyComesFromTheLoginsFirstCharacter_data()
    {
        QTest::addColumn<QString>("login");
        QTest::addColumn<int>("keyByte");
        QTest::addColumn<quint64>("key");
        QTest::newRow("ascii") << "alice" << 0x61 << quint64(0x61);
        QTest::newRow("code 127") << QString(QChar(0x7f)) << 0x7f << quint64(0x7f);
        QTest::newRow("code 128 is sign-extended")
            << QString(QChar(0x80)) << 0x80 << quint64(0xffffffffffffff80ULL);
        QTest::newRow("code 255 is sign-extended")
            << QString(QChar(0xff)) << 0xff << quint64(0xffffffffffffffffULL);
        QTest::newRow("empty login takes the built-in key")
            << QString() << 0 << quint64(StoredPassword::DefaultKeyByte);
        QTest::newRow("above code 255 takes the built-in key")
            << QString::fromUtf8("Жанна") << 0 << quint64(StoredPassword::DefaultKeyByte);
        QTest::newRow("surrogate pair takes the built-in key")
            << QString::fromUtf8("😀x") << 0 << quint64(StoredPassword::DefaultKeyByte);
    }
    void keyComesFromTheLoginsFirstCharacter()
    {
        QFETCH(QString, login);
        QFETCH(int, keyByte);
        QFETCH(quint64, key);
        QCOMPARE(int(StoredPassword::keyByteForLogin(login)), keyByte);
        QCOMPARE(StoredPassword::keyForByte(quint8(keyByte)), key);
    }

    void builtInKeyByteIsAPositiveByte()
    {
        QVERIFY(StoredPassword::DefaultKeyByte > 0);
        QVERIFY(StoredPassword::DefaultKeyByte < 128);
    }

    void encipheredBytesFollowTheLayout_data()
    {
        QTest::addColumn<QString>("plain");
        QTest::addColumn<StringCipher::CompressionMode>("compression");
        QTest::addColumn<StringCipher::IntegrityProtectionMode>("protection");
        QTest::addColumn<int>("flags");
        QTest::addColumn<int>("size");
        QTest::newRow("empty text is version, flags, random byte and checksum")
            << QString() << StringCipher::CompressionAuto << StringCipher::ProtectionChecksum
            << 0x02 << 5;
        QTest::newRow("short text is not compressed")
            << "abc" << StringCipher::CompressionAuto << StringCipher::ProtectionChecksum << 0x02
            << 8;
        QTest::newRow("long repetitive text is compressed")
            << LongPassword << StringCipher::CompressionAuto << StringCipher::ProtectionChecksum
            << 0x03 << -1;
        QTest::newRow("always compress") << "abc" << StringCipher::CompressionAlways
                                         << StringCipher::ProtectionChecksum << 0x03 << -1;
        QTest::newRow("never compress")
            << LongPassword << StringCipher::CompressionNever << StringCipher::ProtectionChecksum
            << 0x02 << 2 + 1 + 2 + LongPassword.size();
        QTest::newRow("sha-1 digest") << "abc" << StringCipher::CompressionAuto
                                      << StringCipher::ProtectionHash << 0x04 << 2 + 1 + 20 + 3;
        QTest::newRow("no integrity data") << "abc" << StringCipher::CompressionAuto
                                           << StringCipher::ProtectionNone << 0x00 << 2 + 1 + 3;
        QTest::newRow("compressed with digest") << LongPassword << StringCipher::CompressionAuto
                                                << StringCipher::ProtectionHash << 0x05 << -1;
    }
    void encipheredBytesFollowTheLayout()
    {
        QFETCH(QString, plain);
        QFETCH(StringCipher::CompressionMode, compression);
        QFETCH(StringCipher::IntegrityProtectionMode, protection);
        QFETCH(int, flags);
        QFETCH(int, size);

        const quint64 key = StoredPassword::keyForByte(0xc3);
        StringCipher cipher(key);
        cipher.setCompressionMode(compression);
        cipher.setIntegrityProtectionMode(protection);
        const QByteArray bytes = cipher.encryptToByteArray(plain.toUtf8());
        QCOMPARE(cipher.lastError(), StringCipher::ErrorNoError);
        if (size >= 0)
            QCOMPARE(bytes.size(), size);
        const Decoded decoded = decodeCipher(bytes, key);
        QVERIFY(decoded.ok);
        QCOMPARE(int(decoded.flags), flags);
        QCOMPARE(QString::fromUtf8(decoded.plain), plain);

        const QString text = cipher.encryptToString(plain);
        QCOMPARE(QByteArray::fromBase64(text.toLatin1()).toBase64(), text.toLatin1());
        QCOMPARE(cipher.decryptToString(text), plain);
        QCOMPARE(cipher.lastError(), StringCipher::ErrorNoError);
    }

    void sameTextTwiceGivesDifferentCipherTexts()
    {
        StringCipher cipher(StoredPassword::keyForByte('q'));
        QSet<QString> texts;
        for (int i = 0; i < 8; ++i) {
            const QString text = cipher.encryptToString(QStringLiteral("same password"));
            QCOMPARE(cipher.decryptToString(text), QStringLiteral("same password"));
            texts.insert(text);
        }
        // Eight equal random bytes in a row would take a 1 in 2^56 chance.
        QVERIFY(texts.size() > 1);
    }

    void wrongKeyGivesEmptyTextAndIntegrityFailure_data()
    {
        QTest::addColumn<int>("writtenWith");
        QTest::addColumn<int>("readWith");
        QTest::newRow("other ascii letter") << int('a') << int('b');
        QTest::newRow("built-in key against a letter") << 0 << int('K' + 1);
        QTest::newRow("sign-extended against positive") << 0xe9 << 0x69;
    }
    void wrongKeyGivesEmptyTextAndIntegrityFailure()
    {
        QFETCH(int, writtenWith);
        QFETCH(int, readWith);
        const QByteArray cipher
            = buildCipher("secret password", StoredPassword::keyForByte(quint8(writtenWith)), 0x17,
                          false, Integrity::Checksum);
        StringCipher reader(StoredPassword::keyForByte(quint8(readWith)));
        QCOMPARE(reader.decryptToString(QString::fromLatin1(cipher.toBase64())), QString());
        QCOMPARE(reader.lastError(), StringCipher::ErrorIntegrityFailed);
    }

    void tooShortInputGivesEmptyTextWithoutWarning_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::newRow("empty") << QString();
        QTest::newRow("one byte") << "Aw==";
        QTest::newRow("two bytes") << "AwI=";
        QTest::newRow("not base64 at all") << "@@@";
    }
    void tooShortInputGivesEmptyTextWithoutWarning()
    {
        QFETCH(QString, stored);
        StringCipher cipher(StoredPassword::keyForByte('x'));
        cipher.decryptToString(QStringLiteral("BAAAAA=="));
        QCOMPARE(cipher.lastError(), StringCipher::ErrorUnknownVersion);

        MessageRecorder recorder;
        QCOMPARE(cipher.decryptToString(stored), QString());
        QVERIFY(recorder.messages.isEmpty());
        // Too short to judge: the previous result stays.
        QCOMPARE(cipher.lastError(), StringCipher::ErrorUnknownVersion);
    }

    void otherVersionIsReportedOnTheDebugChannel_data()
    {
        QTest::addColumn<QByteArray>("cipher");
        QTest::newRow("version 0") << QByteArray::fromHex("000200aabb");
        QTest::newRow("version 2") << QByteArray::fromHex("020200aabb");
        QTest::newRow("version 4") << QByteArray::fromHex("040200aabb");
        QTest::newRow("version 255") << QByteArray::fromHex("ff0200");
    }
    void otherVersionIsReportedOnTheDebugChannel()
    {
        QFETCH(QByteArray, cipher);
        StringCipher reader(StoredPassword::keyForByte('x'));
        MessageRecorder recorder;
        QCOMPARE(reader.decryptToByteArray(cipher), QByteArray());
        QCOMPARE(reader.lastError(), StringCipher::ErrorUnknownVersion);
        QCOMPARE(recorder.messages.size(), 1);
        QCOMPARE(recorder.messages.at(0).type, QtDebugMsg);
        QCOMPARE(recorder.messages.at(0).text,
                 QStringLiteral("Invalid version or not a cyphertext."));
    }

    void missingKeyIsReportedOnTheDebugChannel()
    {
        StringCipher cipher;
        MessageRecorder recorder;
        QCOMPARE(cipher.encryptToString(QStringLiteral("pw")), QString());
        QCOMPARE(cipher.lastError(), StringCipher::ErrorNoKeySet);
        QCOMPARE(cipher.decryptToByteArray(QByteArray::fromHex("030200aabb")), QByteArray());
        QCOMPARE(cipher.lastError(), StringCipher::ErrorNoKeySet);
        QCOMPARE(recorder.messages.size(), 2);
        for (const MessageRecorder::Message &message : qAsConst(recorder.messages)) {
            QCOMPARE(message.type, QtDebugMsg);
            QCOMPARE(message.text, QStringLiteral("No key set."));
        }
    }

    void keyZeroStillCounts()
    {
        StringCipher cipher;
        cipher.setKey(0);
        const QString text = cipher.encryptToString(QStringLiteral("pw"));
        QCOMPARE(cipher.lastError(), StringCipher::ErrorNoError);
        QCOMPARE(cipher.decryptToString(text), QStringLiteral("pw"));
    }

    void damagedIntegrityDataFails_data()
    {
        QTest::addColumn<QByteArray>("cipher");
        const quint64 key = StoredPassword::keyForByte('k');
        QByteArray flipped = buildCipher("password", key, 0x01, false, Integrity::Checksum);
        flipped[flipped.size() - 1] = char(flipped.at(flipped.size() - 1) ^ 0x40);
        QTest::newRow("changed last byte") << flipped;
        QTest::newRow("checksum cut off") << buildCipher("", key, 0x01, false, Integrity::None)
                                                 .replace(1, 1, QByteArray(1, char(0x02)));
        QByteArray shortHash = buildCipher("abc", key, 0x01, false, Integrity::None);
        shortHash[1] = char(0x04);
        QTest::newRow("digest shorter than 20 bytes") << shortHash;
        QByteArray wrongHash = buildCipher(QByteArray(30, 'z'), key, 0x01, false, Integrity::Hash);
        wrongHash[5] = char(wrongHash.at(5) ^ 1);
        QTest::newRow("changed digest") << wrongHash;
    }
    void damagedIntegrityDataFails()
    {
        QFETCH(QByteArray, cipher);
        StringCipher reader(StoredPassword::keyForByte('k'));
        QCOMPARE(reader.decryptToByteArray(cipher), QByteArray());
        QCOMPARE(reader.lastError(), StringCipher::ErrorIntegrityFailed);
    }

    // The integrity data only covers what was stored; a payload flagged as compressed that
    // is no qCompress result must not pass as an empty password, nor allocate what its
    // length header claims.
    void compressedFlagOverBrokenPayloadFails_data()
    {
        QTest::addColumn<QByteArray>("payload");
        QTest::addColumn<bool>("zlibComplains");
        QTest::newRow("too short for a length header") << QByteArray::fromHex("0001") << false;
        QTest::newRow("claims 4 GiB") << QByteArray::fromHex("ffffffff78da0300000001") << false;
        QTest::newRow("not a zlib stream")
            << QByteArray::fromHex("00000010deadbeefdeadbeef") << false;
        QTest::newRow("header without stream") << QByteArray::fromHex("00000010") << false;
        QTest::newRow("length differs from the stream")
            << (QByteArray::fromHex("00000009") + qCompress("abc", 9).mid(4)) << false;
        QTest::newRow("zero length with trailing bytes")
            << QByteArray::fromHex("0000000078da") << false;
        QTest::newRow("zlib header over a broken stream")
            << QByteArray::fromHex("0000001078daffffffffffffffffffff") << true;
    }
    void compressedFlagOverBrokenPayloadFails()
    {
        QFETCH(QByteArray, payload);
        QFETCH(bool, zlibComplains);
        // Past the checks only zlib itself can tell a broken stream, and Qt says so.
        if (zlibComplains)
            KestruneTest::expectQtWarning(QRegularExpression(QStringLiteral("^qUncompress")));
        const quint64 key = StoredPassword::keyForByte('k');
        QByteArray cipher = buildCipher(payload, key, 0x42, false, Integrity::Checksum);
        cipher[1] = char(0x03);
        StringCipher reader(key);
        QCOMPARE(reader.decryptToByteArray(cipher), QByteArray());
        QCOMPARE(reader.lastError(), StringCipher::ErrorIntegrityFailed);
    }

    void compressedEmptyTextDeciphers()
    {
        const quint64 key = StoredPassword::keyForByte('k');
        StringCipher cipher(key);
        cipher.setCompressionMode(StringCipher::CompressionAlways);
        const QByteArray bytes = cipher.encryptToByteArray(QByteArray());
        QCOMPARE(int(quint8(bytes.at(1))), 0x03);
        QCOMPARE(cipher.decryptToByteArray(bytes), QByteArray());
        QCOMPARE(cipher.lastError(), StringCipher::ErrorNoError);
    }

    // Random input of every kind reaches each step of deciphering; whatever comes back is
    // either empty or exactly what the layout yields.
    void randomInputNeverCrashes()
    {
        QRandomGenerator random(20261206);
        const quint64 key = StoredPassword::keyForByte('r');
        StringCipher cipher(key);
        MessageRecorder recorder;
        int accepted = 0;
        for (int round = 0; round < 10000; ++round) {
            QByteArray bytes(int(random.bounded(48)), Qt::Uninitialized);
            for (char &byte : bytes)
                byte = char(random.bounded(256));
            if (!bytes.isEmpty() && random.bounded(2))
                bytes[0] = char(3);
            if (bytes.size() > 1 && random.bounded(2))
                bytes[1] = char(random.bounded(8));

            const StringCipher::CipherError before = cipher.lastError();
            const QByteArray result = cipher.decryptToByteArray(bytes);
            if (bytes.size() < 3) {
                QCOMPARE(result, QByteArray());
                QCOMPARE(cipher.lastError(), before);
            } else if (!result.isEmpty()) {
                QCOMPARE(cipher.lastError(), StringCipher::ErrorNoError);
                const Decoded decoded = decodeCipher(bytes, key);
                QVERIFY(decoded.ok);
                QCOMPARE(decoded.plain, result);
                ++accepted;
            }
            QCOMPARE(cipher.decryptToString(bytes), QString::fromUtf8(result));
            cipher.decryptToString(QString::fromLatin1(bytes));
        }
        for (const MessageRecorder::Message &message : qAsConst(recorder.messages)) {
            QCOMPARE(message.type, QtDebugMsg);
            QVERIFY2(message.text == QLatin1String("Invalid version or not a cyphertext."),
                     qPrintable(message.text));
        }
        // Uncompressed blocks without integrity data are accepted as they are.
        QVERIFY(accepted > 0);
    }
};

KESTRUNE_TEST_MAIN(TestStringCipher)
#include "tst_stringcipher.moc"
