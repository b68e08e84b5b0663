#pragma once

#include <QByteArray>
#include <QList>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// Runs scripts/test_server.py on 127.0.0.1 for one test: a folder of hand-history files
// to serve, a folder where it records every raw request, and the process stopped (and
// its folders removed) when the fixture goes.
class TTestServer
{
public:
    static constexpr const char* Password = "pw";

    TTestServer();
    ~TTestServer();
    TTestServer(const TTestServer&) = delete;
    TTestServer& operator=(const TTestServer&) = delete;

    // Starts with the given options on the port (0: a free one). False when it did not
    // come up, for example because the port is taken.
    bool Start(const QStringList& options = {}, int port = 0);
    void Stop();

    int Port() const { return FPort; }
    // "http://127.0.0.1:<port>/api", or https.
    QString Url(bool secure = false) const;
    void AddFile(const QString& name, const QByteArray& bytes) const;
    // The raw requests received so far, in arrival order.
    QList<QByteArray> Requests() const;

private:
    QTemporaryDir FFolder;
    QProcess FProcess;
    int FPort = 0;
};

// A local port on which nothing listens (bound once, then released).
int UnusedLocalPort();
