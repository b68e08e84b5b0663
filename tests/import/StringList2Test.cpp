// Hand-history files becoming lines: byte-order marks, code pages, breaks, NUL.
#include "import/StringList2.h"
#include "ImportFixture.h"
#include "platform/Error.h"
#include "support/QtPrinters.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

QStringList Lines(QByteArrayView bytes)
{
    TStringList2 list;
    list << QStringLiteral("left over");
    list.LoadFromBytes(bytes);
    return list;
}

QByteArray Bytes(const char* text, qsizetype size = -1)
{
    return size < 0 ? QByteArray(text) : QByteArray(text, size);
}

struct TBreakCase
{
    QByteArray Bytes;
    QStringList Lines;
};

// The rule one unit at a time, for texts the table above does not reach.
QStringList CutOneByOne(const QString& text)
{
    QStringList lines;
    QString line;
    bool open = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == QChar(0))
            break;
        if (c == u'\r' || c == u'\n') {
            lines << line;
            line.clear();
            open = false;
            if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
                ++i;
        } else {
            line += c;
            open = true;
        }
    }
    if (open)
        lines << line;
    return lines;
}

TEST(StringList2, CutsAtEveryOffset)
{
    // Breaks are searched for several units at a time: each kind of break,
    // and a control unit that is none, at every offset between runs of text.
    const QByteArray marks[] = {"\r\n", "\r", "\n", "\n\r", "\x0b", "\t", QByteArray("\0", 1), "\x0d\x0d"};
    for (const QByteArray& mark : marks) {
        for (int before = 0; before < 20; ++before) {
            for (int after = 0; after < 12; after += 5) {
                const QByteArray bytes =
                    QByteArray(before, 'a') + mark + QByteArray(after, 'b') + "\r\n" + mark;
                ASSERT_EQ(Lines(bytes), CutOneByOne(QString::fromLatin1(bytes))) << bytes.toHex().constData();
            }
        }
    }
}

TEST(StringList2, CutsAtEveryKindOfBreak)
{
    const TBreakCase cases[] = {
        {Bytes(""), {}},
        {Bytes("a"), {"a"}},
        {Bytes("a\r\nb\r\n"), {"a", "b"}},
        {Bytes("a\rb\r"), {"a", "b"}},
        {Bytes("a\nb\n"), {"a", "b"}},
        {Bytes("a\nb"), {"a", "b"}},
        {Bytes("a\r\rb"), {"a", "", "b"}},
        {Bytes("a\n\rb"), {"a", "", "b"}}, // LF CR is two breaks
        {Bytes("a\r\n\r\n"), {"a", ""}},
        {Bytes("\r\n"), {""}},
        {Bytes("\n\n\n"), {"", "", ""}},
        {Bytes("a\tb \x0b\x0c"), {"a\tb \x0b\x0c"}},
        {Bytes("ab\tcd\x01"
               "efgh\xE2\x82\xAC"
               "ijkl\rmn\x0eopqrstu\x7f\r\nv"),
         {QStringLiteral("ab\tcd\x01"
                         "efgh\u20ACijkl"),
          QStringLiteral("mn\x0eopqrstu\x7f"), "v"}},
        {Bytes("a\r\nb\0c\r\nd", 9), {"a", "b"}},
        {Bytes("\0a\r\n", 4), {}},
        {Bytes("a\r\n\0", 4), {"a"}},
        {Bytes("a\r\0\nb", 5), {"a"}},
        {Bytes("\xEF\xBB\xBF"), {}},
        {Bytes("\xEF\xBB\xBF\r\n"), {""}},
        {Bytes("\xEF\xBB\xBFHand #1\0x", 12), {"Hand #1"}},
        {Bytes("\xEF\xBB\xBF\xEF\xBB\xBFHand"),
         {QStringLiteral("\uFEFFHand")}}, // only the first mark is a mark
        {Bytes("a\r\n\xEF\xBB\xBF"
               "b\r\n\xEF\xBB\xBF"),
         {"a", QStringLiteral("\uFEFFb"), QStringLiteral("\uFEFF")}},
        {Bytes("\xEF\xBB\xBF\xEF\xBB\xBF\xEF\xBB\xBF\xEF\xBB\xBF"
               "b"),
         {QStringLiteral("\uFEFF\uFEFF\uFEFFb")}},
        {Bytes("\xC3\xA9\r\n\xEF\xBB\xBF"
               "b\xE9."),
         {QStringLiteral("Ã©"), QStringLiteral("ï»¿bé.")}},
        {Bytes("\xFF\xFE"), {}},
        {Bytes("\xFF\xFE"
               "a\0\r\0b\0",
               8),
         {"a", "b"}},
        {Bytes("\xFE\xFF"
               "\0a\0\n\0b",
               8),
         {"a", "b"}},
        {Bytes("\xFF\xFE"
               "a\0\0\0b\0",
               8),
         {"a"}},
        // A file still being written may end inside a character: it reads as
        // it will once complete, less that character.
        {Bytes("\xFF\xFE"
               "a\0b",
               5),
         {"a"}},
        {Bytes("\xFF\xFE"
               "a\0\x3D\xD8",
               6),
         {"a"}},
        {Bytes("\xFE\xFF"
               "\0a\xD8\x3D\xDE",
               7),
         {"a"}},
        {Bytes("\xEF\xBB\xBF"
               "a\xC3",
               5),
         {"a"}},
        {Bytes("\xEF\xBB\xBF"
               "\xFF\r\na\xC3",
               8),
         {QStringLiteral("\uFFFD"), "a"}},
        {Bytes("\xC5\xA0imon\r\nS\xC3"), {QStringLiteral("Šimon"), "S"}},
        {Bytes("\xC5\xA0imon\r\nS\xF0\x9F\x98"), {QStringLiteral("Šimon"), "S"}},
        {Bytes("\xC5\xA0imon\r\nS\xE0\x80"),
         {QStringLiteral("Å\u00A0imon"), QStringLiteral("Sà€")}}, // no character starts so
        {Bytes("\xC5\xA0imon\r\nS\xF4\x90"), {QStringLiteral("Å\u00A0imon"), QStringLiteral("Sô\u0090")}},
        {Bytes("\xE9\r\nS\xC3"), {QStringLiteral("é"), QStringLiteral("SÃ")}}, // Windows-1252 before the end
        {Bytes("\xC5\xA0\xC3\0", 4), {QStringLiteral("Å\u00A0Ã")}}, // the text ends at a NUL, not the file
        {Bytes("\xFE\xFF"
               "\xD8\x3D\xDE\x00",
               6),
         {QStringLiteral("\U0001F600")}},
        {Bytes("Ren\xC3\xA9"), {QStringLiteral("René")}},
        {Bytes("Ren\xE9\r\n\x80"), {QStringLiteral("René"), QStringLiteral("€")}},
        {Bytes("Ren\xE9"), {QStringLiteral("Ren")}}, // a last byte that starts a UTF-8 sequence
        {Bytes("Ren\xE9!"), {QStringLiteral("René!")}},
        {Bytes("Ren\xE9\0\xC3\xA9", 7), {QStringLiteral("René")}},
        {Bytes("Ren\xC3\xA9\0\xE9", 7),
         {QStringLiteral("René")}}, // what follows a NUL does not choose the code page
    };
    for (const TBreakCase& c : cases)
        EXPECT_EQ(Lines(c.Bytes), c.Lines) << c.Bytes.toHex().constData();
}

