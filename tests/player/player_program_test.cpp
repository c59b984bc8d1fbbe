#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <optional>

#include "appended_movie.h"
#include "support/full_filesystem.h"
#include "swf_builder.h"

using namespace quib::player;
using namespace swftest;

namespace {

const QString PlayerPath = QStringLiteral(QUIB_BUILD_DIR "/player/quib-player");

struct RunResult {
    int exitCode = -1;
    QString errors;
};

RunResult runPlayer(const QString& program, const QStringList& args) {
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    process.setProcessEnvironment(env);
    process.start(program, args);
    RunResult run;
    if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit)
        return run;
    run.exitCode = process.exitCode();
    run.errors = QString::fromLocal8Bit(process.readAllStandardError());
    return run;
}

void writeBytes(const QString& path, const Bytes& bytes, QIODevice::OpenMode mode = QIODevice::WriteOnly) {
    QFile f(path);
    ASSERT_TRUE(f.open(mode));
    f.write(reinterpret_cast<const char*>(bytes.data()), qint64(bytes.size()));
}

Bytes trailer(uint32_t magic, uint32_t length) {
    Bytes out;
    for (uint32_t v : {magic, length})
        for (int i = 0; i < 4; ++i)
            out.push_back(uint8_t(v >> (8 * i)));
    return out;
}

// Three plain frames.
Bytes threeFrameMovie() {
    MovieBuilder b(32, 24);
    for (int i = 0; i < 3; ++i)
        b.showFrame();
    return b.finish();
}

class PlayerProgram : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(QFile::exists(PlayerPath)) << PlayerPath.toStdString();
        ASSERT_TRUE(dir.isValid());
    }
    QString path(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }
    // A copy of the player with the movie and its trailer appended.
    QString selfRunning(const char* name, const Bytes& movie, const Bytes& tail) {
        QString exe = path(name);
        EXPECT_TRUE(QFile::copy(PlayerPath, exe));
        writeBytes(exe, movie, QIODevice::Append);
        writeBytes(exe, tail, QIODevice::Append);
        return exe;
    }
    QTemporaryDir dir;
};

}  // namespace

// Every self-running program carries a copy of a projector: each stays small and, outside debug
// builds, has no debug information.
TEST(Projectors, AreSmallAndCarryNoDebugInformation) {
    for (const char* name : {"quib-projector", "quib-projector.exe"}) {
        QFile projector(QStringLiteral(QUIB_BUILD_DIR "/share/quib/projectors/") + QLatin1String(name));
        ASSERT_TRUE(projector.open(QIODevice::ReadOnly)) << name;
        const QByteArray bytes = projector.readAll();
#ifndef QUIB_SANITIZED  // instrumented code is larger; the Windows one is built without
        EXPECT_LT(bytes.size(), 1536 * 1024) << name;
#else
        if (QLatin1String(name).endsWith(QLatin1String(".exe")))
            EXPECT_LT(bytes.size(), 1536 * 1024) << name;
#endif
        // Nothing beyond what every Windows machine has: zlib and the C++ runtime are linked in.
        for (const char* library :
             {"zlib1.dll", "libstdc++-6.dll", "libgcc_s_seh-1.dll", "libwinpthread-1.dll"})
            EXPECT_FALSE(bytes.toLower().contains(library)) << name << " needs " << library;
#ifdef NDEBUG
        EXPECT_FALSE(bytes.contains(".debug_info")) << name;
#endif
    }
}

