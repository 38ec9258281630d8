// SPDX-License-Identifier: BSD-3-Clause
#pragma once
// orbix-calc --page SCENE [--orbital K] --out FILE FILE.mol
// orbix-calc --page all [--format png|svg|pdf] --out DIR FILE.mol
// Pictures of the result pages of one molecule, drawn by the page routines.

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

#include "orbix/picture/PagePicture.h"

namespace PageCommand {

// The application object: pages need fonts and so a GUI application, which
// runs on the offscreen platform since no window is shown. The arguments are
// only looked through for --page here; QCommandLineParser parses them.
std::unique_ptr<QCoreApplication> MakeApplication(int& argc, char** argv);

void AddOptions(QCommandLineParser& parser);
// Whether any option of the command is on the command line.
bool Wanted(const QCommandLineParser& parser);

struct Request {
    QString file;                // the molecule file (names as FileNameText gives them)
    QString out;                 // picture file, or folder for all
    bool all = false;            // every scene and orbital
    int scene = 0;               // when not all
    int orbital = 0;             // from 1; 0 = not given
    PagePicture::Format format;  // of the picture(s)
};

// The request, or nullopt with a usage error in `error`.
std::optional<Request> Check(const QCommandLineParser& parser, const QStringList& files,
                             QString& error);

// Calculates the molecule and writes the picture(s); the element table must
// be loaded. The exit status: 0 done, 1 the molecule refused or a picture not
// written, 2 an orbital out of range.
int Run(const Request& request);

}  // namespace PageCommand
