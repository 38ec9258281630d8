#include "orbix/model/AtomTable.h"

#include "orbix/model/RunTimeError.h"

bool SameKey(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
        if (x != y) return false;
    }
    return true;
}

const std::shared_ptr<clsAtom>& AtomTable::Item(int position) const {
    if (position < 1 || position > Count()) orbix::RaiseSubscript();
    return items_[position - 1];
}

std::shared_ptr<clsAtom> AtomTable::Find(const std::string& caption) const {
    for (const auto& a : items_)
        if (SameKey(a->Caption(), caption)) return a;
    return nullptr;
}

bool AtomTable::Add(std::shared_ptr<clsAtom> atom) {
    if (Find(atom->Caption())) return false;
    items_.push_back(std::move(atom));
    return true;
}
