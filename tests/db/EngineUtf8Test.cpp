// Text bound as EngineUtf8's bytes must be stored exactly as the same text
// bound as UTF-16, whatever the units: the import relies on it for its rows.
#include "db/RakeDatabase.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sqlite3.h>

TEST(EngineUtf8, StoresTheSameBytesAsAUtf16Bind)
{
    QTemporaryDir dir;
    TRakeDatabase db(dir.path());
    db.OpenRakeDatabase();
    db.Execute(QStringLiteral("CREATE TABLE T (Way TEXT, Value TEXT)"));
    const struct
    {
        const char* Name;
        QString Text;
    } cases[] = {
        {"empty", QString()},
        {"ASCII", QStringLiteral("Oak 2026-11-03 21:04:59")},
        {"two- and three-byte letters", QStringLiteral("Bj\u00f6rn \u0160imon \u20ac")},
        {"a pair", QString::fromUtf16(u"x\U0001F600y")},
        {"a high surrogate alone at the end", QString::fromUtf16(u"ab\xD83D")},
        {"a high surrogate before a letter", QString::fromUtf16(u"\xD83Dz")},
        {"a low surrogate alone", QString::fromUtf16(u"a\xDE00"
                                                     u"b")},
        {"two high surrogates", QString::fromUtf16(u"\xD800\xDBFF")},
        {"the last BMP units", QString::fromUtf16(u"\xE000\xFFFD\xFFFF")},
        {"a NUL inside", QString::fromUtf16(u"a\0b", 3)},
    };
    QByteArray scratch;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        db.Execute(QStringLiteral("DELETE FROM T"));
        auto insert = db.Prepare("INSERT INTO T VALUES(?, ?)");
        insert->Bind_Str8(1, "16");
        insert->Bind_Str16(2, c.Text);
        insert->StepAndReset();
        EngineUtf8(c.Text, scratch);
        insert->Bind_Str8(1, "8");
        insert->Bind_Str8(2, scratch);
        insert->StepAndReset();
        auto both = db.Prepare("SELECT (SELECT hex(Value) FROM T WHERE Way = '16'), "
                               "(SELECT hex(Value) FROM T WHERE Way = '8')");
        ASSERT_EQ(both->Step(), SQLITE_ROW);
        const auto hex = [&](int column) {
            return QString::fromUtf8(
                reinterpret_cast<const char*>(sqlite3_column_text(both->Handle(), column)));
        };
        EXPECT_EQ(hex(1).toStdString(), hex(0).toStdString());
    }
}
