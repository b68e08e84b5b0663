#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>
#include <utility>

// Reads one HTTP reply as its bytes arrive: status line, header lines, then the body
// delimited by Content-Length, by chunked coding or by the server closing. Interim
// 1xx replies are skipped. Anything that does not read as HTTP, a body past the cap
// (an announced one before any of it is held) or a head past it fails the reply for
// good.
class THttpReplyReader
{
public:
    explicit THttpReplyReader(qint64 maxBytes);

    // Takes the next bytes of the connection; false once the reply has failed. Bytes
    // after a complete reply are ignored.
    bool Feed(QByteArrayView data);
    // The server closed the connection: true when that completes the reply.
    bool Close();

    bool IsComplete() const { return FState == TState::Complete; }
    bool HasFailed() const { return FState == TState::Failed; }
    int Status() const { return FStatus; }
    const QByteArray& Body() const { return FBody; }
    // Hands the body over, so a large one is not held twice while it is decoded.
    QByteArray TakeBody() { return std::exchange(FBody, QByteArray()); }
    // Every value of a header, in arrival order; the name is compared without case.
    QList<QByteArray> HeaderValues(QByteArrayView name) const;

private:
    enum class TState
    {
        StatusLine,
        Headers,
        LengthBody,
        ChunkSize,
        ChunkData,
        ChunkEnd,
        Trailers,
        UntilClose,
        Complete,
        Failed,
    };

    bool TakeLine(QByteArray line);
    bool TakeStatusLine(const QByteArray& line);
    bool TakeHeaderLine(const QByteArray& line);
    bool EndOfHeaders();
    bool TakeChunkSize(const QByteArray& line);
    bool Fail();

    qint64 FMaxBytes;
    qint64 FHeadBytes = 0; // all but the body
    TState FState = TState::StatusLine;
    int FStatus = 0;
    QByteArray FLine;
    QList<QPair<QByteArray, QByteArray>> FHeaders;
    qint64 FRemaining = 0;
    QByteArray FBody;
};

// The body as text: in the charset the Content-Type names; without one, US-ASCII for an
// xml type, otherwise byte for byte as ISO-8859-1. A charset this program cannot decode
// is read as ISO-8859-1 too, which keeps every byte.
QString DecodeReplyText(const QByteArray& body, const QByteArray& contentType);

// Cuts at CR LF, lone CR or lone LF; a final break makes no empty last line.
// The lines share the text's buffer (see TSharedLines).
QStringList SplitReplyLines(QString text);
