// Arbitrary bytes from a server through the reply reader and the text decoding.
// Besides not crashing, the reader must not care how the bytes were cut into
// reads: fed whole or in pieces, the reply reads the same.
#include "sources/HttpReply.h"

#include <cstdint>
#include <cstdlib>

namespace {

constexpr qint64 Cap = 1 << 16;

struct TOutcome
{
    bool Complete = false;
    bool Failed = false;
    int Status = 0;
    QByteArray Body;
    QList<QByteArray> Types;
    bool operator==(const TOutcome&) const = default;
};

TOutcome Read(QByteArrayView bytes, qsizetype step)
{
    THttpReplyReader reader(Cap);
    for (qsizetype at = 0; at < bytes.size() && !reader.IsComplete() && !reader.HasFailed(); at += step)
        reader.Feed(bytes.sliced(at, qMin(step, bytes.size() - at)));
    if (!reader.IsComplete() && !reader.HasFailed())
        reader.Close();
    TOutcome outcome{reader.IsComplete(), reader.HasFailed(), reader.Status(), reader.Body(),
                     reader.HeaderValues("Content-Type")};
    if (outcome.Body.size() > Cap)
        std::abort();
    return outcome;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    // The first byte chooses how the rest is cut into reads.
    const qsizetype step = 1 + data[0] % 17;
    const QByteArrayView bytes(reinterpret_cast<const char*>(data + 1), static_cast<qsizetype>(size - 1));

    const TOutcome whole = Read(bytes, qMax<qsizetype>(bytes.size(), 1));
    const TOutcome pieces = Read(bytes, step);
    if (!(whole == pieces))
        std::abort();
    if (whole.Complete) {
        const QString text =
            DecodeReplyText(whole.Body, whole.Types.isEmpty() ? QByteArray() : whole.Types.last());
        for (const QString& line : SplitReplyLines(text)) {
            if (line.contains(u'\r') || line.contains(u'\n'))
                std::abort();
        }
    }
    return 0;
}
