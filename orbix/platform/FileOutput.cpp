// SPDX-License-Identifier: BSD-3-Clause
#include "orbix/platform/FileOutput.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <string>

namespace orbix {

namespace testing {
long WriteFailsAfterBytes = -1;
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

// 0, or the errno of the failed write.
int WriteAll(int fd, const char* p, size_t left) {
    while (left > 0) {
        const ssize_t w = ::write(fd, p, left);
        if (w < 0) {
            if (errno == EINTR) continue;
            return errno;
        }
        p += w;
        left -= static_cast<size_t>(w);
    }
    return 0;
}

}  // namespace

int ReplaceFile(const QByteArray& path, QByteArrayView bytes) {
    const std::string target = WriteTarget(path.toStdString());
    struct stat old {};
    const bool exists = ::stat(target.c_str(), &old) == 0;
    // Replacing by rename only needs the folder's permission; a file the user
    // may not write must stay as it is all the same.
    if (exists) {
        if (S_ISDIR(old.st_mode)) return EISDIR;
        if (!S_ISREG(old.st_mode)) return EINVAL;
        if (::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0) return errno;
    }

    // The temporary file beside the target gets a short name of its own: the
    // target's name plus a suffix would pass the file-name limit for long names.
    const size_t slash = target.rfind('/');
    std::string tmp = (slash == std::string::npos ? std::string() : target.substr(0, slash + 1)) +
                      ".orbix-XXXXXX";
    const int fd = ::mkstemp(tmp.data());
    if (fd < 0) return errno;
    auto size = static_cast<size_t>(bytes.size());
    int error = 0;
    if (testing::WriteFailsAfterBytes >= 0 &&
        static_cast<size_t>(testing::WriteFailsAfterBytes) < size) {
        size = static_cast<size_t>(testing::WriteFailsAfterBytes);
        error = ENOSPC;
    }
    if (const int failed = WriteAll(fd, bytes.data(), size); failed && !error) error = failed;
    if (!error && ::fsync(fd) != 0) error = errno;
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
    if (::close(fd) != 0 && !error) error = errno;
    if (!error && std::rename(tmp.c_str(), target.c_str()) != 0) error = errno;
    if (error) std::remove(tmp.c_str());
    return error;
}

QString ErrorText(int error) {
    switch (error) {
        case ENOSPC:
            return QStringLiteral("ディスクに空きがありません");
        case EDQUOT:
            return QStringLiteral("ディスクの使用量が上限に達しています");
        case EFBIG:
            return QStringLiteral("ファイルの大きさが上限を超えます");
        case EACCES:
        case EPERM:
            return QStringLiteral("書き込みが許可されていません");
        case EROFS:
            return QStringLiteral("読み取り専用の場所です");
        case ENOENT:
            return QStringLiteral("保存先のフォルダーがありません");
        case ENOTDIR:
            return QStringLiteral("保存先のパスにフォルダーでないものがあります");
        case EISDIR:
            return QStringLiteral("同じ名前のフォルダーがあります");
        case EEXIST:
            return QStringLiteral("同じ名前のファイルがあります");
        case EINVAL:
            return QStringLiteral("通常のファイルではありません");
        case ENAMETOOLONG:
            return QStringLiteral("名前が長すぎます");
        case ELOOP:
            return QStringLiteral("シンボリックリンクが循環しています");
        case EIO:
            return QStringLiteral("装置への書き込みに失敗しました");
        case EBADF:
            return QStringLiteral("出力先が開かれていません");
        case EPIPE:
            return QStringLiteral("出力先が閉じられました");
        case EMFILE:
        case ENFILE:
            return QStringLiteral("開いているファイルが多すぎます");
        case ENOMEM:
            return QStringLiteral("メモリーが足りません");
        default:
            return QStringLiteral("書き込みに失敗しました（エラー番号 %1）").arg(error);
    }
}

}  // namespace orbix
