// SPDX-License-Identifier: BSD-3-Clause
// The JavaScript face of the model and the calculation. Files are read from
// the module's own file system, where the caller has put them.

#include <emscripten/bind.h>

#include <memory>
#include <string>

#include "orbix/calc/CalcSession.h"
#include "orbix/calc/SvgSurface.h"
#include "orbix/cli/CalcJson.h"
#include "orbix/cli/CalcReport.h"
#include "orbix/model/modOrbix.h"

namespace {

using emscripten::val;

CalcSession::Outcome last;

// Reads the element table at path into colAtoms and lays out the lattice;
// the message of a table that cannot be used, or "".
std::string LoadAtoms(const std::string& path) {
    std::string message;
    AtomTable table;
    if (!modOrbix::LoadAtomDataFrom(path, table, message)) return message;
    modOrbix::colAtoms = std::move(table);
    modOrbix::ComputeSites();
    modOrbix::BuildSiteLinks();
    return {};
}

// Calculates the molecule file at path as orbix-calc does; name is the file
// name the molecule keeps.
val CalculateFile(const std::string& path, const std::string& name) {
    modOrbix::CurrentMolecule = std::make_shared<Molecule>();
    modOrbix::CurrentMolecule->filename(name);
    last = {};
    try {
        last = CalcSession::CalculateFile(path);
    } catch (const std::exception& e) {
        last.code = CalcSession::kUnreadable;
        last.message = e.what();
    }
    val out = val::object();
    out.set("code", last.code);
    out.set("message", last.message);
    out.set("maxOff", last.maxOff);
    return out;
}

// orbix-calc's JSON line (with its line end) and report of the last file.
std::string JsonLine(const std::string& file) {
    std::string line;
    CalcJson::AppendLine(line, file, last);
    return line;
}

std::string ReportText(const std::string& file) { return CalcReport::Text(file, last.maxOff); }

// The scenes with a page: [{scene, stem, title}] in the tree's order.
val PageScenes() {
    val list = val::array();
    for (const auto& page : modCalculation::SvgPages::Pages()) {
        val p = val::object();
        p.set("scene", page.scene);
        p.set("stem", std::string(page.stem));
        p.set("title", std::string(page.title));
        list.call<void>("push", p);
    }
    return list;
}

// The page of scene for the last calculation as an SVG document; orbital
// from 1 on scenes 11 and 12.
std::string PageSvg(int scene, int orbital) {
    return modCalculation::SvgPages::Document(scene, static_cast<std::int16_t>(orbital - 1));
}

int AtomCount() { return modOrbix::CurrentMolecule ? modOrbix::CurrentMolecule->Count() : 0; }

}  // namespace

EMSCRIPTEN_BINDINGS(orbix) {
    emscripten::function("loadAtoms", &LoadAtoms);
    emscripten::function("calculateFile", &CalculateFile);
    emscripten::function("jsonLine", &JsonLine);
    emscripten::function("reportText", &ReportText);
    emscripten::function("pageScenes", &PageScenes);
    emscripten::function("pageSvg", &PageSvg);
    emscripten::function("fileStem", &modCalculation::SvgPages::FileStem);
    emscripten::function("atomCount", &AtomCount);
}
