#include "storedpassword.h"

#include "stringcipher.h"

namespace StoredPassword {

quint8 keyByteForLogin(const QString &login)
{
    if (login.isEmpty())
        return 0;
    const ushort code = login.at(0).unicode();
    return code <= 0xff ? quint8(code) : 0;
}

quint64 keyForByte(quint8 keyByte)
{
    qint8 signedByte = qint8(keyByte);
    if (signedByte == 0)
        signedByte = qint8(DefaultKeyByte);
    return quint64(qint64(signedByte));
}

QString encryptPassword(const QString &password, quint8 keyByte)
{
    StringCipher cipher;
    cipher.setKey(keyForByte(keyByte));
    return cipher.encryptToString(password);
}

QString decryptPassword(const QString &stored, quint8 keyByte)
{
    StringCipher cipher;
    cipher.setKey(keyForByte(keyByte));
    return cipher.decryptToString(stored);
}

} // namespace StoredPassword
