#pragma once

#include <QByteArray>
#include <QStringList>

// Cuts the byte stream of the management connection into lines. A line may arrive in
// several pieces, so the unfinished tail is kept until its line end comes; the password
// prompt "ENTER PASSWORD:" never gets a line end and counts as a line of its own. A tail
// that grows past the limit without a line end is thrown away together with the rest of
// that line, so a peer that never ends a line cannot make the buffer grow without bound.
class ManagementLineBuffer
{
public:
    static constexpr int DefaultLineLimit = 64 * 1024;

    explicit ManagementLineBuffer(int lineLimit = DefaultLineLimit);

    // Complete, non-empty lines of the data received so far, as Latin-1 text without
    // their line end ("\r\n", or a bare "\n").
    QStringList append(const QByteArray &bytes);

    void clear();
    int pendingSize() const;
    int droppedLines() const;

private:
    QByteArray m_pending;
    int m_lineLimit;
    bool m_skipping = false;
    int m_dropped = 0;
};
