#pragma once

#include <QString>

// A certificate authority and a server certificate for 127.0.0.1 / localhost, made at run
// time with the openssl command in a folder the test owns.
struct TestCertificates
{
    QString caFile; // PEM
    QString certificateFile; // PEM, signed by the authority
    QString keyFile; // PEM, unencrypted
    QString error; // empty on success

    bool ok() const { return error.isEmpty(); }

    // selfSigned: the server certificate signs itself and no authority is made.
    static TestCertificates make(const QString &folder, bool selfSigned = false);
};
