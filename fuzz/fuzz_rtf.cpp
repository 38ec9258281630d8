// SPDX-License-Identifier: BSD-3-Clause
// The launcher's RTF reader on arbitrary bytes.
#include <QByteArray>
#include <QGuiApplication>
#include <QTextDocument>
#include <cstdint>
#include <cstdlib>

#include "portico/RtfReader.h"

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QTextDocument doc;
    RtfReader::Read(bytes, doc);
    // The text is a valid string: no lone surrogates reach the document.
    const QString text = doc.toRawText();
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i].isHighSurrogate()) {
            if (i + 1 >= text.size() || !text[i + 1].isLowSurrogate()) std::abort();
            ++i;
        } else if (text[i].isLowSurrogate()) {
            std::abort();
        }
    }
    return 0;
}
