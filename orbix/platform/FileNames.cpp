// SPDX-License-Identifier: BSD-3-Clause
#include "orbix/platform/FileNames.h"

#include <unistd.h>

#include <QDir>
#include <climits>

namespace orbix {

namespace {

// The length of the well-formed UTF-8 sequence at the start of s, or 0.
qsizetype SequenceLength(QByteArrayView s) {
    const auto at = [&s](qsizetype i) { return static_cast<unsigned char>(s[i]); };
    const unsigned char b = at(0);
    if (b < 0x80) return 1;
    qsizetype length;
    unsigned char low = 0x80, high = 0xbf;  // the second byte's range
    if (b >= 0xc2 && b <= 0xdf) {
        length = 2;
    } else if (b >= 0xe0 && b <= 0xef) {
        length = 3;
        if (b == 0xe0) low = 0xa0;
        if (b == 0xed) high = 0x9f;  // no surrogates
    } else if (b >= 0xf0 && b <= 0xf4) {
        length = 4;
        if (b == 0xf0) low = 0x90;
        if (b == 0xf4) high = 0x8f;
    } else {
        return 0;
    }
    if (s.size() < length) return 0;
    for (qsizetype i = 1; i < length; ++i) {
        const unsigned char c = at(i);
        if (i == 1 ? c < low || c > high : c < 0x80 || c > 0xbf) return 0;
    }
    return length;
}

constexpr char16_t kEscapeBase = 0xdc00;

bool IsEscape(char16_t c) { return c >= kEscapeBase + 0x80 && c <= kEscapeBase + 0xff; }

}  // namespace

QString FileNameText(QByteArrayView bytes) {
    QString text;
    qsizetype run = 0;  // start of the valid bytes not yet decoded
    for (qsizetype i = 0; i < bytes.size();) {
        const qsizetype length = SequenceLength(bytes.sliced(i));
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