const THandHistoryEncoding Encodings[] = {THandHistoryEncoding::Utf8, THandHistoryEncoding::Utf8Bom,
                                          THandHistoryEncoding::Utf16LEBom, THandHistoryEncoding::Utf16BEBom,
                                          THandHistoryEncoding::Windows1252};

TEST(StringList2, NulEndsTheTextInEveryEncoding)
{
    const QStringList written = {QStringLiteral("Hand #1-1 - Šimon"),
                                 QStringLiteral("Žaneta") + QChar(0) + QStringLiteral("rest"),
                                 QStringLiteral("after")};
    const QStringList expected = {QStringLiteral("Hand #1-1 - Šimon"), QStringLiteral("Žaneta")};
    for (const THandHistoryEncoding encoding : Encodings)
        EXPECT_EQ(Lines(EncodeHandHistory(written, encoding)), expected) << static_cast<int>(encoding);
}

TEST(StringList2, EveryEncodingAndBreakGivesTheSameLinesAndRows)
{
    QTemporaryDir dir;
    THandGenerator generator(11);
    const TGeneratedFile file = generator.MakeFile(QStringLiteral("Birch"), QDate(2026, 3, 4), 60, 500);
    ASSERT_FALSE(file.Expected.isEmpty());
    TImportFixture reference;
    reference.Import(file.Lines);
    int variant = 0;
    for (const THandHistoryEncoding encoding : Encodings) {
        for (const QString& lineBreak :
             {QStringLiteral("\r\n"), QStringLiteral("\n"), QStringLiteral("\r")}) {
            const QString path = dir.filePath(QStringLiteral("HH%1.txt").arg(++variant));
            WriteHandHistory(path, file.Lines, encoding, lineBreak);
            TStringList2 list;
            list.LoadFromFile(path);
            ASSERT_EQ(list, file.Lines) << "encoding " << static_cast<int>(encoding) << ", break "
                                        << lineBreak.toLatin1().toHex().constData();
            TImportFixture f;
            EXPECT_EQ(f.Import(list), file.Expected.size());
            EXPECT_EQ(f.MasterRows(), reference.MasterRows());
            EXPECT_EQ(f.DetailRows(), reference.DetailRows());
        }
    }
}

