// SPDX-License-Identifier: BSD-3-Clause
#pragma once
// Pictures of the result pages: one scene of the calculation just run, drawn
// by its page routine on a 640 × 400 page and written as PNG (at twice the
// resolution of a 96-dpi screen), SVG or PDF. The eigen table is drawn as a
// ruled table where the window shows its grid, in the grid's own text size: a
// table larger than the grid's place makes the page larger to hold it.

#include <QColor>
#include <QSizeF>
#include <QString>
#include <cstdint>
#include <vector>

class QPainter;

namespace PagePicture {

enum class Format { kUnknown, kPng, kSvg, kPdf };

// By the extension of `path`, in any case; kUnknown for any other.
Format FormatOf(const QString& path);
// "png", "svg" or "pdf".
QString Extension(Format format);
// Format by its name ("png", "svg", "pdf", any case).
Format FormatNamed(const QString& name);

// The scenes that have a page, in the tree's order: 2, 4, 5, 6, 8, 9, 11, 12.
const std::vector<int>& PageScenes();
bool HasPage(int scene);
// Scenes whose page shows one orbital (11 and 12).
bool IsOrbitalScene(int scene);

// A file name without extension that sorts in the tree's order:
// "06-levels", "11-planar-03" (orbital from 1).
QString FileStem(int scene, int orbital);

// The page's background, as the result window shows it.
inline const QColor kPageColour(223, 228, 211);
// Pixels of a PNG picture: twice the page.
inline constexpr int kPngWidth = 1280, kPngHeight = 800;

// The page of `scene` (orbital k, zero-based, on scenes 11 and 12) in page
// units, whole numbers: 640 × 400, or larger to hold the eigen table.
QSizeF PageSize(int scene, std::int16_t k);

// Draws that page on a painter that is in page units, clipped to the page.
void DrawScene(QPainter& p, int scene, std::int16_t k);

// Writes the page to `path` (a name as FileNameText gives it) in `format`,
// replacing the file only once the whole picture is written to the device.
// False, with the reason in Japanese in `error`, when it cannot be written;
// the file that was there is then left as it was.
bool Save(const QString& path, Format format, int scene, std::int16_t k, QString& error);

}  // namespace PagePicture
