#include "system/listenerowner.h"

#include <QList>

qint64 ListenerOwner::fromProcTables(const QByteArray &tcp, const QByteArray &tcp6, quint16 port)
{
    // "sl local_address rem_address st ... uid ...": the local address ends in ":PORT" in
    // hexadecimal, state 0A is LISTEN, the eighth field the owner's user id.
    const QByteArray wanted = ':' + QByteArray::number(port, 16).toUpper().rightJustified(4, '0');
    for (const QByteArray &table : {tcp, tcp6}) {
        for (const QByteArray &line : table.split('\n')) {
            const QList<QByteArray> fields = line.simplified().split(' ');
            if (fields.size() < 8 || !fields.at(1).endsWith(wanted) || fields.at(3) != "0A")
                continue;
            bool numeric = false;
            const qint64 uid = fields.at(7).toLongLong(&numeric);
            if (numeric && uid >= 0)
                return uid;
        }
    }
    return -1;
}
