// SPDX-License-Identifier: BSD-3-Clause
#pragma once
// The design window: the atom palette, the canvas with the 36-site lattice,
// the menus and the main toolbar. The drawing and its editing live in
// DesignDrawing; this class holds the controls, dispatches the commands and
// runs the document commands and the Calc command.

#include <QMainWindow>
#include <QMap>
#include <QPointF>
#include <cstdint>
#include <memory>

#include "orbix/design/DesignDrawing.h"
#include "orbix/result/DesignHost.h"
#include "tessera/TileFactory.h"

class AtomPalette;
class DesignCanvas;
class QAction;
class QMenu;
class QToolBar;

class frmDesign : public QMainWindow, public DesignHost, private DrawingView {
    Q_OBJECT
  public:
    // tiles: the loaded Tessera factory; dialogs: message boxes and file
    // dialogs (scripted in tests).
    frmDesign(tessera::TileFactory& tiles, orbix::Dialogs& dialogs, QWidget* parent = nullptr);
    ~frmDesign() override;

    // Public commands.
    void mnuFileSaveAs_Click() override;
    void mnuFileSave_Click() override;
    void mnuFileExit_Click() override;
    void SelClear();
    void SelAll();
    void DeleteAtom(bool all);
    void ConnectAtom(const std::vector<std::int16_t>& sites);
    void DeleteConnect(bool touching);

    // Other commands and handlers, public so that tests drive them as the user does.
    void mnuFileNew_Click();
    void mnuFileOpen_Click();
    void mnuFileTemp_Click();
    // Opens the molecule file `path` as Open does once its dialog has chosen
    // it (same checks and messages); a relative path counts from the current
    // folder. False, with the drawing unchanged, when it cannot be opened.
    bool OpenDocumentFile(const QString& path);
    void mnuMoveCalc_Click();
    void frmInfo_Click();
    void html_Click();
    void tbToolBar_ButtonClick(const QString& key);
    void tbrAtomBox_ButtonClick(int index);
    void imgAtom_MouseDown(std::int16_t site, Qt::MouseButton button);
    void tileAtom_MouseDown(std::int16_t site, std::int16_t button, std::int16_t shift);

    // DesignHost
    modResult::WindowPlace DesignWindowPlace() const override;
    void ShowDesign() override;
    orbix::Dialogs& CommonDialog() override { return dialogs_; }

    // State, for tests and for looking at the window.
    const DesignDrawing& Drawing() const { return drawing_; }
    std::int16_t CurrentElement() const { return currentElement_; }
    bool DocumentChanged() const { return drawing_.DocumentChanged; }
    const QString& DocumentPath() const { return documentPath_; }
    tessera::picTile* tileAtom(std::int16_t site) const { return tiles_.value(site, nullptr); }
    QWidget* imgAtom(std::int16_t site) const { return markers_.value(site, nullptr); }
    DesignCanvas& picDesign() const { return *canvas_; }
    QToolBar& tbrAtomBox() const { return *palette_; }
    QToolBar& tbToolBar() const { return *toolbar_; }
    // The palette's buttons, one per element, inside tbrAtomBox.
    AtomPalette& Palette() const { return *atomPalette_; }
    int TileSize() const { return tileSize_; }
    int TileOffset() const { return tileOffset_; }
    // Rubber band, canvas coordinates.
    void BandDown(QPointF p);
    void BandMove(QPointF p);
    void BandUp(QPointF p);
    bool TileInBand(std::int16_t site) const;

    // The canvas for a room (the client area right of the palette and below
    // the toolbar); the window's outer size.
    static QSize CanvasSize(QSize room);
    static QSize OuterSize();

  protected:
    void closeEvent(QCloseEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void moveEvent(QMoveEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;

  private:
    // DrawingView
    void CreateTile(std::int16_t site, std::int16_t element) override;
    void RemoveTile(std::int16_t site) override;
    std::int16_t TileState(std::int16_t site) const override;
    void SelectTile(std::int16_t site) override;
    void RefreshTile(std::int16_t site) override;
    void DrawBondLine(std::int16_t a, std::int16_t b) override;
    void RemoveBondLine(const std::string& tag) override;
    void ProcessEvents() override;

    void BuildMenus();
    void BuildToolbar();
    void BuildPalette();
    void LayOutCanvas();
    void FitCanvas();
    void FitFrame();
    void ClearCanvas();
    void PressPaletteButton(int index);
    // Opening a molecule file for Open (template = false) or Template.
    void OpenDocument(bool template_);
    bool LoadDocument(const QString& path, bool template_);
    bool SaveTo(const QString& path, const QString& title);
    // What Save and Save As did: wrote the drawing, found no atom to write
    // (and said so), or did not write it (cancelled or failed).
    enum class SaveResult { kSaved, kNothingToSave, kNotSaved };
    SaveResult SaveDocument();
    SaveResult SaveDocumentAs();
    // True when the command may go on: No, or Yes and nothing is lost (the
    // drawing was saved or holds nothing to save).
    bool AskAndSave(bool saveAs);
    QPointF MarkerTopLeft(std::int16_t site) const;

    tessera::TileFactory& factory_;
    orbix::Dialogs& dialogs_;
    DesignDrawing drawing_{*this};
    DesignCanvas* canvas_ = nullptr;
    QToolBar* palette_ = nullptr;
    AtomPalette* atomPalette_ = nullptr;
    QToolBar* toolbar_ = nullptr;
    tessera::picTile* tileTemplate_ = nullptr;  // tileAtom(0): never shown
    QMap<std::int16_t, QWidget*> markers_;
    QMap<std::int16_t, tessera::picTile*> tiles_;
    QString documentPath_;   // full path of the document's file, "" if never saved
    QString currentFolder_;  // folder of the last file opened or saved, "" if none
    std::int16_t currentElement_ = 1;
    bool canvasLaidOut_ = false;
    bool bandActive_ = false;
    QPointF bandStart_, bandEnd_;
    int tileSize_ = 0;
    int tileOffset_ = 0;
    double markerSize_ = 0;
    bool closingForExit_ = false;
    bool frameFitted_ = false;
};
