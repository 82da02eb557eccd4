#pragma once

#include <algorithm>
#include <iterator>
#include <cstddef>
#include <vector>

// A list of pointers that owns nothing: every schematic list, registry and
// pin list. Removal keeps the order of the rest, because positions are
// element numbers and matrix indices.
template <class T>
class TTypedList {
public:
    using iterator = typename std::vector<T*>::const_iterator;

    int Count() const { return int(items_.size()); }
    bool Empty() const { return items_.empty(); }
    T* operator[](int i) const { return items_[std::size_t(i)]; }
    T* First() const { return items_.front(); }
    T* Last() const { return items_.back(); }
    void Add(T* item) { items_.push_back(item); }
    void Insert(int index, T* item) { items_.insert(items_.begin() + index, item); }
    int IndexOf(const T* item) const {
        auto it = std::find(items_.begin(), items_.end(), item);
        return it == items_.end() ? -1 : int(it - items_.begin());
    }
    bool Contains(const T* item) const { return IndexOf(item) >= 0; }
    // Removes the item; returns false when it is absent. Every object joins
    // a list once, so the search runs from the back: objects that leave in
    // the reverse order of joining (a schematic being closed) leave at once.
    bool Remove(const T* item) {
        auto it = std::find(items_.rbegin(), items_.rend(), item);
        if (it == items_.rend()) return false;
        items_.erase(std::next(it).base());
        return true;
    }
    void Delete(int index) { items_.erase(items_.begin() + index); }
    void Clear() { items_.clear(); }
    iterator begin() const { return items_.begin(); }
    iterator end() const { return items_.end(); }
    const std::vector<T*>& Items() const { return items_; }

private:
    std::vector<T*> items_;
};
