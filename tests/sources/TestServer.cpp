#include "TestServer.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTcpServer>

TTestServer::TTestServer()
{
    QDir(FFolder.path()).mkpath(QStringLiteral("files"));
}

TTestServer::~TTestServer()
{
    Stop();
}

bool TTestServer::Start(const QStringList& options, int port)
{
    QStringList arguments{QStringLiteral(KESTRUM_TEST_SERVER),
                          QStringLiteral("--port"),
                          QString::number(port),
                          QStringLiteral("--folder"),
                          FFolder.filePath(QStringLiteral("files")),
                          QStringLiteral("--record"),
                          FFolder.filePath(QStringLiteral("requests")),
                          QStringLiteral("--password"),
                          QString::fromLatin1(Password),
                          QStringLiteral("--exit-on-stdin-eof"),
                          QStringLiteral("--max-seconds"),
                          QStringLiteral("600")};
    arguments += options;
    FProcess.setProcessChannelMode(QProcess::SeparateChannels);
    FProcess.start(QStringLiteral(KESTRUM_PYTHON), arguments);
    if (!FProcess.waitForStarted(10000))
        return false;
    static const QRegularExpression ready(QStringLiteral("listening on 127\\.0\\.0\\.1 port (\\d+)"));
    QByteArray output;
    QDeadlineTimer deadline(20000);
    while (!deadline.hasExpired()) {
        if (!FProcess.canReadLine() && !FProcess.waitForReadyRead(int(deadline.remainingTime())))
            break;
        output += FProcess.readAll();
        const QRegularExpressionMatch match = ready.match(QString::fromLatin1(output));
        if (match.hasMatch()) {
            FPort = match.captured(1).toInt();
            return true;
        }
    }
    Stop();
    return false;
}

void TTestServer::Stop()
{
    if (FProcess.state() == QProcess::NotRunning)
        return;
    FProcess.kill();
    FProcess.waitForFinished(5000);
}

QString TTestServer::Url(bool secure) const
{
    return QStringLiteral("%1://127.0.0.1:%2/api").arg(secure ? "https" : "http").arg(FPort);
}

void TTestServer::AddFile(const QString& name, const QByteArray& bytes) const
{
    QFile file(FFolder.filePath(QStringLiteral("files/") + name));
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
}

QList<QByteArray> TTestServer::Requests() const
{
    QDir folder(FFolder.filePath(QStringLiteral("requests")));
    QList<QByteArray> requests;
    for (const QString& name : folder.entryList({QStringLiteral("request-*.bin")}, QDir::Files, QDir::Name)) {
        QFile file(folder.filePath(name));
        if (file.open(QIODevice::ReadOnly))
            requests.append(file.readAll());
    }
    return requests;
}

int UnusedLocalPort()
{
    QTcpServer server;
    server.listen(QHostAddress::LocalHost, 0);
    return server.serverPort();
}
