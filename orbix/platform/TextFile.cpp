#include "orbix/platform/TextFile.h"

#include <fcntl.h>
#include <langinfo.h>
#include <locale.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdio>

#include "orbix/model/modCommon.h"

namespace orbix {

namespace testing {
long WriteFailsAfterBytes = -1;
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

namespace {

// The file that writing to path changes: a symbolic link's final target
// (which need not exist yet), or path itself.
std::string WriteTarget(const std::string& path) {
    std::string target = path;
    for (int hop = 0; hop < 40; ++hop) {
        struct stat st {};
        if (::lstat(target.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return target;
        std::string link(PATH_MAX, '\0');
        const ssize_t n = ::readlink(target.c_str(), link.data(), link.size());
        if (n <= 0) return target;
        link.resize(static_cast<size_t>(n));
        if (link.front() != '/') {
            const size_t slash = target.rfind('/');
            link =
                (slash == std::string::npos ? std::string() : target.substr(0, slash + 1)) + link;
        }
        target = link;
    }
    return target;  // a loop of links: the write fails on it
}

bool WriteAll(int fd, const char* p, size_t left) {
    while (left > 0) {
        const ssize_t w = ::write(fd, p, left);
        if (w < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        p += w;
        left -= static_cast<size_t>(w);
    }
    return true;
}

}  // namespace

bool WriteTextFile(const QString& path, const std::string& text, TextEncoding encoding) {
    std::string bytes;
    if (encoding == TextEncoding::kUtf8)
        bytes = text + "\r\n";
    else if (!modCommon::EncodeAnsi(text + "\r\n", bytes))
        return false;

    const std::string target = WriteTarget(QFile::encodeName(path).toStdString());
    struct stat old {};
    const bool exists = ::stat(target.c_str(), &old) == 0;
    // Replacing by rename only needs the folder's permission; a file the user
    // may not write must stay as it is all the same.
    if (exists &&
        (!S_ISREG(old.st_mode) || ::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0))
        return false;

    // The temporary file beside the target gets a short name of its own: the
    // target's name plus a suffix would pass the file-name limit for long names.
    const size_t slash = target.rfind('/');
    std::string tmp = (slash == std::string::npos ? std::string() : target.substr(0, slash + 1)) +
                      ".orbix-XXXXXX";
    const int fd = ::mkstemp(tmp.data());
    if (fd < 0) return false;
    size_t size = bytes.size();
    bool ok = true;
    if (testing::WriteFailsAfterBytes >= 0 &&
        static_cast<size_t>(testing::WriteFailsAfterBytes) < size) {
        size = static_cast<size_t>(testing::WriteFailsAfterBytes);
        ok = false;
    }
    ok = WriteAll(fd, bytes.data(), size) && ok;
    if (ok && ::fsync(fd) != 0) ok = false;
    if (exists) {
        // The replaced file keeps its permissions and, where allowed, its group.
        [[maybe_unused]] const int kept = ::fchown(fd, static_cast<uid_t>(-1), old.st_gid);
        ::fchmod(fd, old.st_mode & 07777);
    } else {
        // mkstemp creates mode 0600; a new file gets the usual permissions.
        const mode_t mask = ::umask(0);
        ::umask(mask);
        ::fchmod(fd, 0666 & ~mask);
    }
    if (::close(fd) != 0) ok = false;
    if (ok && std::rename(tmp.c_str(), target.c_str()) != 0) ok = false;
    if (!ok) std::remove(tmp.c_str());
    return ok;
}

}  // namespace orbix
