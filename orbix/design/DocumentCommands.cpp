// SPDX-License-Identifier: BSD-3-Clause
// The file menu of the design window: New, Open, Template, Save, Save As, Exit.

#include <QDir>
#include <QFileInfo>

#include "orbix/design/DesignCanvas.h"
#include "orbix/design/StartUp.h"
#include "orbix/design/frmDesign.h"
#include "orbix/model/modCommon.h"
#include "orbix/model/modOrbix.h"
#include "orbix/platform/Dialogs.h"
#include "orbix/platform/FileNames.h"
#include "orbix/platform/Folders.h"
#include "orbix/platform/TextFile.h"
#include "orbix/platform/Twips.h"
#include "orbix/result/WindowTitle.h"

using orbix::MsgAnswer;
using orbix::MsgButtons;
using orbix::MsgIcon;

namespace {

const QString kMolFilter = QStringLiteral("分子ﾃﾞｰﾀﾌｧｲﾙ (*.mol)|*.mol");
const QString kTplFilter = QStringLiteral("分子ﾃﾞｰﾀﾃﾝﾌﾟﾚｰﾄﾌｧｲﾙ (*.tpl)|*.tpl");

QString ProgramFolder() { return QString::fromStdString(modOrbix::ProgramFolder); }

QString TemplateFolder() { return ProgramFolder() + "template"; }

}  // namespace

bool frmDesign::AskAndSave(bool saveAs) {
    if (!drawing_.DocumentChanged) return true;
    switch (modDesign::AskSaveChanges(dialogs_)) {
        case MsgAnswer::kCancel:
            return false;
        case MsgAnswer::kYes:
            // A cancelled or failed save ends the command: going on would lose
            // the drawing. An empty drawing has nothing to lose.
            return (saveAs ? SaveDocumentAs() : SaveDocument()) != SaveResult::kNotSaved;
        default:
            return true;
    }
}

void frmDesign::mnuFileNew_Click() {
    if (canvasLaidOut_ && !AskAndSave(true)) return;
    if (!canvasLaidOut_) {
        BuildPalette();
        LayOutCanvas();
    } else {
        ClearCanvas();
    }
    currentElement_ = 1;
    drawing_.Reset();
    PressPaletteButton(1);
    modOrbix::CurrentMolecule = std::make_shared<Molecule>();
    documentPath_.clear();
    tileSize_ = tileTemplate_->Width();
    tileOffset_ = static_cast<int>(std::nearbyint((markerSize_ - tileTemplate_->Width()) / 2));
    modResult::SetWindowTitle(*this);
    drawing_.DocumentChanged = false;
}

void frmDesign::mnuFileOpen_Click() { OpenDocument(false); }

void frmDesign::mnuFileTemp_Click() { OpenDocument(true); }

void frmDesign::OpenDocument(bool template_) {
    if (!AskAndSave(false)) return;
    orbix::FileRequest request;
    request.title = QStringLiteral("開く");
    request.filter = template_ ? kTplFilter : kMolFilter;
    request.initialDir = template_ && QFileInfo(TemplateFolder()).isDir()
                             ? TemplateFolder()
                             : orbix::CurrentFolder(currentFolder_, ProgramFolder());
    if (!dialogs_.OpenFile(request) || request.fileName.isEmpty()) return;
    LoadDocument(request.fileName, template_);
}

bool frmDesign::OpenDocumentFile(const QString& path) {
    if (!AskAndSave(false)) return false;
    return LoadDocument(orbix::AbsoluteFileName(path), false);
}

