// SPDX-License-Identifier: BSD-3-Clause
// The page's pop-up command: the page being shown saved as a picture.

#include <QContextMenuEvent>
#include <QFileInfo>
#include <QMenu>
#include <algorithm>

#include "orbix/model/modCommon.h"
#include "orbix/picture/PagePicture.h"
#include "orbix/platform/Dialogs.h"
#include "orbix/platform/ImageSurface.h"
#include "orbix/result/frmResult.h"

namespace {

const QString kPictureTitle = QStringLiteral("ページを画像として保存");
// The save dialog's filters, in the order of kPictureFormats.
const QString kPictureFilter =
    QStringLiteral("PNG画像 (*.png)|*.png|SVG画像 (*.svg)|*.svg|PDFファイル (*.pdf)|*.pdf");
constexpr PagePicture::Format kPictureFormats[] = {
    PagePicture::Format::kPng, PagePicture::Format::kSvg, PagePicture::Format::kPdf};

}  // namespace

bool frmResult::PageContextMenu(QObject* watched, QEvent* event) {
    if (watched != surface_ || unloaded_ || !menu_ || menu_->PageScene() == 0) return false;
    // A click that reached the page from the grid, the tree or the toolbar
    // is theirs: the grid has its own menu.
    const auto* e = static_cast<QContextMenuEvent*>(event);
    if (surface_->childAt(e->pos())) return false;
    mnuPage_->popup(e->globalPos());
    return true;
}

void frmResult::SavePagePicture() {
    if (!menu_ || menu_->PageScene() == 0) return;
    // The page as it is now: another page may be chosen while the
    // dialog is open.
    const int scene = menu_->PageScene();
    const std::int16_t k = menu_->PageOrbital();
    orbix::Dialogs& dlg = host_.CommonDialog();
    orbix::FileRequest request;
    request.title = kPictureTitle;
    request.filter = kPictureFilter;
    request.filterIndex = pictureFilter_;
    QString path;
    PagePicture::Format format;
    for (;;) {
        request.initialDir = OutputFolder();
        // Cancelling is no failure: nothing was asked to be written.
        if (!dlg.SaveFile(request)) return;
        path = request.fileName;
        if (path.isEmpty()) return;
        pictureFilter_ = std::clamp(request.filterIndex, 0, 2);
        // A name with one of the three extensions says its format; any
        // other name gets the chosen filter's extension.
        format = PagePicture::FormatOf(path);
        if (format == PagePicture::Format::kUnknown) {
            format = kPictureFormats[pictureFilter_];
            path += QLatin1Char('.') + PagePicture::Extension(format);
        }
        if (!QFileInfo::exists(path)) break;
        const QString title = QString::fromStdString(modCommon::FileTitle(path.toStdString()));
        if (dlg.Message(title + QStringLiteral("は既に存在します。上書きしますか？"), kPictureTitle,
                        orbix::MsgButtons::kYesNo, orbix::MsgIcon::kNone) == orbix::MsgAnswer::kYes)
            break;
        request.fileName = title;
    }
    QString error;
    if (!PagePicture::Save(path, format, scene, k, error))
        dlg.Message(QStringLiteral("画像の保存に失敗しました"),
                    QStringLiteral("ページ画像の保存エラー"), orbix::MsgButtons::kOk,
                    orbix::MsgIcon::kCritical);
}
