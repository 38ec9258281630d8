// SPDX-License-Identifier: BSD-3-Clause
#include "orbix/design/DesignDrawing.h"

#include <algorithm>
#include <memory>

#include "orbix/model/modCommon.h"
#include "orbix/model/modConnect.h"
#include "orbix/model/modOrbix.h"

namespace {
template <typename T>
bool Contains(const std::vector<T>& v, const T& x) {
    return std::find(v.begin(), v.end(), x) != v.end();
}
}  // namespace

std::int16_t DesignDrawing::Element(std::int16_t site) const {
    auto it = std::find(sites_.begin(), sites_.end(), site);
    return it == sites_.end() ? 0 : elements_[it - sites_.begin()];
}

bool DesignDrawing::Occupied(std::int16_t site) const { return Contains(sites_, site); }

bool DesignDrawing::IsSelected(std::int16_t site) const { return Contains(selected_, site); }

void DesignDrawing::Reset() {
    sites_.clear();
    elements_.clear();
    selected_.clear();
    bonds_.Clear();
}

bool DesignDrawing::PlaceAtom(std::int16_t site, std::int16_t element) {
    if (site < 1 || site > modOrbix::kSiteCount || Occupied(site)) return false;
    view_.CreateTile(site, element);
    sites_.push_back(site);
    elements_.push_back(element);
    DocumentChanged = true;
    return true;
}

void DesignDrawing::SelClear() {
    for (std::int16_t s : sites_)
        if (view_.TileState(s) == 1) view_.RefreshTile(s);
    selected_.clear();
}

void DesignDrawing::SelAll() {
    for (std::int16_t s : sites_) Select(s);
}

void DesignDrawing::Select(std::int16_t site) {
    if (!Occupied(site) || view_.TileState(site) != 0) return;
    view_.SelectTile(site);
    if (!IsSelected(site)) selected_.push_back(site);
}

void DesignDrawing::Deselect(std::int16_t site) {
    if (!Occupied(site) || view_.TileState(site) != 1) return;
    view_.RefreshTile(site);
    selected_.erase(std::remove(selected_.begin(), selected_.end(), site), selected_.end());
}

bool DesignDrawing::AddBond(std::int16_t a, std::int16_t b) {
    if (a > b) modCommon::SwapValues(a, b);
    auto bond = std::make_shared<CBond>();
    bond->Index1(a);
    bond->Index2(b);
    return bonds_.Add(bond);
}

void DesignDrawing::RemoveBond(std::int16_t a, std::int16_t b) {
    const std::string key = std::to_string(a) + "," + std::to_string(b);
    bonds_.Remove(key);
    view_.RemoveBondLine(key);
}

void DesignDrawing::ConnectAtom(const std::vector<std::int16_t>& sites) {
    // A copy: the selection is cleared below while the caller's list may be it.
    const std::vector<std::int16_t> chosen = sites;
    if (chosen.size() == 2) {
        std::int16_t a = chosen[0], b = chosen[1];
        if (a > b) modCommon::SwapValues(a, b);
        if (AddBond(a, b)) view_.DrawBondLine(a, b);
    } else {
        std::vector<modConnect::SitePair> pairs;
        if (modConnect::FindLinkedPairs(chosen, pairs) != 0)
            for (const auto& p : pairs)
                if (AddBond(p.a, p.b)) view_.DrawBondLine(p.a, p.b);
    }
    SelClear();
    DocumentChanged = true;
}

void DesignDrawing::DeleteConnect(bool touching) {
    if (!selected_.empty()) {
        std::vector<std::shared_ptr<CBond>> marked;
        for (const auto& b : bonds_) {
            const bool i1 = IsSelected(b->Index1()), i2 = IsSelected(b->Index2());
            if (touching ? (i1 || i2) : (i1 && i2)) marked.push_back(b);
        }
        for (const auto& b : marked) RemoveBond(b->Index1(), b->Index2());
    }
    DocumentChanged = true;
}

void DesignDrawing::DeleteAtom(bool /*all*/) {
    DeleteConnect(true);
    view_.ProcessEvents();
    for (size_t i = 0; i < sites_.size();) {
        const std::int16_t s = sites_[i];
        if (view_.TileState(s) != 0) {
            view_.RemoveTile(s);
            sites_.erase(sites_.begin() + static_cast<long>(i));
            elements_.erase(elements_.begin() + static_cast<long>(i));
            selected_.erase(std::remove(selected_.begin(), selected_.end(), s), selected_.end());
        } else {
            ++i;
        }
    }
    DocumentChanged = true;
}

std::string DesignDrawing::Serialize() const {
    std::vector<MoleculeFile::PlacedAtom> atoms;
    for (size_t i = 0; i < sites_.size(); ++i) atoms.push_back({sites_[i], elements_[i]});
    return MoleculeFile::SerializeDrawing(atoms, bonds_);
}

void DesignDrawing::Load(const MoleculeFile::Drawing& drawing) {
    Reset();
    for (const auto& a : drawing.atoms) PlaceAtom(a.site, a.element);
    for (const auto& b : drawing.bonds)
        if (AddBond(b->Index1(), b->Index2())) view_.DrawBondLine(b->Index1(), b->Index2());
}