// Each failing run gives its exit code and writes no picture; says is a part of its message (empty for
// any message), nullopt when the message is not checked.
TEST_F(PlayerProgram, FailingRunsAreReportedAndWriteNothing) {
    Bytes damaged = threeFrameMovie(), truncated = threeFrameMovie();
    damaged[10] ^= 0xFF;
    damaged.resize(damaged.size() - 5);
    truncated.resize(truncated.size() / 2);
    writeBytes(path("bad.swf"), truncated);
    writeBytes(path("movie.swf"), threeFrameMovie());
    quib::test::FullFilesystem full(path("full").toStdString(), "out.png", "old picture");
    const QString out = path("out.png"), movie = path("movie.swf");
    const QString format = QStringLiteral("Formato del file inaspettato.");
    const QString cannotCreate = QStringLiteral("Impossibile creare il file ");
    struct Case {
        const char* what;
        QString program;
        QStringList args;
        int exitCode;
        std::optional<QString> says;
    };
    std::vector<Case> cases = {
        {"appended length beyond the file",
         selfRunning("long", threeFrameMovie(), trailer(AppendedMovieMagic, 0x7FFFFFF0)),
         {"--dump-frame", "0", out},
         1,
         QString()},
        {"malformed appended movie",
         selfRunning("damaged", damaged, trailer(AppendedMovieMagic, uint32_t(damaged.size()))),
         {"--dump-frame", "0", out},
         1,
         format},
        {"no argument and no appended movie", PlayerPath, {}, 2, QStringLiteral("--dump-frame")},
        {"dump without a movie", PlayerPath, {"--dump-frame", "0", out}, 2, std::nullopt},
        {"malformed file", PlayerPath, {"--dump-frame", "0", path("bad.swf"), out}, 1, format},
        {"missing file", PlayerPath, {"--dump-frame", "0", path("none.swf"), out}, 1, QString()},
        {"frame past the last", PlayerPath, {"--dump-frame", "3", movie, out}, 1, std::nullopt},
        {"frame that is not a number", PlayerPath, {"--dump-frame", "one", movie, out}, 2, std::nullopt},
        {"a device is not read", PlayerPath, {"--dump-frame", "0", "/dev/zero", out}, 1, format},
    };
    // Targets that cannot be written: a folder that is a file, a missing folder, no room left half way.
    for (const QString& target : {movie + "/out.png", path("none/out.png"), path("full/out.png")})
        if (!target.startsWith(path("full")) || full.mounted())
            cases.push_back(
                {"target", PlayerPath, {"--dump-frame", "1", movie, target}, 1, cannotCreate + target});
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.what) + ": " + c.args.join(' ').toStdString());
        const RunResult run = runPlayer(c.program, c.args);
        EXPECT_EQ(run.exitCode, c.exitCode);
        if (c.says) {
            EXPECT_FALSE(run.errors.isEmpty());
            EXPECT_TRUE(run.errors.contains(*c.says)) << run.errors.toStdString();
        }
        EXPECT_FALSE(QFile::exists(out));
    }
    if (full.mounted()) {
        QFile old(path("full/out.png"));
        ASSERT_TRUE(old.open(QIODevice::ReadOnly));
        EXPECT_EQ(old.readAll(), QByteArray("old picture"));
    }
}

TEST(AppendedMovie, FoundOnlyWithTheMagicAndAWholeMovie) {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("f"));
    const auto withTrailer = [](uint32_t magic, uint32_t length) {
        Bytes bytes = {9, 9, 9, 1, 2, 3, 4, 5}, tail = trailer(magic, length);
        bytes.insert(bytes.end(), tail.begin(), tail.end());
        return bytes;
    };
    const struct {
        const char* what;
        Bytes bytes;
        bool found, error;
    } cases[] = {
        {"the last 5 bytes", withTrailer(AppendedMovieMagic, 5), true, false},
        {"one byte more than the file holds before the trailer", withTrailer(AppendedMovieMagic, 9), true,
         true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        writeBytes(file, c.bytes);
        const AppendedMovieResult r = readAppendedMovie(file.toStdString());
        EXPECT_EQ(r.found, c.found);
        EXPECT_EQ(r.error.empty(), !c.error);
        if (c.found && !c.error) {
            EXPECT_EQ(r.movie, (Bytes{1, 2, 3, 4, 5}));
        }
    }
    writeBytes(file, Bytes{0x56, 0x34});
    EXPECT_FALSE(readAppendedMovie(file.toStdString()).found);
}
