#pragma once

#include <QCollator>
#include <QString>
#include <QStringView>
#include <iterator>
#include <set>
#include <vector>

// What one player of the hand being read has put in.
struct TPlayer
{
    double Bet = 0;   // in the betting round Round
    double Total = 0; // in the closed rounds before it
    // The round Bet belongs to. A round closes for all players at once by
    // counting (TPlayerLedger::NextRound); a player's bet joins the total
    // when the player acts in a later round, or when the hand ends.
    unsigned Round = 0;
};

// The players of one hand, each name once, in sorted order. Names are compared
// by the user's locale without regard to letter case, so "ann" and "Ann" are one
// player under the spelling met first; when the locale calls two names equal
// that differ in more than case (an accent written two ways, an ignorable
// character), a plain case-insensitive compare keeps them apart, because
// merging them would hand one player's share to another.
class TPlayerLedger
{
    // Orders entry indices by their names, and a name among them.
    struct TByName
    {
        using is_transparent = void;
        const TPlayerLedger* Ledger;
        bool operator()(qsizetype a, qsizetype b) const
        {
            return Order(Ledger->FEntries[a].Name, Ledger->FEntries[b].Name);
        }
        bool operator()(qsizetype a, QStringView b) const { return Order(Ledger->FEntries[a].Name, b); }
        bool operator()(QStringView a, qsizetype b) const { return Order(a, Ledger->FEntries[b].Name); }
        bool Order(QStringView a, QStringView b) const { return Ledger->Compare(a, b) < 0; }
    };

    using TOrder = std::set<qsizetype, TByName>;

public:
    struct TEntry
    {
        QString Name; // its storage is kept from hand to hand
        TPlayer Player;
        double Share = 0; // the proportional share, once the hand is finished
    };

    // Walks the entries in ledger order.
    template <class Entry> class TIterator
    {
    public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = TEntry;
        using difference_type = std::ptrdiff_t;
        using pointer = Entry*;
        using reference = Entry&;

        TIterator() = default;
        Entry& operator*() const { return FByOrder ? FEntries[*FNode] : *FAt; }
        Entry* operator->() const { return &**this; }
        TIterator& operator++()
        {
            if (FByOrder)
                ++FNode;
            else
                ++FAt;
            return *this;
        }
        TIterator operator++(int)
        {
            TIterator before = *this;
            ++*this;
            return before;
        }
        bool operator==(const TIterator& other) const
        {
            return FByOrder ? FNode == other.FNode : FAt == other.FAt;
        }

    private:
        friend class TPlayerLedger;
        using TNode = TOrder::const_iterator;
        explicit TIterator(Entry* at) : FAt(at) {}
        TIterator(Entry* entries, TNode node) : FEntries(entries), FNode(node), FByOrder(true) {}

        Entry* FAt = nullptr;
        Entry* FEntries = nullptr;
        TNode FNode;
        bool FByOrder = false;
    };
    using iterator = TIterator<TEntry>;
    using const_iterator = TIterator<const TEntry>;

    TPlayerLedger();
    // The order index refers to the ledger itself.
    TPlayerLedger(const TPlayerLedger&) = delete;
    TPlayerLedger& operator=(const TPlayerLedger&) = delete;

    // The player of that name, added with nothing put in when new.
    TPlayer& FindOrAdd(QStringView name);
    // nullptr when the name is not in the ledger.
    TPlayer* Find(QStringView name);

    // Entries past the count are kept with their names' storage for the next
    // hand: a text of thousands of hands then allocates for players only at
    // its start, and the heap stays unfragmented for the database's work.
    void Clear()
    {
        FCount = 0;
        FOrder.clear();
        FRound = 0;
    }
    // Closes the betting round: a hand of many players and many rounds
    // would otherwise walk every player at every round.
    void NextRound() { ++FRound; }
    unsigned Round() const { return FRound; }
    qsizetype Count() const { return FCount; }
    bool IsEmpty() const { return FCount == 0; }

    iterator begin()
    {
        return FOrder.empty() ? iterator(FEntries.data()) : iterator(FEntries.data(), FOrder.begin());
    }
    iterator end()
    {
        return FOrder.empty() ? iterator(FEntries.data() + FCount) : iterator(FEntries.data(), FOrder.end());
    }
    const_iterator begin() const
    {
        return FOrder.empty() ? const_iterator(FEntries.data())
                              : const_iterator(FEntries.data(), FOrder.begin());
    }
    const_iterator end() const
    {
        return FOrder.empty() ? const_iterator(FEntries.data() + FCount)
                              : const_iterator(FEntries.data(), FOrder.end());
    }

    // The ledger's order: < 0, 0 (the same player) or > 0.
    int Compare(QStringView a, QStringView b) const;

private:
    // A table seats a handful of players: up to this many, the entries stand
    // in ledger order and a name is found by a walk for its exact spelling
    // first. Past it (only a made-up text seats more) a new entry is appended
    // and its place kept in FOrder, so that no search or insert walks them all.
    static constexpr qsizetype SmallCount = 32;

    // Index of the name's entry, or the place to insert it (found false).
    qsizetype Search(QStringView name, bool& found) const;
    // The same past SmallCount: the entry's index, or -1.
    qsizetype SearchOrder(QStringView name, TOrder::const_iterator& place) const;
    TEntry& TakeSpare(QStringView name);
    // Out of line, so that a table's few players pay nothing for it.
    Q_NEVER_INLINE TPlayer& FindOrAddInOrder(QStringView name);

    QCollator FCollator;
    std::vector<TEntry> FEntries;
    qsizetype FCount = 0;
    TOrder FOrder{TByName{this}}; // empty up to SmallCount
    unsigned FRound = 0;
};
