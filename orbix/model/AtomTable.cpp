// SPDX-License-Identifier: BSD-3-Clause
#include "orbix/model/AtomTable.h"

#include "orbix/model/RunTimeError.h"

namespace {

char Folded(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

std::string Key(const std::string& caption) {
    std::string key = caption;
    for (char& c : key) c = Folded(c);
    return key;
}

}  // namespace

bool SameKey(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (Folded(a[i]) != Folded(b[i])) return false;
    return true;
}

const std::shared_ptr<clsAtom>& AtomTable::Item(int position) const {
    if (position < 1 || position > Count()) orbix::RaiseSubscript();
    return items_[position - 1];
}

std::shared_ptr<clsAtom> AtomTable::Find(const std::string& caption) const {
    const auto it = positions_.find(Key(caption));
    return it == positions_.end() ? nullptr : items_[it->second];
}

bool AtomTable::Add(std::shared_ptr<clsAtom> atom) {
    if (!positions_.try_emplace(Key(atom->Caption()), items_.size()).second) return false;
    items_.push_back(std::move(atom));
    return true;
}

void AtomTable::Clear() {
    items_.clear();
    positions_.clear();
}
