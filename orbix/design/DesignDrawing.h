// SPDX-License-Identifier: BSD-3-Clause
#pragma once
// The drawing of the design window and its editing operations: placing,
// selecting, connecting and deleting atoms and bonds. The window supplies the
// tiles and lines through DrawingView; this class keeps the collections and
// the changed flag consistent with them.

#include <cstdint>
#include <string>
#include <vector>

#include "orbix/model/BondCollection.h"
#include "orbix/model/MoleculeFile.h"

// What the drawing needs of the window's tiles and bond lines.
class DrawingView {
  public:
    virtual ~DrawingView() = default;
    virtual void CreateTile(std::int16_t site, std::int16_t element) = 0;
    virtual void RemoveTile(std::int16_t site) = 0;
    virtual std::int16_t TileState(std::int16_t site) const = 0;
    virtual void SelectTile(std::int16_t site) = 0;   // the tile's Selected
    virtual void RefreshTile(std::int16_t site) = 0;  // the tile's Refresh
    // A line between the centres of two sites' markers, tagged "a,b".
    virtual void DrawBondLine(std::int16_t a, std::int16_t b) = 0;
    virtual void RemoveBondLine(const std::string& tag) = 0;
    // Lets pending window events run (the removed lines repaint).
    virtual void ProcessEvents() = 0;
};

class DesignDrawing {
  public:
    explicit DesignDrawing(DrawingView& view) : view_(view) {}

    // Occupied sites in placement order, with the element of each.
    const std::vector<std::int16_t>& colSites() const { return sites_; }
    const std::vector<std::int16_t>& colSelected() const { return selected_; }
    const BondCollection& colDesignBonds() const { return bonds_; }
    std::int16_t Element(std::int16_t site) const;
    bool Occupied(std::int16_t site) const;

    bool DocumentChanged = false;

    // Forgets the drawing (the window has removed its tiles and lines).
    void Reset();

    // A tile of `element` on a free site; false when the site is taken or out
    // of range.
    bool PlaceAtom(std::int16_t site, std::int16_t element);

    void SelClear();
    void SelAll();
    // Adds a tile to the selection (tile click, rubber band).
    void Select(std::int16_t site);
    // Takes a tile out of the selection (rubber band).
    void Deselect(std::int16_t site);

    void ConnectAtom(const std::vector<std::int16_t>& sites);
    void DeleteAtom(bool all);
    void DeleteConnect(bool touching);

    // Records one bond, smaller site first; false when already present.
    bool AddBond(std::int16_t a, std::int16_t b);
    void RemoveBond(std::int16_t a, std::int16_t b);

    // The drawing as molecule-file text ("" when there is no atom).
    std::string Serialize() const;
    // Rebuilds the drawing from a file's atoms and bonds, in file order; on
    // failure what was placed before the faulty entry stays.
    void Load(const MoleculeFile::Drawing& drawing);

  private:
    bool IsSelected(std::int16_t site) const;

    DrawingView& view_;
    std::vector<std::int16_t> sites_;
    std::vector<std::int16_t> elements_;  // parallel to sites_
    std::vector<std::int16_t> selected_;
    BondCollection bonds_;
};
