// SPDX-License-Identifier: BSD-3-Clause
#include "orbix/cli/PageCommand.h"

#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <cstdio>
#include <cstring>
#include <exception>
#include <filesystem>
#include <system_error>

#include "orbix/calc/CalcSession.h"
#include "orbix/model/modOrbix.h"
#include "orbix/platform/FileNames.h"
#include "orbix/platform/FileOutput.h"

namespace PageCommand {

namespace {

const QString kPage = QStringLiteral("page");
const QString kOrbital = QStringLiteral("orbital");
const QString kOut = QStringLiteral("out");
const QString kFormat = QStringLiteral("format");

void Err(const QString& text) {
    std::fputs(orbix::FileNameBytes(text).constData(), stderr);
    std::fputc('\n', stderr);
}

QString SceneList() {
    QStringList scenes;
    for (int s : PagePicture::PageScenes()) scenes << QString::number(s);
    return scenes.join(QStringLiteral(", "));
}

bool Write(const QString& path, PagePicture::Format format, int scene, int orbital) {
    QString error;
    if (PagePicture::Save(path, format, scene, static_cast<std::int16_t>(orbital - 1), error))
        return true;
    Err(path + QStringLiteral(": 画像を書き込めません: ") + error);
    return false;
}

}  // namespace

std::unique_ptr<QCoreApplication> MakeApplication(int& argc, char** argv) {
    bool pages = false;
    for (int i = 1; i < argc && std::strcmp(argv[i], "--") != 0; ++i)
        if (std::strcmp(argv[i], "--page") == 0 || std::strncmp(argv[i], "--page=", 7) == 0)
            pages = true;
    if (!pages) return std::make_unique<QCoreApplication>(argc, argv);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // The GUI application looks into the runtime folder once (for a sandbox's
    // marker file). Without XDG_RUNTIME_DIR, as in a batch job, Qt warns on
    // stderr and makes a shared folder under the temporary folder; a private
    // folder of this run, removed at exit, stands in.
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
        static QTemporaryDir runtime;  // mode 0700, as the folder must have
        if (runtime.isValid()) qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
    }
    return std::make_unique<QGuiApplication>(argc, argv);
}

void AddOptions(QCommandLineParser& parser) {
    parser.addOption(QCommandLineOption(
        kPage,
        QStringLiteral("ページを画像として保存します。SCENE は %1 のどれか、または all "
                       "（すべてのページとすべての軌道）。")
            .arg(SceneList()),
        QStringLiteral("SCENE")));
    parser.addOption(QCommandLineOption(
        kOrbital, QStringLiteral("シーン 11, 12 で描く分子軌道の番号（1 から、既定 1）。"),
        QStringLiteral("K")));
    parser.addOption(QCommandLineOption(
        kOut,
        QStringLiteral("保存する画像ファイル（.png, .svg, .pdf、拡張子で形式を決めます）。"
                       "--page all では保存先のフォルダー。"),
        QStringLiteral("FILE")));
    parser.addOption(QCommandLineOption(
        kFormat, QStringLiteral("--page all の画像形式: png, svg, pdf（既定 svg）。"),
        QStringLiteral("FORMAT")));
}

bool Wanted(const QCommandLineParser& parser) {
    return parser.isSet(kPage) || parser.isSet(kOrbital) || parser.isSet(kOut) ||
           parser.isSet(kFormat);
}

