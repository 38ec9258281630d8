// SPDX-License-Identifier: BSD-3-Clause
#include "orbix/platform/FileNames.h"

#include <unistd.h>

#include <QDir>
#include <climits>
#include <string_view>

#include "orbix/model/Utf8.h"

namespace orbix {

namespace {

constexpr char16_t kEscapeBase = 0xdc00;

bool IsEscape(char16_t c) { return c >= kEscapeBase + 0x80 && c <= kEscapeBase + 0xff; }

}  // namespace

QString FileNameText(QByteArrayView bytes) {
    QString text;
    qsizetype run = 0;  // start of the valid bytes not yet decoded
    for (qsizetype i = 0; i < bytes.size();) {
        const auto length = static_cast<qsizetype>(modCommon::Utf8SequenceLength(
            std::string_view(bytes.constData() + i, static_cast<size_t>(bytes.size() - i))));
        if (length) {
            i += length;
            continue;
        }
        text += QString::fromUtf8(bytes.sliced(run, i - run));
        text += QChar(kEscapeBase + static_cast<unsigned char>(bytes[i]));
        run = ++i;
    }
    return text + QString::fromUtf8(bytes.sliced(run));
}

QByteArray FileNameBytes(const QString& name) {
    QByteArray bytes;
    qsizetype run = 0;
    for (qsizetype i = 0; i < name.size(); ++i) {
        const char16_t c = name[i].unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < name.size() && name[i + 1].isLowSurrogate()) {
            ++i;  // a pair: a character beyond the basic plane
            continue;
        }
        if (!IsEscape(c)) continue;
        bytes += QStringView(name).sliced(run, i - run).toUtf8();
        bytes += static_cast<char>(c - kEscapeBase);
        run = i + 1;
    }
    return bytes + QStringView(name).sliced(run).toUtf8();
}

QString AbsoluteFileName(const QString& name) {
    if (QDir::isAbsolutePath(name)) return QDir::cleanPath(name);
    char folder[PATH_MAX];
    if (!::getcwd(folder, sizeof folder)) return QDir::cleanPath(QDir::currentPath() + '/' + name);
    return QDir::cleanPath(FileNameText(folder) + QLatin1Char('/') + name);
}

QStringList CommandLineArguments(int argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i) arguments << FileNameText(argv[i]);
    return arguments;
}

}  // namespace orbix
