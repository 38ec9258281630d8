// SPDX-License-Identifier: BSD-3-Clause
#include "orbix/model/BondCollection.h"

#include <algorithm>
#include <charconv>

#include "orbix/model/RunTimeError.h"

const std::shared_ptr<CBond>& BondCollection::Item(int position) const {
    if (position < 1 || position > Count()) orbix::RaiseSubscript();
    return items_[position - 1];
}

// Keys are "Index1,Index2" in plain decimal, so two keys are equal exactly
// when both site numbers are: the search compares numbers, and a key builds
// no text per bond.
namespace {

bool SameSites(const CBond& a, const CBond& b) {
    return a.Index1() == b.Index1() && a.Index2() == b.Index2();
}

// The bond whose key is key, when key has the form of one.
bool KeyedBond(const std::string& key, CBond& bond) {
    const auto comma = key.find(',');
    if (comma == std::string::npos) return false;
    std::int16_t a = 0, b = 0;
    const char* const first = key.data();
    const char* const last = first + key.size();
    if (std::from_chars(first, first + comma, a).ptr != first + comma ||
        std::from_chars(first + comma + 1, last, b).ptr != last)
        return false;
    bond.Index1(a);
    bond.Index2(b);
    return bond.Key() == key;  // "03,12" or "+3,12" is no bond's key
}

}  // namespace

bool BondCollection::Add(std::shared_ptr<CBond> bond) {
    for (const auto& b : items_)
        if (SameSites(*b, *bond)) return false;
    items_.push_back(std::move(bond));
    return true;
}

std::shared_ptr<CBond> BondCollection::Find(const std::string& key) const {
    CBond wanted;
    if (!KeyedBond(key, wanted)) return nullptr;
    for (const auto& b : items_)
        if (SameSites(*b, wanted)) return b;
    return nullptr;
}

bool BondCollection::Remove(const std::string& key) {
    CBond wanted;
    if (!KeyedBond(key, wanted)) return false;
    auto it = std::find_if(items_.begin(), items_.end(),
                           [&](const auto& b) { return SameSites(*b, wanted); });
    if (it == items_.end()) return false;
    items_.erase(it);
    return true;
}