std::optional<Request> Check(const QCommandLineParser& parser, const QStringList& files,
                             QString& error) {
    if (!parser.isSet(kPage)) {
        error = QStringLiteral("--orbital, --out, --format は --page と共に指定してください。");
        return std::nullopt;
    }
    if (parser.isSet(QStringLiteral("json"))) {
        error = QStringLiteral("--page と --json は同時に指定できません。");
        return std::nullopt;
    }
    if (files.size() != 1) {
        error = QStringLiteral("--page には分子データファイルを１つだけ指定してください。");
        return std::nullopt;
    }
    if (!parser.isSet(kOut) || parser.value(kOut).isEmpty()) {
        error = QStringLiteral("--out に保存先を指定してください。");
        return std::nullopt;
    }
    Request r;
    r.file = files.first();
    r.out = parser.value(kOut);
    const QString scene = parser.value(kPage).trimmed();
    r.all = scene.compare(QLatin1String("all"), Qt::CaseInsensitive) == 0;
    if (!r.all) {
        bool ok = false;
        r.scene = scene.toInt(&ok);
        if (!ok || !PagePicture::HasPage(r.scene)) {
            error = QStringLiteral(
                        "シーン %1 にはページがありません（%2 または all を指定"
                        "してください）。")
                        .arg(scene, SceneList());
            return std::nullopt;
        }
    }
    if (parser.isSet(kOrbital)) {
        if (r.all || !PagePicture::IsOrbitalScene(r.scene)) {
            error = QStringLiteral("--orbital はシーン 11 か 12 と共に指定してください。");
            return std::nullopt;
        }
        bool ok = false;
        r.orbital = parser.value(kOrbital).toInt(&ok);
        if (!ok || r.orbital < 1) {
            error = QStringLiteral("軌道番号 %1 は使えません（1 以上の整数）。")
                        .arg(parser.value(kOrbital));
            return std::nullopt;
        }
    }
    if (r.all) {
        const QString name = parser.isSet(kFormat) ? parser.value(kFormat) : QStringLiteral("svg");
        r.format = PagePicture::FormatNamed(name);
        if (r.format == PagePicture::Format::kUnknown) {
            error = QStringLiteral("画像形式 %1 には対応していません（png, svg, pdf）。").arg(name);
            return std::nullopt;
        }
    } else {
        if (parser.isSet(kFormat)) {
            error = QStringLiteral(
                "--format は --page all と共に指定してください"
                "（１枚のときは --out の拡張子で決まります）。");
            return std::nullopt;
        }
        r.format = PagePicture::FormatOf(r.out);
        if (r.format == PagePicture::Format::kUnknown) {
            error = QStringLiteral("%1: 画像の形式が分かりません（拡張子は .png, .svg, .pdf）。")
                        .arg(r.out);
            return std::nullopt;
        }
    }
    return r;
}

int Run(const Request& request) {
    modOrbix::CurrentMolecule = std::make_shared<Molecule>();
    const QByteArray file = orbix::FileNameBytes(request.file);
    modOrbix::CurrentMolecule->filename(file.mid(file.lastIndexOf('/') + 1).toStdString());
    CalcSession::Outcome outcome;
    try {
        outcome = CalcSession::CalculateFile(file.toStdString());
    } catch (const std::exception& e) {
        outcome.code = CalcSession::kUnreadable;
        outcome.message = e.what();
    }
    if (outcome.code != CalcSession::kAccepted) {
        Err(request.file + QStringLiteral(": ") + orbix::FileNameText(outcome.message));
        return 1;
    }
    const int n = modOrbix::CurrentMolecule->Count();
    if (request.orbital > n) {
        Err(QStringLiteral("軌道番号 %1 は範囲外です（%2 の軌道は 1 から %3）。")
                .arg(request.orbital)
                .arg(request.file)
                .arg(n));
        return 2;
    }
    try {
        if (!request.all)
            return Write(request.out, request.format, request.scene,
                         request.orbital ? request.orbital : 1)
                       ? 0
                       : 1;
        std::error_code made;
        std::filesystem::create_directories(orbix::FileNameBytes(request.out).toStdString(), made);
        if (made) {
            Err(request.out + QStringLiteral(": フォルダーを作れません: ") +
                orbix::ErrorText(made.value()));
            return 1;
        }
        const QString folder =
            request.out.endsWith(QLatin1Char('/')) ? request.out : request.out + QLatin1Char('/');
        const QString ext = QLatin1Char('.') + PagePicture::Extension(request.format);
        // The first picture that cannot be written ends the run: the rest would
        // fail alike.
        for (int scene : PagePicture::PageScenes()) {
            const int orbitals = PagePicture::IsOrbitalScene(scene) ? n : 1;
            for (int o = 1; o <= orbitals; ++o)
                if (!Write(folder + PagePicture::FileStem(scene, o) + ext, request.format, scene,
                           o))
                    return 1;
        }
    } catch (const std::exception& e) {
        Err(request.file + QStringLiteral(": ") + QString::fromUtf8(e.what()));
        return 1;
    }
    return 0;
}

}  // namespace PageCommand
