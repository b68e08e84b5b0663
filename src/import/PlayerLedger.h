#pragma once

#include <QCollator>
#include <QString>
#include <QStringView>
#include <vector>

// What one player of the hand being read has put in.
struct TPlayer
{
    double Bet = 0;   // in the current betting round
    double Total = 0; // in the closed rounds of this hand
};

// The players of one hand, each name once, in sorted order. Names are compared
// by the user's locale without regard to letter case, so "ann" and "Ann" are one
// player under the spelling met first; when the locale calls two names equal
// that differ in more than case (an accent written two ways, an ignorable
// character), a plain case-insensitive compare keeps them apart, because
// merging them would hand one player's share to another.
class TPlayerLedger
{
public:
    struct TEntry
    {
        QString Name; // its storage is kept from hand to hand
        TPlayer Player;
        double Share = 0; // the proportional share, once the hand is finished
    };

    TPlayerLedger();

    // The player of that name, added with nothing put in when new.
    TPlayer& FindOrAdd(QStringView name);
    // nullptr when the name is not in the ledger.
    TPlayer* Find(QStringView name);

    // Entries past the count are kept with their names' storage for the next
    // hand: a text of thousands of hands then allocates for players only at
    // its start, and the heap stays unfragmented for the database's work.
    void Clear() { FCount = 0; }
    qsizetype Count() const { return FCount; }
    bool IsEmpty() const { return FCount == 0; }

    std::vector<TEntry>::iterator begin() { return FEntries.begin(); }
    std::vector<TEntry>::iterator end() { return FEntries.begin() + FCount; }
    std::vector<TEntry>::const_iterator begin() const { return FEntries.begin(); }
    std::vector<TEntry>::const_iterator end() const { return FEntries.begin() + FCount; }

    // The ledger's order: < 0, 0 (the same player) or > 0.
    int Compare(QStringView a, QStringView b) const;

private:
    // Index of the name's entry, or the place to insert it (found false).
    qsizetype Search(QStringView name, bool& found) const;

    QCollator FCollator;
    std::vector<TEntry> FEntries;
    qsizetype FCount = 0;
};
