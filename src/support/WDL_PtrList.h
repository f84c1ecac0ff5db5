#pragma once
#include <vector>

// Ordered list of pointers. The owner decides whether removal deletes the
// element; DeleteAll deletes from the last element to the first.
template <class T>
class WDL_PtrList
{
public:
  WDL_PtrList() = default;
  WDL_PtrList(const WDL_PtrList&) = delete;
  WDL_PtrList& operator=(const WDL_PtrList&) = delete;

  int GetSize() const { return static_cast<int>(items_.size()); }
  T* Get(int idx) const { return idx >= 0 && idx < GetSize() ? items_[static_cast<size_t>(idx)] : nullptr; }
  T* const* GetList() const { return items_.data(); }

  T* Add(T* item)
  {
    items_.push_back(item);
    return item;
  }

  // Inserts at idx, or at the end when idx is past it.
  T* Insert(int idx, T* item)
  {
    if (idx < 0) idx = 0;
    if (idx >= GetSize()) return Add(item);
    items_.insert(items_.begin() + idx, item);
    return item;
  }

  void Delete(int idx, bool deleteItem)
  {
    if (idx < 0 || idx >= GetSize()) return;
    T* item = items_[static_cast<size_t>(idx)];
    items_.erase(items_.begin() + idx);
    if (deleteItem) delete item;
  }

  void DeleteAll(bool deleteItems)
  {
    if (deleteItems)
      for (int i = GetSize() - 1; i >= 0; --i) delete items_[static_cast<size_t>(i)];
    items_.clear();
  }

  int Find(const T* item) const
  {
    for (int i = 0; i < GetSize(); ++i)
      if (items_[static_cast<size_t>(i)] == item) return i;
    return -1;
  }

private:
  std::vector<T*> items_;
};
