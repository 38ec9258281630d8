// SPDX-License-Identifier: BSD-3-Clause
#include "orbix/platform/TextFile.h"

#include <langinfo.h>
#include <locale.h>

#include <cctype>

#include "orbix/model/modCommon.h"
#include "orbix/platform/FileNames.h"
#include "orbix/platform/FileOutput.h"

namespace orbix {

namespace testing {
std::string LocaleCodeset;
}  // namespace testing

std::string LocaleCodeset() {
    if (!testing::LocaleCodeset.empty()) return testing::LocaleCodeset;
    // Qt switches the process's character type to UTF-8 at start-up, so the
    // locale the user chose is read from the environment afresh.
    const locale_t locale = ::newlocale(LC_CTYPE_MASK, "", static_cast<locale_t>(nullptr));
    if (!locale) return {};
    std::string codeset = ::nl_langinfo_l(CODESET, locale);
    ::freelocale(locale);
    return codeset;
}

bool IsShiftJisCodeset(std::string_view codeset) {
    std::string name;
    for (char c : codeset)
        if (c != '-' && c != '_')
            name += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    static const char* const kNames[] = {"SHIFTJIS",   "SJIS",   "MSKANJI",
                                         "CSSHIFTJIS", "CP932",  "MS932",
                                         "WINDOWS31J", "IBM943", "SHIFTJISX0213"};
    for (const char* n : kNames)
        if (name == n) return true;
    return false;
}

TextEncoding DesktopEncoding() {
    return IsShiftJisCodeset(LocaleCodeset()) ? TextEncoding::kCp932 : TextEncoding::kUtf8;
}

bool WriteTextFile(const QString& path, const std::string& text, TextEncoding encoding) {
    std::string bytes;
    if (encoding == TextEncoding::kUtf8)
        bytes = text + "\r\n";
    else if (!modCommon::EncodeAnsi(text + "\r\n", bytes))
        return false;
    return ReplaceFile(FileNameBytes(path), bytes) == 0;
}

}  // namespace orbix
