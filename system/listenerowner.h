#pragma once

#include <QByteArray>
#include <QtGlobal>

// Who owns the program listening on a local TCP port. The client speaks to OpenVPN's
// management interface on a fixed loopback port and gives it a password first: a program of
// another user that took the port before OpenVPN must not receive it.
namespace ListenerOwner {

// The user id of the socket listening on `port`, from the text of Linux's /proc/net/tcp and
// /proc/net/tcp6; -1 when none listens there.
qint64 fromProcTables(const QByteArray &tcp, const QByteArray &tcp6, quint16 port);

// Whether the listener on `port` may be given the management password: it belongs to root
// (OpenVPN started through the helper) or to this process's user. Where the system does not
// tell who listens (Windows), the port is trusted as before.
bool mayReceivePassword(quint16 port);

} // namespace ListenerOwner
