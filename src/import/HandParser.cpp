#include "import/HandParser.h"

#include "import/HandRecord.h"
#include "import/ImportFormat.h"
#include "import/LineTests.h"
#include "import/RakeShares.h"

#include <algorithm>

namespace {

constexpr qsizetype MaxTableNameLength = 99;
constexpr qsizetype DateLength = 10;
constexpr qsizetype TimeLength = 8;

const QLatin1String HeaderStart("Hand #");
const QLatin1String GameStart("Game: ");
const QLatin1String TableStart("Table: ");
const QLatin1String DeckStart("** Deck **");
const QLatin1String SummaryStart("** Summary **");
const QLatin1String RoundStart("**");
const QLatin1String HoleCards("Hole Cards");
const QLatin1String RakeStart("Rake (");
const QLatin1String DateSeparator(" - ");

// Every hand sets its table, date and time; reusing the texts' storage saves
// three allocations a hand.
void Assign(QString& target, QStringView value)
{
    target.resize(value.size());
    std::copy(value.begin(), value.end(), target.begin());
}

// A header line starts a hand when it has a "-" and its number reads. Returns
// whether it did; the line is a header line either way.
bool ReadHeader(QStringView line, THandRecord& hand)
{
    const qsizetype dash = FindUnit(line, u'-');
    if (dash < 0)
        return false;
    const qint32 number = ReadWholeNumber(line.sliced(HeaderStart.size(), dash - HeaderStart.size()));
    if (number == 0)
        return false;
    hand.HandNumber = number;
    const qsizetype separator = FindText(line, DateSeparator);
    if (separator >= 0) {
        const QStringView rest = line.sliced(separator + DateSeparator.size());
        Assign(hand.Date, rest.first(qMin(DateLength, rest.size())));
        // One character between date and time is passed over.
        const QStringView time = rest.sliced(qMin(DateLength + 1, rest.size()));
        Assign(hand.Time, time.first(qMin(TimeLength, time.size())));
    } else {
        hand.Date.clear();
        hand.Time.clear();
    }
    hand.TableName.clear();
    hand.Rake = 0;
    hand.PlayerLedger.Clear();
    hand.State = THandState::AwaitGame;
    return true;
}

// A Game line of a tournament: a "+" from the first "(" on.
bool IsTournamentGame(QStringView line)
{
    const qsizetype open = FindUnit(line, u'(');
    return FindUnit(line.sliced(open < 0 ? 0 : open), u'+') >= 0;
}

void ReadRake(QStringView line, THandRecord& hand)
{
    const qsizetype close = FindUnit(line, u')');
    if (close < 0)
        return;
    hand.Rake += ReadAmount(line.sliced(RakeStart.size(), close - RakeStart.size()));
}

// One line of a hand's body. Returns whether the line ended the hand.
bool ReadHandLine(QStringView line, THandRecord& hand)
{
    if (BeginsWith(line, RoundStart)) {
        if (BeginsWith(line, DeckStart) || BeginsWith(line, SummaryStart))
            return true;
        if (FindText(line, HoleCards) < 0) {
            CloseRound(hand.PlayerLedger);
            return false;
        }
        // The hole-cards line keeps the blinds in the first round; it reads on
        // like any other line.
    }
    if (BeginsWith(line, RakeStart)) {
        ReadRake(line, hand);
        return false;
    }
    const TMarkerHit hit = FindLineAction(line);
    if (hit.Marker >= 0)
        ApplyActionAt(hand.PlayerLedger, line, hit);
    return false;
}

} // namespace

int ImportHands(THandSink& sink, const QStringList& lines)
{
    THandRecord hand;
    for (const QString& text : lines) {
        const QStringView line(text);
        if (BeginsWith(line, HeaderStart)) {
            ReadHeader(line, hand);
            continue;
        }
        switch (hand.State) {
        case THandState::BetweenHands:
            break;
        case THandState::AwaitGame:
            if (BeginsWith(line, GameStart)) {
                if (IsTournamentGame(line))
                    return hand.Written; // the hand in progress is dropped
                hand.State = THandState::AwaitTable;
            }
            break;
        case THandState::AwaitTable:
            if (BeginsWith(line, TableStart)) {
                const QStringView name = line.sliced(TableStart.size());
                Assign(hand.TableName, name.first(qMin(MaxTableNameLength, name.size())));
                hand.State = THandState::InHand;
            }
            break;
        case THandState::InHand:
            if (ReadHandLine(line, hand)) {
                hand.State = THandState::BetweenHands;
                if (FinishHand(hand)) {
                    sink.WriteHand(hand);
                    ++hand.Written;
                }
            }
            break;
        }
    }
    // A hand without its end line is dropped.
    return hand.Written;
}
