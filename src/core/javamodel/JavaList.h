#pragma once
// CJavaList: the fixed-capacity owning list every collection of the Java model is built on.
//
// A list holds at most kJavaListCapacity entries (255, not 256); entries 0 .. count-1 are
// never null. The list owns what it holds: Remove deletes the entry, Clear deletes all, and
// destroying the list deletes what it still holds. Failures are quiet, as the model's callers
// expect: a full list refuses an Add, an index outside the list is ignored.

#include <memory>
#include <utility>
#include <vector>

namespace tovin {

inline constexpr int kJavaListCapacity = 255;

template <class T> class CJavaList {
public:
    CJavaList() = default;
    CJavaList(CJavaList&&) noexcept = default;
    CJavaList& operator=(CJavaList&&) noexcept = default;
    CJavaList(const CJavaList&) = delete;
    CJavaList& operator=(const CJavaList&) = delete;
    ~CJavaList() = default;

    // Appends the entry and returns 1. Returns 0 when the list is full (or entry is null): the
    // list is unchanged and `entry` still owns the object, so a caller that drops it simply
    // lets it go out of scope. The object is moved out of `entry` only on success.
    int Add(std::unique_ptr<T>&& entry) {
        if (!entry || GetCount() >= kJavaListCapacity) {
            return 0;
        }
        m_items.push_back(std::move(entry));
        return 1;
    }

    int GetCount() const { return static_cast<int>(m_items.size()); }

    // The entry at index, or nullptr when index is below 0 or not below the count.
    T* Item(int index) const {
        return index >= 0 && index < GetCount() ? m_items[static_cast<size_t>(index)].get()
                                                : nullptr;
    }

    // Deletes the entry and moves every later one down by one place; ignored outside the list.
    void Remove(int index) {
        if (index >= 0 && index < GetCount()) {
            m_items.erase(m_items.begin() + index);
        }
    }

    void Clear() { m_items.clear(); }

    // Range-for over the entries (as `const std::unique_ptr<T>&`, never null).
    auto begin() const { return m_items.cbegin(); }
    auto end() const { return m_items.cend(); }

private:
    std::vector<std::unique_ptr<T>> m_items;
};

} // namespace tovin
