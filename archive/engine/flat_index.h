#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <memory_resource>
#include <vector>

// Lookup tables for the target's records, which gain one or more entries for
// every file a run writes: each is one array searched by a 64-bit hash (open
// addressing), as walking, allocating and freeing list nodes cost more than
// the rest of an entry's checks on a run of many small files. Nothing is
// removed from them; their arrays come from the records' arena, which takes
// back a grown table's old array with the rest at the end of the run.
namespace flat_index {

// The slot a hash starts from in a table of 2^(64 - shift) slots: Fibonacci
// hashing of all but its low four bits picks a group of 16 slots, the low
// four bits the slot in the group. Hashes that differ only there (files made
// one after another get neighbouring inode numbers) land side by side, so a
// run's lookups stay within a few cache lines instead of one each.
inline std::size_t home(std::uint64_t hash, int shift)
{
    return static_cast<std::size_t>((((hash >> 4) * 0x9E3779B97F4A7C15ULL) >> (shift + 4)) << 4 |
                                    (hash & 15));
}

// Grown at half full, doubled from 32 slots. Keys come in runs that fill a
// whole group, and a run landing on a filled group spills into the next ones:
// at three quarters full, a search for a new key walked long chains of them.
inline bool full(std::size_t count, std::size_t slots)
{
    return (count + 1) * 2 > slots;
}

inline int shiftFor(std::size_t slots)
{
    return 64 - std::countr_zero(slots);
}

} // namespace flat_index

// The open-addressed array both tables below are: slots that are Slot{} when
// empty, a search from a hash's home slot, and growth that places every slot
// again by SlotHash.
template <class Slot, class SlotHash>
class FlatSlots {
protected:
    explicit FlatSlots(std::pmr::memory_resource* arena) : slots_(arena) {}

    // The slot the search for `hash` ends at: the first that `matches`, or
    // the empty one after the run of full slots. The table is not empty.
    template <class Matches>
    std::size_t search(std::uint64_t hash, const Matches& matches) const
    {
        std::size_t i = flat_index::home(hash, shift_);
        while (slots_[i] != Slot{} && !matches(slots_[i]))
            i = next(i);
        return i;
    }

    // Makes room for one more slot to be filled.
    void reserveOne()
    {
        if (flat_index::full(count_, slots_.size()))
            grow();
    }

    // Makes room for `count` slots in all, so that filling them grows nothing.
    void reserve(std::size_t count)
    {
        while (flat_index::full(count, slots_.size()))
            grow();
    }

    void fill(std::size_t i, Slot slot)
    {
        slots_[i] = slot;
        ++count_;
    }

    std::pmr::vector<Slot> slots_;

private:
    std::size_t next(std::size_t i) const { return (i + 1) & (slots_.size() - 1); }

    void grow()
    {
        std::pmr::vector<Slot> old(slots_.empty() ? 32 : slots_.size() * 2, slots_.get_allocator());
        old.swap(slots_);
        shift_ = flat_index::shiftFor(slots_.size());
        for (const Slot slot : old) {
            if (slot != Slot{})
                slots_[search(SlotHash()(slot), [](Slot) { return false; })] = slot;
        }
    }

    std::size_t count_ = 0;
    int shift_ = 64;
};

namespace flat_index {
template <class Record, class RecordHash>
struct HashOfRecord {
    std::uint64_t operator()(const Record* record) const { return RecordHash()(*record); }
};
struct KeyIsHash {
    std::uint64_t operator()(std::uint64_t key) const { return key; }
};
} // namespace flat_index

// Records kept elsewhere, found by the hash of their key and a test of the
// key. A slot holds the record alone, half the memory of one that also holds
// its hash: on a run of many entries that saves more page faults and cache
// misses than it costs to ask a grown table's records for their hashes again
// (RecordHash) and to test each record a search passes.
template <class Record, class RecordHash>
class RecordIndex : FlatSlots<Record*, flat_index::HashOfRecord<Record, RecordHash>> {
    using Base = FlatSlots<Record*, flat_index::HashOfRecord<Record, RecordHash>>;

public:
    explicit RecordIndex(std::pmr::memory_resource* arena) : Base(arena) {}

    // The record of `hash` that `matches`, or null.
    template <class Matches>
    Record* find(std::uint64_t hash, const Matches& matches) const
    {
        if (this->slots_.empty())
            return nullptr;
        return this->slots_[this->search(hash, byRecord(matches))];
    }

    using Base::reserve;

    // `record`, which no other record of the index matches, under `hash`.
    void insert(std::uint64_t hash, Record* record)
    {
        this->reserveOne();
        this->fill(this->search(hash, [](const Record*) { return false; }), record);
    }

    // find(), and when nothing matches, the record `make` answers is stored
    // under `hash` in the slot the search ended at (null is answered then).
    template <class Matches, class Make>
    Record* findOrAdd(std::uint64_t hash, const Matches& matches, const Make& make)
    {
        this->reserveOne();
        const std::size_t i = this->search(hash, byRecord(matches));
        if (this->slots_[i])
            return this->slots_[i];
        this->fill(i, make());
        return nullptr;
    }

private:
    template <class Matches>
    static auto byRecord(const Matches& matches)
    {
        return [&matches](const Record* record) { return matches(*record); };
    }
};

// A set of nonzero 64-bit keys.
class KeySet : FlatSlots<std::uint64_t, flat_index::KeyIsHash> {
public:
    explicit KeySet(std::pmr::memory_resource* arena) : FlatSlots(arena) {}

    bool contains(std::uint64_t key) const
    {
        return !slots_.empty() &&
               slots_[search(key, [key](std::uint64_t slot) { return slot == key; })] == key;
    }

    void insert(std::uint64_t key)
    {
        reserveOne();
        const std::size_t i = search(key, [key](std::uint64_t slot) { return slot == key; });
        if (slots_[i] != key)
            fill(i, key);
    }
};
