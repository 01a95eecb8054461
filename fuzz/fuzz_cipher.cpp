// The password cipher: deciphering any text never crashes, and enciphering then deciphering
// gives the input back, in every mode. The first eight bytes are the key.

#include "core/stringcipher.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 9)
        return 0;
    quint64 key = 0;
    std::memcpy(&key, data, sizeof(key));
    const QByteArray input(reinterpret_cast<const char *>(data) + 9, int(size) - 9);
    StringCipher cipher(key);
    cipher.setCompressionMode(StringCipher::CompressionMode(data[8] % 3));
    cipher.setIntegrityProtectionMode(StringCipher::IntegrityProtectionMode((data[8] / 3) % 3));

    cipher.decryptToByteArray(input);
    cipher.decryptToString(QString::fromLatin1(input));
    if (key == 0)
        return 0; // no key, nothing enciphered
    const QByteArray cipherBytes = cipher.encryptToByteArray(input);
    if (cipher.decryptToByteArray(cipherBytes) != input
        || cipher.lastError() != StringCipher::ErrorNoError)
        abort();
    const QString text = QString::fromUtf8(input);
    if (cipher.decryptToString(cipher.encryptToString(text)) != text)
        abort();
    return 0;
}
