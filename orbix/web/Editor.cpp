// SPDX-License-Identifier: BSD-3-Clause
// The design window and the result window of the web edition, without their
// widgets: the drawing's editing, files, the Calc command and the scene
// navigation run here exactly as on the desktop; the page shows the state
// these report.

#include <emscripten/bind.h>

#include <cmath>
#include <cstdio>
#include <map>
#include <memory>
#include <set>
#include <string>

#include "orbix/calc/CalcSession.h"
#include "orbix/calc/EigenTable.h"
#include "orbix/calc/Pages.h"
#include "orbix/calc/SvgSurface.h"
#include "orbix/design/DesignDrawing.h"
#include "orbix/model/modCommon.h"
#include "orbix/model/modConnect.h"
#include "orbix/model/modOrbix.h"
#include "orbix/result/clsMenu.h"

namespace {

using emscripten::val;

// The design window's geometry, in canvas pixels.
constexpr double kMarkerSize = 405.0 / 15;
constexpr double kTileSize = 735.0 / 15;

double TileLeft(int site) {
    return std::nearbyint(modOrbix::SiteX[site] - kMarkerSize / 2 +
                          std::nearbyint((kMarkerSize - kTileSize) / 2));
}
double TileTop(int site) {
    return std::nearbyint(modOrbix::SiteY[site] - kMarkerSize / 2 +
                          std::nearbyint((kMarkerSize - kTileSize) / 2));
}

// The tiles and bond lines the window would show.
class Board : public DrawingView {
  public:
    void CreateTile(std::int16_t site, std::int16_t element) override {
        tiles[site] = {element, 0};
    }
    void RemoveTile(std::int16_t site) override { tiles.erase(site); }
    std::int16_t TileState(std::int16_t site) const override {
        const auto it = tiles.find(site);
        return it == tiles.end() ? 0 : it->second.state;
    }
    void SelectTile(std::int16_t site) override { tiles[site].state = 1; }
    void RefreshTile(std::int16_t site) override { tiles[site].state = 0; }
    void DrawBondLine(std::int16_t a, std::int16_t b) override { lines.emplace(a, b); }
    void RemoveBondLine(const std::string& tag) override {
        const size_t comma = tag.find(',');
        lines.erase({static_cast<std::int16_t>(std::stoi(tag.substr(0, comma))),
                     static_cast<std::int16_t>(std::stoi(tag.substr(comma + 1)))});
    }
    void ProcessEvents() override {}

    struct Tile {
        std::int16_t element = 0;
        std::int16_t state = 0;  // 1 selected
    };
    std::map<std::int16_t, Tile> tiles;
    std::set<std::pair<std::int16_t, std::int16_t>> lines;
};

// The result window's page and grid: the grid shows from the eigen table's
// Show until a page hides it, as the window's grid widget does.
class Results : public SceneView {
  public:
    void ChangeMenu(std::int16_t) override {}
    modCalculation::PageSurface& Surface() override { return surface; }
    modCalculation::EigenGrid& Grid() override { return grid; }

    modCalculation::SvgGrid grid;
    struct Surface : modCalculation::SvgSurface {
        explicit Surface(modCalculation::SvgGrid& g) : grid(g) {}
        void HideGrid() override { grid.Hide(); }
        modCalculation::SvgGrid& grid;
    } surface{grid};
};

val Message(const std::string& text, const std::string& title) {
    val m = val::object();
    m.set("message", text);
    m.set("title", title);
    return m;
}

class Editor {
  public:
    Editor() { New(); }

    // 新規: an empty drawing named 無題, element 1 current.
    void New() {
        board_.tiles.clear();
        board_.lines.clear();
        drawing_.Reset();
        drawing_.DocumentChanged = false;
        element_ = 1;
        name_.clear();
        modOrbix::CurrentMolecule = std::make_shared<Molecule>();
    }

    // The mouse on a free site: any selection is cleared; the left button
    // places the current element.
    void SiteDown(int site, bool left) {
        if (!drawing_.colSites().empty()) drawing_.SelClear();
        if (left) drawing_.PlaceAtom(static_cast<std::int16_t>(site), element_);
    }

    // The left button on a tile: selects it, alone unless ctrl.
    void TileDown(int site, bool ctrl) {
        if (!ctrl) drawing_.SelClear();
        drawing_.Select(static_cast<std::int16_t>(site));
    }

    // The rubber band from (x1, y1) to (x2, y2): the tiles it touches are
    // selected, the others not.
    void Band(double x1, double y1, double x2, double y2) {
        for (std::int16_t s : std::vector<std::int16_t>(drawing_.colSites())) {
            const double l = TileLeft(s), t = TileTop(s);
            if (std::min(x1, x2) < l + kTileSize && std::max(x1, x2) > l &&
                std::min(y1, y2) < t + kTileSize && std::max(y1, y2) > t)
                drawing_.Select(s);
            else
                drawing_.Deselect(s);
        }
    }

