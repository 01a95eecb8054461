#pragma once

#include <QString>

// The account password kept in settings.ini is enciphered with a key taken from the login,
// so that the value is bound to the account it was written for.
namespace StoredPassword {

// Used in place of a key byte of 0 (an empty login, or one that starts beyond Latin-1).
// Every release has to use the same value, or remembered passwords stop loading.
constexpr quint8 DefaultKeyByte = 0x4b;

// The code of the login's first character when it fits a byte, else 0.
quint8 keyByteForLogin(const QString &login);

// The cipher key for a key byte: the byte read as a signed number and widened with its sign,
// with 0 replaced by DefaultKeyByte.
quint64 keyForByte(quint8 keyByte);

QString encryptPassword(const QString &password, quint8 keyByte);

// An empty text when the stored value cannot be deciphered with this key byte.
QString decryptPassword(const QString &stored, quint8 keyByte);

} // namespace StoredPassword
