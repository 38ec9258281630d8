// SPDX-License-Identifier: BSD-3-Clause
// orbix-calc --json compared byte for byte with stored output: the shipped
// templates and a few hundred seeded random lattice molecules (see
// references/make_references.py). Any change in a rotation, a sort, a number
// text or an escape shows here with the molecule it touched.

#include <gtest/gtest.h>
#include <zlib.h>

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

const std::string kReferences = std::string(ORBIX_SOURCE_DIR) + "tests/cli/references/";

std::string Gunzip(const std::string& path) {
    gzFile f = gzopen(path.c_str(), "rb");
    if (!f) return {};
    std::string out;
    char buf[1 << 16];
    int got;
    while ((got = gzread(f, buf, sizeof buf)) > 0) out.append(buf, static_cast<size_t>(got));
    gzclose(f);
    return out;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

std::string RunJson(const QString& folder, const QStringList& files) {
    QProcess p;
    p.setWorkingDirectory(folder);
    p.start(QString(ORBIX_PROGRAM_DIR) + "orbix-calc", QStringList{"--json"} + files);
    EXPECT_TRUE(p.waitForFinished(300000));
    return p.readAllStandardOutput().toStdString();
}

// One line per file; a difference is shown with the file it belongs to and
// the text around its first differing byte.
void ExpectSameOutput(const std::string& actual, const std::string& expected,
                      const QStringList& files) {
    ASSERT_FALSE(expected.empty()) << "reference output missing or unreadable";
    const std::vector<std::string> a = Lines(actual), e = Lines(expected);
    ASSERT_EQ(a.size(), e.size()) << "lines written for " << files.size() << " files";
    int shown = 0;
    for (size_t i = 0; i < e.size() && shown < 5; ++i) {
        if (a[i] == e[i]) continue;
        ++shown;
        size_t at = std::mismatch(a[i].begin(), a[i].begin() + std::min(a[i].size(), e[i].size()),
                                  e[i].begin())
                        .first -
                    a[i].begin();
        size_t from = at > 60 ? at - 60 : 0;
        ADD_FAILURE() << files.value(static_cast<int>(i)).toStdString()
                      << ": first difference at byte " << at << "\n  expected …"
                      << e[i].substr(from, 120) << "\n  actual   …" << a[i].substr(from, 120);
    }
    EXPECT_EQ(actual.size(), expected.size());
}

TEST(OutputReference, ShippedTemplates) {
    QStringList files;
    for (const QString& name : QDir(QString(ORBIX_PROGRAM_DIR) + "template")
                                   .entryList({"*.tpl"}, QDir::Files, QDir::NoSort))
        files << "template/" + name;
    std::sort(files.begin(), files.end(),
              [](const QString& x, const QString& y) { return x.toUtf8() < y.toUtf8(); });
    ASSERT_GE(files.size(), 20) << "templates in the program folder";
    ExpectSameOutput(RunJson(ORBIX_PROGRAM_DIR, files), Gunzip(kReferences + "templates.jsonl.gz"),
                     files);
}

TEST(OutputReference, SeededRandomMolecules) {
    // Each line: file name, atoms and bonds, separated by tabs. A name under
    // a folder is never written, so its open fails.
    std::ifstream list(kReferences + "molecules.txt");
    ASSERT_TRUE(list) << kReferences << "molecules.txt";
    QTemporaryDir dir;
    QStringList files;
    for (std::string line; std::getline(list, line);) {
        std::vector<std::string> f;
        std::istringstream fields(line);
        for (std::string s; std::getline(fields, s, '\t');) f.push_back(s);
        ASSERT_GE(f.size(), 2u) << line;
        const QString name = QString::fromStdString(f[0]);
        if (!name.contains('/')) {
            std::ofstream out(dir.filePath(name).toStdString(), std::ios::binary);
            out << "[Atom]=" << f[1] << "\r\n";
            if (f.size() > 2 && !f[2].empty()) out << "[Bond]=" << f[2] << "\r\n";
        }
        files << name;
    }
    ASSERT_GE(files.size(), 300);
    ExpectSameOutput(RunJson(dir.path(), files), Gunzip(kReferences + "random.jsonl.gz"), files);
}

}  // namespace
