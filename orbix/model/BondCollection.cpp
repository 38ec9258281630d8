#include "orbix/model/BondCollection.h"

#include <algorithm>

#include "orbix/model/RunTimeError.h"

const std::shared_ptr<CBond>& BondCollection::Item(int position) const {
    if (position < 1 || position > Count()) orbix::RaiseSubscript();
    return items_[position - 1];
}

bool BondCollection::Add(std::shared_ptr<CBond> bond) {
    if (Find(bond->Key())) return false;
    items_.push_back(std::move(bond));
    return true;
}

std::shared_ptr<CBond> BondCollection::Find(const std::string& key) const {
    for (const auto& b : items_)
        if (b->Key() == key) return b;
    return nullptr;
}

bool BondCollection::Remove(const std::string& key) {
    auto it =
        std::find_if(items_.begin(), items_.end(), [&](const auto& b) { return b->Key() == key; });
    if (it == items_.end()) return false;
    items_.erase(it);
    return true;
}
