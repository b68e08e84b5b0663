#pragma once

#include <QString>
#include <QStringList>

// Builds a list of lines that all share the one buffer of a decoded text: no
// allocation per line, and each line is still a QString of its own
// (copy-on-write, as any other). A large text's lines then take its own size
// and the list, rather than as much again and a block per line. A line kept on
// its own keeps the whole buffer alive; copy it to hold it for long.
//
// Qt's public API has no way to share part of a buffer, so the strings and the
// list's storage are built through Qt's array internals: copying each line
// instead (QStringList::emplaceBack) made the whole import run 6% more
// instructions (callgrind, bench/import's corpus).
class TSharedLines
{
public:
    // The text must not be empty; expectedLines: room made up front.
    TSharedLines(QString& text, qsizetype expectedLines)
        : FWhole(text.data_ptr()), FData(reinterpret_cast<char16_t*>(text.data())), FSize(text.size()),
          FLines(QTypedArrayData<QString>::allocate(expectedLines))
    {
    }

    char16_t* Data() const { return FData; }

    // Adds the units [start, end). The break after the line becomes its
    // terminating NUL; the last line ends where the text does, already
    // terminated.
    void Add(qsizetype start, qsizetype end)
    {
        if (end < FSize)
            FData[end] = u'\0';
        // The buffer is this thread's alone until the list is handed out, so
        // the count needs no locked increment (one per line adds up).
        QBasicAtomicInt& count = FWhole.d_ptr()->ref_;
        count.storeRelaxed(count.loadRelaxed() + 1);
        if (FLines.freeSpaceAtEnd() == 0)
            FLines.detachAndGrow(QArrayData::GrowsAtEnd, 1, nullptr, nullptr);
        new (FLines.end()) QString(QString::DataPointer(FWhole.d_ptr(), FData + start, end - start));
        ++FLines.size;
    }

    QStringList Take() { return QStringList(std::move(FLines)); }

private:
    QString::DataPointer& FWhole;
    char16_t* FData;
    qsizetype FSize;
    QArrayDataPointer<QString> FLines;
};