    void SelClear() { drawing_.SelClear(); }
    void SelAll() { drawing_.SelAll(); }
    void Connect() { drawing_.ConnectAtom(drawing_.colSelected()); }
    void DeleteAtom() { drawing_.DeleteAtom(false); }
    void DeleteBond() { drawing_.DeleteConnect(false); }
    void SetElement(int element) { element_ = static_cast<std::int16_t>(element); }

    val State() const {
        val s = val::object();
        val tiles = val::array();
        for (const std::int16_t site : drawing_.colSites()) {
            val t = val::object();
            t.set("site", site);
            t.set("element", drawing_.Element(site));
            t.set("selected", board_.TileState(site) == 1);
            t.set("left", TileLeft(site));
            t.set("top", TileTop(site));
            tiles.call<void>("push", t);
        }
        s.set("tiles", tiles);
        val lines = val::array();
        const double h = std::nearbyint(kMarkerSize / 2) - kMarkerSize / 2;
        for (const auto& [a, b] : board_.lines) {
            val l = val::array();
            for (double v : {modOrbix::SiteX[a] + h, modOrbix::SiteY[a] + h, modOrbix::SiteX[b] + h,
                             modOrbix::SiteY[b] + h})
                l.call<void>("push", v);
            lines.call<void>("push", l);
        }
        s.set("lines", lines);
        s.set("selected", static_cast<int>(drawing_.colSelected().size()));
        s.set("atoms", static_cast<int>(drawing_.colSites().size()));
        s.set("changed", drawing_.DocumentChanged);
        s.set("element", element_);
        s.set("name", name_);
        return s;
    }

    // The text of the save prompt, or "" when nothing is unsaved.
    std::string SavePrompt() const {
        if (!drawing_.DocumentChanged) return {};
        return "ファイル " + (name_.empty() ? std::string("無題") : name_) +
               "の内容は変更されています。\r\n変更を保存しますか？";
    }

    // The bytes 保存 writes; an object with the message when there is
    // nothing to save.
    val Save(const std::string& title) {
        if (drawing_.colSites().empty()) return Message("保存するデータがありません。", title);
        std::string bytes;
        if (!modCommon::EncodeAnsi(drawing_.Serialize() + "\r\n", bytes))
            return Message("ファイル：" + name_ + "　の保存に失敗しました。", title);
        return val(emscripten::typed_memory_view(bytes.size(), bytes.data())).call<val>("slice");
    }

    // After a download: the drawing is saved under name.
    void Saved(const std::string& name) {
        name_ = modCommon::FileTitle(name);
        drawing_.DocumentChanged = false;
    }

    // Opens the molecule file at path (shown as name); null when it loaded,
    // otherwise the message with its title.
    val Open(const std::string& path, const std::string& name, bool template_) {
        const std::string title = template_ ? "テンプレート" : "ファイルを開く";
        MoleculeFile::Drawing file;
        const char* failure = nullptr;
        switch (MoleculeFile::ReadDrawingFile(path, modOrbix::colAtoms.Count(), file)) {
            case 0:
                break;
            case 1:
                failure = "　のオープンに失敗しました。";
                break;
            case 2:
                failure = "からの分子データの取得に失敗しました。";
                break;
            default:
                failure = "からの分子の作成に失敗しました。";
                break;
        }
        if (failure) return Message("ファイル：" + name + failure, title);
        board_.tiles.clear();
        board_.lines.clear();
        drawing_.Load(file);
        element_ = template_ || file.atoms.empty() ? 1 : file.atoms.back().element;
        modOrbix::CurrentMolecule = std::make_shared<Molecule>();
        name_ = modCommon::FileTitle(name);
        modOrbix::CurrentMolecule->filename(name_);
        drawing_.DocumentChanged = false;
        return val::null();
    }

    // 計算実行: null and the results at scene 2, or the message of the check
    // or of an error with its title.
    val Calc() {
        MoleculeFile::Drawing d;
        for (std::int16_t s : drawing_.colSites()) d.atoms.push_back({s, drawing_.Element(s)});
        for (const auto& b : drawing_.colDesignBonds()) d.bonds.Add(b);
        try {
            const CalcSession::Outcome check = CalcSession::Check(d);
            if (check.code != CalcSession::kAccepted)
                return Message(check.message, modConnect::kStructureTitle);
            const CalcSession::Outcome outcome = CalcSession::Calculate(d);
            maxOff_ = outcome.maxOff;
            results_ = std::make_unique<Results>();
            menu_ = std::make_unique<clsMenu>(*results_);
            menu_->Show(2);
        } catch (const std::exception& e) {
            return Message(e.what(), "Orbix");
        }
        return val::null();
    }

    void Show(int scene) {
        Run([&] { menu_->Show(static_cast<std::int16_t>(scene)); });
    }
    void Next() {
        Run([&] { menu_->ForwardScene(); });
    }
    void Back() {
        Run([&] { menu_->BackScene(); });
    }

