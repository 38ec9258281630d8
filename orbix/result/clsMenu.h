// SPDX-License-Identifier: BSD-3-Clause
#pragma once
// The scene navigator of the result window.
//
// Scenes 1-12 are the nodes of the scene tree in the order they are added;
// 1, 3, 7 and 10 are group headings with no page. Next and Back step through
// the pages and skip the headings; on scenes 11 and 12 they first step
// through the orbitals.

#include <cstdint>
#include <memory>

#include "orbix/calc/PageSurface.h"

// What the navigator draws on and marks.
class SceneView {
  public:
    virtual ~SceneView() = default;
    // Marks tree node `scene` as selected, without running its click.
    virtual void ChangeMenu(std::int16_t scene) = 0;
    virtual modCalculation::PageSurface& Surface() = 0;
    virtual modCalculation::EigenGrid& Grid() = 0;
};

class clsMenu {
  public:
    explicit clsMenu(SceneView& view) : view_(view) {}

    // SceneNo below 3: the root or the first page.
    bool TopFlag() const;
    // The 3-D scene at the last orbital.
    bool EndFlag() const;
    // Shows `scene` (or, for 0 or less, the current one) from its first orbital.
    void Show(std::int16_t scene);
    void ForwardScene();
    void BackScene();

    std::int16_t SceneNo() const { return SceneNo_; }
    std::int16_t OrbitalIndex() const { return OrbitalIndex_; }
    // The scene and orbital index of the page on the surface (scene 0 before
    // any): a group heading leaves the page as it was.
    std::int16_t PageScene() const { return pageScene_; }
    std::int16_t PageOrbital() const { return pageOrbital_; }

    // The scene Next and Back move to from each scene (index 1-12).
    static std::int16_t ForwardOf(std::int16_t scene);
    static std::int16_t BackwardOf(std::int16_t scene);

  private:
    void NextScene();
    void PreviousScene();
    void ShowScene();

    SceneView& view_;
    std::int16_t SceneNo_ = 0;
    std::int16_t OrbitalIndex_ = 0;
    std::int16_t pageScene_ = 0;
    std::int16_t pageOrbital_ = 0;
};

// The navigator of the current result window.
extern std::shared_ptr<clsMenu> CurrentMenu;
