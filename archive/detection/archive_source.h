#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

// Random access to the bytes of a file under detection. Reads are positioned
// and may come back short (the file may have shrunk); a read that fails with
// an input/output error throws EInOutError.
class ArchiveSource {
public:
    virtual ~ArchiveSource();

    // The size in bytes, or nothing when it cannot be taken.
    virtual std::optional<int64_t> Size() = 0;
    // Reads up to count bytes at position; returns how many came. A negative
    // position is a failed seek and returns nothing.
    virtual std::optional<size_t> ReadAt(int64_t position, uint8_t* buffer, size_t count) = 0;
};

// Counts what a detection reads, so the bound can be checked.
class CountingSource final : public ArchiveSource {
public:
    explicit CountingSource(ArchiveSource& inner) : inner_(inner) {}

    std::optional<int64_t> Size() override { return inner_.Size(); }
    std::optional<size_t> ReadAt(int64_t position, uint8_t* buffer, size_t count) override;

    int64_t BytesRequested() const { return requested_; }

private:
    ArchiveSource& inner_;
    int64_t requested_ = 0;
};
