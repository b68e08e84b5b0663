// Arbitrary bytes through the file decoding, the line cutting and the hand
// parser into a real database: nothing may crash, hang or raise.
#include "db/RakeDatabase.h"
#include "import/HandParser.h"
#include "import/HandWriter.h"
#include "import/ImportFormat.h"
#include "import/StringList2.h"
#include "platform/TextCodec.h"

#include <QStringDecoder>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdlib>
#include <memory>

namespace {

// One database for the whole run; every input is rolled back, so the file
// stays small and each input starts from empty tables.
TRakeDatabase& Database()
{
    static QTemporaryDir dir;
    static std::unique_ptr<TRakeDatabase> database = [] {
        auto db = std::make_unique<TRakeDatabase>(dir.path());
        db->OpenRakeDatabase();
        return db;
    }();
    return *database;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));

    // The code page choice must agree with Qt's own UTF-8 decoder.
    const QString ansi = DecodeSystemAnsi(bytes);
    QStringDecoder utf8(QStringDecoder::Utf8,
                        QStringDecoder::Flag::ConvertInitialBom | QStringDecoder::Flag::Stateless);
    const QString decoded = utf8.decode(bytes);
    if (SystemAnsiIsUtf8(bytes) == utf8.hasError())
        std::abort();
    // Our decoder of well-formed UTF-8 must read it exactly as Qt's does.
    const std::optional<QString> ours = DecodeValidUtf8(bytes);
    if (ours.has_value() == utf8.hasError() || (ours && *ours != decoded))
        std::abort();
    (void)ReadAmount(ansi);
    (void)ReadWholeNumber(ansi);

    TStringList2 lines;
    lines.LoadFromBytes(bytes);
    for (const QString& line : lines) {
        if (line.contains(u'\r') || line.contains(u'\n') || line.contains(QChar(0)))
            std::abort();
    }

    TRakeDatabase& database = Database();
    database.StartTransaction();
    const int written = ImportHands(database, lines);
    auto count = database.Prepare(QStringLiteral("SELECT count(*) FROM Master"));
    count->Step();
    // Hand numbers may repeat, so the file holds at most as many hands as were written.
    if (written < 0)
        std::abort();
    count.reset();
    database.Rollback();
    return 0;
}
