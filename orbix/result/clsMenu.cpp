// SPDX-License-Identifier: BSD-3-Clause
#include "orbix/result/clsMenu.h"

#include <array>

#include "orbix/calc/Pages.h"
#include "orbix/model/RunTimeError.h"
#include "orbix/model/modOrbix.h"

std::shared_ptr<clsMenu> CurrentMenu;

namespace {

constexpr std::array<std::int16_t, 13> kForward = {0, 2, 4, 4, 5, 6, 8, 8, 9, 11, 11, 11, 12};
constexpr std::array<std::int16_t, 13> kBackward = {0, 1, 2, 2, 2, 4, 5, 6, 6, 8, 9, 9, 11};

std::int16_t Lookup(const std::array<std::int16_t, 13>& table, std::int16_t scene) {
    if (scene < 1 || scene > 12) orbix::RaiseSubscript();
    return table[scene];
}

std::int16_t OrbitalCount() { return modOrbix::CurrentMolecule->Count(); }

}  // namespace

std::int16_t clsMenu::ForwardOf(std::int16_t scene) { return Lookup(kForward, scene); }
std::int16_t clsMenu::BackwardOf(std::int16_t scene) { return Lookup(kBackward, scene); }

bool clsMenu::TopFlag() const { return SceneNo_ < 3; }

bool clsMenu::EndFlag() const { return SceneNo_ == 12 && OrbitalIndex_ + 1 == OrbitalCount(); }

void clsMenu::Show(std::int16_t scene) {
    if (scene > 0) SceneNo_ = scene;
    OrbitalIndex_ = 0;
    ShowScene();
}

void clsMenu::ForwardScene() {
    if (SceneNo_ == 11 || SceneNo_ == 12) {
        ++OrbitalIndex_;
        if (OrbitalIndex_ < OrbitalCount()) {
            view_.ChangeMenu(SceneNo_);
            ShowScene();
            return;
        }
    }
    OrbitalIndex_ = 0;
    NextScene();
}

void clsMenu::BackScene() {
    if (SceneNo_ == 11 || SceneNo_ == 12) {
        --OrbitalIndex_;
        if (OrbitalIndex_ >= 0) {
            view_.ChangeMenu(SceneNo_);
            ShowScene();
            return;
        }
        // Back from the first 3-D orbital lands on the last planar one.
        OrbitalIndex_ = SceneNo_ == 11 ? 0 : static_cast<std::int16_t>(OrbitalCount() - 1);
    } else {
        OrbitalIndex_ = 0;
    }
    PreviousScene();
}

void clsMenu::NextScene() {
    SceneNo_ = ForwardOf(SceneNo_);
    view_.ChangeMenu(SceneNo_);
    ShowScene();
}

void clsMenu::PreviousScene() {
    SceneNo_ = BackwardOf(SceneNo_);
    view_.ChangeMenu(SceneNo_);
    ShowScene();
}

void clsMenu::ShowScene() {
    using namespace modCalculation;
    PageSurface& s = view_.Surface();
    if (SceneNo_ != 1 && SceneNo_ != 3 && SceneNo_ != 7 && SceneNo_ != 10) {
        pageScene_ = SceneNo_;
        pageOrbital_ = OrbitalIndex_;
    }
    ShowScenePage(s, view_.Grid(), SceneNo_, OrbitalIndex_);
}
