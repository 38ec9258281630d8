// SPDX-License-Identifier: BSD-3-Clause
#include "portico/CodePage.h"

#include <cerrno>
#include <string>
#include <vector>

namespace {

const iconv_t kNoConverter = reinterpret_cast<iconv_t>(-1);

std::string IconvName(int number) {
    switch (number) {
        case 10000:
            return "MACINTOSH";
        case 65001:
            return "UTF-8";
        default:
            return "CP" + std::to_string(number);
    }
}

}  // namespace

CodePage::CodePage(int number) : number_(number), cd_(kNoConverter) {
    if (number > 0) cd_ = iconv_open("UTF-8", IconvName(number).c_str());
    if (cd_ == kNoConverter) {
        number_ = 1252;
        cd_ = iconv_open("UTF-8", "CP1252");
    }
}

CodePage::~CodePage() {
    if (cd_ != kNoConverter) iconv_close(cd_);
}

QString CodePage::Decode(const QByteArray& bytes) {
    if (cd_ == kNoConverter) return QString::fromLatin1(bytes);

    QString text;
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    char* in = const_cast<char*>(bytes.constData());
    size_t inLeft = static_cast<size_t>(bytes.size());
    std::vector<char> buffer(4 * inLeft + 16);
    while (inLeft > 0) {
        char* out = buffer.data();
        size_t outLeft = buffer.size();
        const size_t done = iconv(cd_, &in, &inLeft, &out, &outLeft);
        text += QString::fromUtf8(buffer.data(), static_cast<qsizetype>(out - buffer.data()));
        if (done != static_cast<size_t>(-1)) break;
        if (errno == E2BIG) continue;
        // An invalid byte, or a lead byte cut off at the end: one replacement
        // character, then go on after it.
        text += QChar(QChar::ReplacementCharacter);
        ++in;
        --inLeft;
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    }
    return text;
}