    // The result window's state: scene, orbital (from 1), the page as SVG,
    // and the eigen table's cells and colour when the page shows it.
    val Page() const {
        val p = val::object();
        if (!menu_) return p;
        p.set("scene", menu_->SceneNo());
        p.set("orbital", menu_->OrbitalIndex() + 1);
        p.set("pageScene", menu_->PageScene());
        p.set("pageOrbital", menu_->PageOrbital() + 1);
        p.set("top", menu_->TopFlag());
        p.set("end", menu_->EndFlag());
        p.set("svg",
              modCalculation::SvgPages::Document(menu_->PageScene(), menu_->PageOrbital(), false));
        p.set("file", modCalculation::SvgPages::Document(menu_->PageScene(), menu_->PageOrbital()));
        p.set("stem",
              modCalculation::SvgPages::FileStem(menu_->PageScene(), menu_->PageOrbital() + 1));
        p.set("maxOff", maxOff_);
        const bool table = results_->grid.Shown();
        if (table) {
            val rows = val::array();
            for (int r = 0; r < results_->grid.Rows(); ++r) {
                val row = val::array();
                for (int c = 0; c < results_->grid.Cols(); ++c)
                    row.call<void>("push", results_->grid.Text(r, c));
                rows.call<void>("push", row);
            }
            p.set("cells", rows);
            const modCalculation::Rgb c = results_->grid.BodyColour();
            char hex[8];
            std::snprintf(hex, sizeof hex, "#%02x%02x%02x", c.r, c.g, c.b);
            p.set("cellColour", std::string(hex));
        }
        return p;
    }

    // The eigen table as CSV, UTF-8 with a byte-order mark.
    std::string Csv() const {
        return "\xef\xbb\xbf" + modCalculation::GridCsv(modCalculation::EigenTableCells());
    }

  private:
    template <class F>
    void Run(F&& command) {
        if (!menu_) return;
        try {
            command();
        } catch (const std::exception&) {
        }
    }

    Board board_;
    DesignDrawing drawing_{board_};
    std::int16_t element_ = 1;
    std::string name_;
    double maxOff_ = 0;
    std::unique_ptr<Results> results_;
    std::unique_ptr<clsMenu> menu_;
};

// The help text of the file at path, or "" when it cannot be read.
std::string HelpText(const std::string& path) {
    std::string text;
    if (modCommon::ReadTextFile(path, text) != 1) return {};
    return text;
}

// The lattice: sites and the lines between neighbours, in canvas pixels.
val Lattice() {
    val l = val::object();
    val sites = val::array();
    val lines = val::array();
    for (int s = 1; s <= modOrbix::kSiteCount; ++s) {
        val p = val::array();
        p.call<void>("push", modOrbix::SiteX[s]);
        p.call<void>("push", modOrbix::SiteY[s]);
        sites.call<void>("push", p);
        for (int t = s + 1; t <= modOrbix::kSiteCount; ++t)
            if (modOrbix::SitesLinked(s, t)) {
                val line = val::array();
                line.call<void>("push", s);
                line.call<void>("push", t);
                lines.call<void>("push", line);
            }
    }
    l.set("sites", sites);
    l.set("lines", lines);
    l.set("markerSize", kMarkerSize);
    l.set("tileSize", kTileSize);
    return l;
}

// The element table: caption and sketch colour of each element.
val Elements() {
    val list = val::array();
    for (int i = 1; i <= modOrbix::colAtoms.Count(); ++i) {
        const modCalculation::Rgb c = modCalculation::AtomColour(i);
        val e = val::object();
        e.set("caption", modOrbix::colAtoms.Item(i)->Caption());
        char hex[8];
        std::snprintf(hex, sizeof hex, "#%02x%02x%02x", c.r, c.g, c.b);
        e.set("colour", std::string(hex));
        list.call<void>("push", e);
    }
    return list;
}

}  // namespace

EMSCRIPTEN_BINDINGS(orbix_editor) {
    emscripten::function("lattice", &Lattice);
    emscripten::function("elements", &Elements);
    emscripten::function("helpText", &HelpText);
    emscripten::class_<Editor>("Editor")
        .constructor<>()
        .function("newDrawing", &Editor::New)
        .function("siteDown", &Editor::SiteDown)
        .function("tileDown", &Editor::TileDown)
        .function("band", &Editor::Band)
        .function("selClear", &Editor::SelClear)
        .function("selAll", &Editor::SelAll)
        .function("connect", &Editor::Connect)
        .function("deleteAtom", &Editor::DeleteAtom)
        .function("deleteBond", &Editor::DeleteBond)
        .function("setElement", &Editor::SetElement)
        .function("state", &Editor::State)
        .function("savePrompt", &Editor::SavePrompt)
        .function("save", &Editor::Save)
        .function("saved", &Editor::Saved)
        .function("open", &Editor::Open)
        .function("calc", &Editor::Calc)
        .function("show", &Editor::Show)
        .function("next", &Editor::Next)
        .function("back", &Editor::Back)
        .function("page", &Editor::Page)
        .function("csv", &Editor::Csv);
}
