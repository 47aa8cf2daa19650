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

// Records kept elsewhere, found by the hash of their key and a test of the
// key. A slot holds the record alone, half the memory of one that also holds
// its hash: on a run of many entries that saves more page faults and cache
// misses than it costs to ask a grown table's records for their hashes again
// (RecordHash) and to test each record a search passes.
template <class Record, class RecordHash>
class RecordIndex {
public:
    explicit RecordIndex(std::pmr::memory_resource* arena) : slots_(arena) {}

    // The record of `hash` that `matches`, or null.
    template <class Matches>
    Record* find(std::uint64_t hash, const Matches& matches) const
    {
        if (slots_.empty())
            return nullptr;
        for (std::size_t i = flat_index::home(hash, shift_);; i = (i + 1) & (slots_.size() - 1)) {
            Record* record = slots_[i];
            if (!record || matches(*record))
                return record;
        }
    }

    // `record`, which no other record of the index matches, under `hash`.
    void insert(std::uint64_t hash, Record* record)
    {
        if (flat_index::full(count_, slots_.size()))
            grow();
        place(hash, record);
        ++count_;
    }

    // find(), and when nothing matches, the record `make` answers is stored
    // under `hash` in the slot the search ended at (null is answered then).
    template <class Matches, class Make>
    Record* findOrAdd(std::uint64_t hash, const Matches& matches, const Make& make)
    {
        if (flat_index::full(count_, slots_.size()))
            grow();
        std::size_t i = flat_index::home(hash, shift_);
        for (; slots_[i]; i = (i + 1) & (slots_.size() - 1)) {
            if (matches(*slots_[i]))
                return slots_[i];
        }
        slots_[i] = make();
        ++count_;
        return nullptr;
    }

private:
    void place(std::uint64_t hash, Record* record)
    {
        std::size_t i = flat_index::home(hash, shift_);
        while (slots_[i])
            i = (i + 1) & (slots_.size() - 1);
        slots_[i] = record;
    }
    void grow()
    {
        std::pmr::vector<Record*> old(slots_.empty() ? 32 : slots_.size() * 2,
                                      slots_.get_allocator());
        old.swap(slots_);
        shift_ = flat_index::shiftFor(slots_.size());
        for (Record* record : old) {
            if (record)
                place(RecordHash()(*record), record);
        }
    }

    std::pmr::vector<Record*> slots_;
    std::size_t count_ = 0;
    int shift_ = 64;
};

// A set of nonzero 64-bit keys.
class KeySet {
public:
    explicit KeySet(std::pmr::memory_resource* arena) : slots_(arena) {}

    bool contains(std::uint64_t key) const
    {
        if (slots_.empty())
            return false;
        for (std::size_t i = flat_index::home(key, shift_);; i = (i + 1) & (slots_.size() - 1)) {
            if (slots_[i] == key)
                return true;
            if (slots_[i] == 0)
                return false;
        }
    }

    void insert(std::uint64_t key)
    {
        if (flat_index::full(count_, slots_.size()))
            grow();
        std::size_t i = flat_index::home(key, shift_);
        for (; slots_[i] != 0; i = (i + 1) & (slots_.size() - 1)) {
            if (slots_[i] == key)
                return;
        }
        slots_[i] = key;
        ++count_;
    }

private:
    void place(std::uint64_t key)
    {
        std::size_t i = flat_index::home(key, shift_);
        while (slots_[i] != 0)
            i = (i + 1) & (slots_.size() - 1);
        slots_[i] = key;
    }
    void grow()
    {
        std::pmr::vector<std::uint64_t> old(slots_.empty() ? 32 : slots_.size() * 2,
                                            slots_.get_allocator());
        old.swap(slots_);
        shift_ = flat_index::shiftFor(slots_.size());
        for (const std::uint64_t key : old) {
            if (key != 0)
                place(key);
        }
    }

    std::pmr::vector<std::uint64_t> slots_;
    std::size_t count_ = 0;
    int shift_ = 64;
};