bool frmDesign::LoadDocument(const QString& path, bool template_) {
    const QString title =
        template_ ? QStringLiteral("テンプレート") : QStringLiteral("ファイルを開く");
    // The drawing is replaced only by a file that loads completely, so a bad
    // file never leaves a half drawing under the old document's name.
    MoleculeFile::Drawing file;
    const char* failure = nullptr;
    switch (MoleculeFile::ReadDrawingFile(orbix::FileNameBytes(path).toStdString(),
                                          modOrbix::colAtoms.Count(), file)) {
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
    if (failure) {
        dialogs_.Message(QStringLiteral("ファイル：") + path + QString::fromUtf8(failure), title,
                         MsgButtons::kOk, MsgIcon::kCritical);
        return false;
    }
    ClearCanvas();
    drawing_.Load(file);
    currentElement_ = template_ || file.atoms.empty() ? 1 : file.atoms.back().element;
    PressPaletteButton(currentElement_);
    modOrbix::CurrentMolecule = std::make_shared<Molecule>();
    modOrbix::CurrentMolecule->filename(modCommon::FileTitle(path.toStdString()));
    documentPath_ = path;
    currentFolder_ = QFileInfo(path).absolutePath();
    modResult::SetWindowTitle(*this);
    drawing_.DocumentChanged = false;
    return true;
}

bool frmDesign::SaveTo(const QString& path, const QString& title) {
    if (orbix::WriteTextFile(path, drawing_.Serialize())) return true;
    dialogs_.Message(
        QStringLiteral("ファイル：") + path + QStringLiteral("　の保存に失敗しました。"), title,
        MsgButtons::kOk, MsgIcon::kCritical);
    return false;
}

void frmDesign::mnuFileSave_Click() { SaveDocument(); }

void frmDesign::mnuFileSaveAs_Click() { SaveDocumentAs(); }

frmDesign::SaveResult frmDesign::SaveDocument() {
    // A shipped template is saved under a new name: every student opens it.
    if (documentPath_.isEmpty() || orbix::IsInFolder(documentPath_, TemplateFolder()))
        return SaveDocumentAs();
    const QString title = QStringLiteral("ファイルの上書き保存");
    if (drawing_.colSites().empty()) {
        dialogs_.Message(QStringLiteral("保存するデータがありません。"), title, MsgButtons::kOk,
                         MsgIcon::kNone);
        return SaveResult::kNothingToSave;
    }
    if (!SaveTo(documentPath_, title)) return SaveResult::kNotSaved;
    currentFolder_ = QFileInfo(documentPath_).absolutePath();
    drawing_.DocumentChanged = false;
    return SaveResult::kSaved;
}

frmDesign::SaveResult frmDesign::SaveDocumentAs() {
    const QString title = QStringLiteral("ファイルに名前を付けて保存");
    if (drawing_.colSites().empty()) {
        dialogs_.Message(QStringLiteral("保存するデータがありません。"), title, MsgButtons::kOk,
                         MsgIcon::kNone);
        return SaveResult::kNothingToSave;
    }
    orbix::FileRequest request;
    request.title = QStringLiteral("名前を付けて保存");
    request.filter = kMolFilter + "|" + kTplFilter;
    request.initialDir = orbix::WritableFolderOrHome(ProgramFolder());
    QString path;
    for (;;) {
        if (!dialogs_.SaveFile(request) || request.fileName.isEmpty()) return SaveResult::kNotSaved;
        path = request.fileName;
        if (!QFileInfo::exists(path)) break;
        const QString name = QString::fromStdString(modCommon::FileTitle(path.toStdString()));
        if (dialogs_.Message(name + QStringLiteral("は既に存在します。上書きしますか？"),
                             orbix::kApplicationTitle, MsgButtons::kYesNo,
                             MsgIcon::kNone) == MsgAnswer::kYes)
            break;
        request.initialDir = QFileInfo(path).absolutePath();
        request.fileName = name;
    }
    if (!SaveTo(path, title)) return SaveResult::kNotSaved;
    modOrbix::CurrentMolecule->filename(modCommon::FileTitle(path.toStdString()));
    documentPath_ = path;
    currentFolder_ = QFileInfo(path).absolutePath();
    modResult::SetWindowTitle(*this);
    drawing_.DocumentChanged = false;
    return SaveResult::kSaved;
}

void frmDesign::mnuFileExit_Click() {
    if (!AskAndSave(false)) return;
    closingForExit_ = true;
    close();
    modDesign::UnloadAll(0);
}
