// SPDX-License-Identifier: BSD-3-Clause
#pragma once
// File names as the system holds them: bytes, not text. Qt decodes names and
// arguments as UTF-8, and a byte that is not part of a UTF-8 sequence (a
// Shift_JIS name from a Windows share, a stray Latin-1 byte) would come out
// as U+FFFD, which no longer names the file. Here each such byte becomes a
// lone surrogate U+DC80 … U+DCFF instead, which valid UTF-8 never gives, so
// the text converts back to the very bytes it came from.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>

namespace orbix {

// The name of `bytes` as text; FileNameBytes gives the bytes back.
QString FileNameText(QByteArrayView bytes);
// The bytes of a name: UTF-8, with every lone surrogate U+DC80 … U+DCFF as
// the byte it stands for.
QByteArray FileNameBytes(const QString& name);

// `name` made absolute against the current folder and cleaned, keeping its
// bytes (QFileInfo goes through Qt's decoding for a relative name).
QString AbsoluteFileName(const QString& name);

// The program's arguments as FileNameText gives them, for the command-line
// parser (argv as the application object left it).
QStringList CommandLineArguments(int argc, char** argv);

}  // namespace orbix
