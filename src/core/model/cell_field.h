#pragma once

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <new>

namespace zentorix {

// Highest index stored on either axis. The largest field (999) reads neighbours up
// to 1001 and updates up to 1000, so storage reaches two cells past 999.
inline constexpr int kGridHigh = 1001;
// Lowest index of the Main Field, the staging grid and the clipboard; every other
// grid starts at kLayerLow.
inline constexpr int kMainLow = -11;
inline constexpr int kLayerLow = -3;

// Writes to grids that their owner has put off: the first access to any of
// the grids gets them done, so every reader still sees the cells as they are.
class DeferredWrites {
  public:
    virtual void Complete() = 0;

  protected:
    ~DeferredWrites() = default;
};

// One grid layer addressed [x][y] with signed indices from Low() to kGridHigh on
// both axes. Allocated once and zeroed lazily by the system, so grids that are
// never touched (clipboard, staging) cost no resident memory.
template <typename T>
class CellField {
  public:
    explicit CellField(int low)
        : low_(low),
          side_(kGridHigh - low + 1),
          cells_(static_cast<T*>(std::calloc(static_cast<std::size_t>(side_) * side_, sizeof(T)))) {
        if (!cells_)
            throw std::bad_alloc();
    }
    CellField(const CellField&) = delete;
    CellField& operator=(const CellField&) = delete;

    int Low() const { return low_; }
    static constexpr int High() { return kGridHigh; }
    int Side() const { return side_; }
    bool Contains(int x, int y) const {
        return x >= low_ && x <= kGridHigh && y >= low_ && y <= kGridHigh;
    }

    T& at(int x, int y) {
        Settle();
        ++version_;
        return cells_.get()[Index(x, y)];
    }
    T at(int x, int y) const {
        Settle();
        return cells_.get()[Index(x, y)];
    }

    // Reads a cell, giving 0 outside the stored range.
    T Get(int x, int y) const { return Contains(x, y) ? at(x, y) : T{}; }
    // Writes a cell; writes outside the stored range are dropped.
    void Set(int x, int y, T v) {
        ++version_;
        if (Contains(x, y))
            at(x, y) = v;
    }

    // Pointer to cell (x, Low()): the cells of one column are contiguous in y.
    T* Column(int x) {
        Settle();
        ++version_;
        return cells_.get() + static_cast<std::ptrdiff_t>(x - low_) * side_;
    }
    const T* Column(int x) const {
        Settle();
        return cells_.get() + static_cast<std::ptrdiff_t>(x - low_) * side_;
    }
    T* Data() {
        Settle();
        ++version_;
        return cells_.get();
    }
    const T* Data() const {
        Settle();
        return cells_.get();
    }

    // Gets writes put off by the grid's owner done. Every access does it; code
    // that hands columns to worker threads calls it first, on its own thread.
    void Settle() const {
        if (deferred_) [[unlikely]]
            deferred_->Complete();
    }
    // The owner of put-off writes takes the grid: its cells change (the
    // version grows) though nothing is written yet. Null gives it back.
    void Defer(DeferredWrites* by) {
        deferred_ = by;
        if (by)
            ++version_;
    }
    const DeferredWrites* DeferredBy() const { return deferred_; }
    // The cells as they are stored, writes put off or not, for their owner.
    T* Stored() { return cells_.get(); }
    const T* Stored() const { return cells_.get(); }

    // Sets every cell of the rectangle (clipped to the stored range) to v.
    void FillRect(int x0, int y0, int x1, int y1, T v) {
        Settle();
        ++version_;
        Clip(low_, x0, y0, x1, y1);
        for (int x = x0; x <= x1; ++x) {
            T* col = Column(x);
            for (int y = y0; y <= y1; ++y)
                col[y - low_] = v;
        }
    }
    void Clear() { FillRect(low_, low_, kGridHigh, kGridHigh, T{}); }

    // Copies the rectangle (clipped to both grids) from another grid.
    template <typename U>
    void CopyRect(const CellField<U>& from, int x0, int y0, int x1, int y1) {
        Settle();
        ++version_;
        Clip(low_ > from.Low() ? low_ : from.Low(), x0, y0, x1, y1);
        for (int x = x0; x <= x1; ++x)
            for (int y = y0; y <= y1; ++y)
                at(x, y) = static_cast<T>(from.at(x, y));
    }

    // Grows with every access that can write the grid (any non-const access),
    // so a reader can tell reliably that the cells are still as it saw them.
    std::uint64_t Version() const { return version_; }

  private:
    // Narrows a rectangle to the rows and columns low..kGridHigh.
    static void Clip(int low, int& x0, int& y0, int& x1, int& y1) {
        x0 = x0 < low ? low : x0;
        y0 = y0 < low ? low : y0;
        x1 = x1 > kGridHigh ? kGridHigh : x1;
        y1 = y1 > kGridHigh ? kGridHigh : y1;
    }
    std::ptrdiff_t Index(int x, int y) const {
        return static_cast<std::ptrdiff_t>(x - low_) * side_ + (y - low_);
    }

    struct FreeDeleter {
        void operator()(T* p) const { std::free(p); }
    };

    int low_;
    int side_;
    std::uint64_t version_ = 0;
    DeferredWrites* deferred_ = nullptr;
    std::unique_ptr<T, FreeDeleter> cells_;
};

using StateField = CellField<std::int32_t>;
using MarkField = CellField<std::uint8_t>;

// a mod n in 0..n-1 for a positive modulus, also for negative a.
inline int WrapIndex(int a, int n) {
    int r = a % n;
    return r < 0 ? r + n : r;
}

}  // namespace zentorix