TEST(StringList2, LoadingReplacesTheContent)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("empty.txt"));
    WriteHandHistory(path, {});
    TStringList2 list;
    list << QStringLiteral("old");
    list.LoadFromFile(path);
    EXPECT_TRUE(list.isEmpty());
    WriteHandHistory(path, {QStringLiteral("one"), QStringLiteral("two")});
    list.LoadFromFile(path);
    list.LoadFromFile(path);
    EXPECT_EQ(list, (QStringList{QStringLiteral("one"), QStringLiteral("two")}));
}

TEST(StringList2, LinesAreIndependentStrings)
{
    // The lines share one decoded buffer; changing or keeping one must never
    // touch another, nor outlive the list badly.
    QString kept;
    {
        TStringList2 list;
        list.LoadFromBytes("first\r\nsecond\nthird");
        ASSERT_EQ(list.size(), 3);
        EXPECT_EQ(QStringView(list[0]).data()[list[0].size()], u'\0');
        EXPECT_EQ(QStringView(list[1]).data()[list[1].size()], u'\0');
        list[0].append(QStringLiteral(" and much more than fits before the next line"));
        list[1][0] = u'S';
        EXPECT_EQ(list, (QStringList{QStringLiteral("first and much more than fits before the next line"),
                                     QStringLiteral("Second"), QStringLiteral("third")}));
        kept = list[2];
        QStringList alone = list.mid(2);
        list.clear();
        alone[0].append(u'!');
        EXPECT_EQ(alone[0], QStringLiteral("third!"));
    }
    EXPECT_EQ(kept, QStringLiteral("third"));
    kept.append(QStringLiteral(" grows alone"));
    EXPECT_EQ(kept, QStringLiteral("third grows alone"));
}

// Only a regular file is read: a pipe would wait for a writer for ever and a
// device would give bytes until the memory ran out. Each case must raise, not hang.
TEST(StringList2, AnythingButARegularFileRaises)
{
    QTemporaryDir dir;
    const QString fifo = dir.filePath(QStringLiteral("HH2026-01-01 Pipe.txt"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString zero = dir.filePath(QStringLiteral("HH2026-01-01 Zero.txt"));
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), zero));
    const QString pipeLink = dir.filePath(QStringLiteral("HH2026-01-01 PipeLink.txt"));
    ASSERT_TRUE(QFile::link(fifo, pipeLink));
    const QString folder = dir.filePath(QStringLiteral("HH2026-01-01 Folder.txt"));
    ASSERT_TRUE(QDir().mkpath(folder));
    for (const QString& path : {dir.filePath(QStringLiteral("missing.txt")), dir.path(), folder, fifo, zero,
                                pipeLink, QStringLiteral("/dev/null")}) {
        TStringList2 list;
        EXPECT_THROW(list.LoadFromFile(path), TError) << path.toStdString();
    }
}

TEST(StringList2, AFileOverTheLimitRaisesBeforeItIsRead)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("HH2026-01-01 Big.txt"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("Hand #1\r\n");
    file.close();
    struct TCase
    {
        qint64 Limit;
        bool Reads;
    };
    // The file holds 9 bytes: the limit itself is still read.
    for (const TCase& c : {TCase{9, true}, TCase{8, false}, TCase{0, false}}) {
        TStringList2 list;
        if (c.Reads) {
            list.LoadFromFile(path, c.Limit);
            EXPECT_EQ(list, QStringList{"Hand #1"});
        } else {
            EXPECT_THROW(list.LoadFromFile(path, c.Limit), TError) << c.Limit;
        }
    }
    // The real limit, on a sparse file one byte past it: nothing is read into memory.
    ASSERT_TRUE(file.resize(TStringList2::MaxFileBytes + 1));
    TStringList2 list;
    EXPECT_THROW(list.LoadFromFile(path), TError);
}

TEST(StringList2, ReadsAFileAnotherProcessHoldsOpenForWriting)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("HH2026-03-04 Birch.txt"));
    // The writer keeps the file open and half written while we read it.
    QProcess writer;
    writer.start(
        QStringLiteral("sh"),
        {QStringLiteral("-c"),
         QStringLiteral("exec 3>\"$0\"; printf 'Hand #1-1 - 2026-03-04 10:00:00\\r\\nGame: x\\r\\nTab' >&3; "
                        "echo ready; read stop"),
         path});
    ASSERT_TRUE(writer.waitForStarted());
    ASSERT_TRUE(writer.waitForReadyRead(10000));
    EXPECT_EQ(writer.readAll().trimmed(), "ready");
    TStringList2 list;
    list.LoadFromFile(path);
    EXPECT_EQ(list, (QStringList{QStringLiteral("Hand #1-1 - 2026-03-04 10:00:00"), QStringLiteral("Game: x"),
                                 QStringLiteral("Tab")}));
    writer.write("\n");
    writer.closeWriteChannel();
    EXPECT_TRUE(writer.waitForFinished(10000));
}

} // namespace
