// The downloaded OpenVPN configuration through the client's patches and the filter. Besides
// not crashing: the filtered text filtered again is unchanged, and no line of it, read the
// way OpenVPN reads its configuration, is a directive the filter removes.

#include "engine/configpatches.h"
#include "engine/directivefilter.h"

#include <cstdint>
#include <cstdlib>

namespace {

// The options whose inline block OpenVPN reads as file content.
const QList<QByteArray> InlineNames {"ca",
                                     "cert",
                                     "extra-certs",
                                     "key",
                                     "pkcs12",
                                     "dh",
                                     "tls-auth",
                                     "tls-crypt",
                                     "tls-crypt-v2",
                                     "secret",
                                     "crl-verify",
                                     "http-proxy-user-pass",
                                     "auth-user-pass",
                                     "peer-fingerprint",
                                     "auth-gen-token-secret"};

// OpenVPN's reader: lines cut into 255-byte pieces, text up to a zero byte, a byte-order
// mark on the first line, inline blocks read up to a piece that starts with their closing
// tag (after blanks, which newer versions skip), "--" before a name, "setenv opt" before an
// optional directive, and no option read at all once an unknown one has made OpenVPN refuse
// the configuration.
void checkAsOpenVpnReadsIt(const QByteArray &config)
{
    QByteArray closing; // the closing tag of the open inline block
    bool first = true;
    for (const QByteArray &line : config.split('\n')) {
        for (int at = 0; at == 0 || at < line.size(); at += 255) {
            QByteArray piece = line.mid(at, 255);
            piece = piece.left(piece.indexOf('\0') < 0 ? piece.size() : piece.indexOf('\0'));
            if (first && piece.startsWith("\xEF\xBB\xBF"))
                piece.remove(0, 3);
            first = false;
            if (!closing.isEmpty()) {
                if (piece.trimmed().startsWith(closing))
                    closing.clear();
                continue;
            }
            QList<QByteArray> tokens = DirectiveFilter::tokenize(piece);
            if (tokens.size() == 1 && tokens[0].size() > 2 && tokens[0].startsWith('<')
                && tokens[0].endsWith('>') && tokens[0] != "<connection>"
                && tokens[0] != "</connection>") {
                // OpenVPN refuses a configuration with an option it does not know, before it
                // runs anything: what follows a block of an unknown name never counts.
                if (!InlineNames.contains(tokens[0].mid(1, tokens[0].size() - 2)))
                    return;
                closing = "</" + tokens[0].mid(1);
                continue;
            }
            while (tokens.size() >= 2 && tokens[0] == "setenv" && tokens[1] == "opt")
                tokens = tokens.mid(2);
            if (tokens.isEmpty())
                continue;
            QByteArray name = tokens[0].toLower();
            if (name.startsWith("--"))
                name.remove(0, 2);
            const bool fileForm = ((name == "auth-user-pass" || name == "http-proxy-user-pass")
                                   && tokens.size() >= 2)
                || (name == "socks-proxy" && tokens.size() >= 4)
                || (name == "http-proxy" && tokens.size() >= 4 && tokens[3].toLower() != "auto"
                    && tokens[3].toLower() != "auto-nct");
            if (DirectiveFilter::isUnsafeName(name) || fileForm)
                abort();
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray config(reinterpret_cast<const char *>(data), int(size));
    const QByteArray filtered = DirectiveFilter::apply(config);
    if (DirectiveFilter::apply(filtered) != filtered || filtered.contains('\0'))
        abort();
    checkAsOpenVpnReadsIt(filtered);

    // The way the client completes a downloaded configuration.
    const MirrorEndpoint mirror {QStringLiteral("203.0.113.5"), 443, QStringLiteral("127.0.0.1"),
                                 1080};
    const QByteArray completed = removeUnsafeLines(patchMirror(patchDevice(config), {}, mirror));
    if (DirectiveFilter::apply(completed) != completed)
        abort();
    checkAsOpenVpnReadsIt(completed);
    if (!completed.isEmpty() && !completed.endsWith("\ndev ksvpn_tun\n"))
        abort(); // the client's own lines survive, or nothing is written
    return 0;
}
