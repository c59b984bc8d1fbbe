#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>

#include "base/atomic_file.h"
#include "export/export_names.h"
#include "export/picture_encode_pool.h"
#include "export/web_movie.h"
#include "model/frame_composer.h"
#include "model/quib_doc.h"
#include "render/frame_image_track.h"
#include "render/movie_pixels.h"
#include "render/movie_timing.h"

namespace quib {

namespace fs = std::filesystem;

namespace {

std::vector<uint8_t> cropPicture(const Bitmap24& picture, const Rect& rect) {
    std::vector<uint8_t> out(size_t(rect.width()) * size_t(rect.height()) * 3);
    for (int y = rect.top; y < rect.bottom; ++y)
        std::copy_n(picture.pixel(rect.left, y), size_t(rect.width()) * 3,
                    out.begin() + std::ptrdiff_t(size_t(y - rect.top) * size_t(rect.width()) * 3));
    return out;
}

std::string numbered(char kind, int n, PictureFormat format) {
    char name[32];
    std::snprintf(name, sizeof name, "%c%04d.%s", kind, n, pictureExtension(format));
    return name;
}

// Letters, digits and "-._~" stay; every other byte of the folder name is escaped for the page.
std::string urlPath(const std::string& name) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : name) {
        if (std::isalnum(c) || c == '-' || c == '.' || c == '_' || c == '~') {
            out += char(c);
        } else {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 15];
        }
    }
    return out;
}

bool pictureShown(const Bitmap32& picture) {
    return !picture.isNull() && picture.width > 0 && picture.height > 0;
}

Status copyPlayer(const fs::path& folder) {
    for (const std::string& source : webPlayerFolders()) {
        bool whole = true;
        for (const char* file : kWebPlayerFiles)
            whole = whole && fs::is_regular_file(fs::path(source) / file);
        if (!whole)
            continue;
        for (const char* file : kWebPlayerFiles) {
            std::error_code error;
            if (!fs::copy_file(fs::path(source) / file, folder / file, fs::copy_options::overwrite_existing,
                               error))
                return Status::failure(str::CannotCreateFile);
        }
        return Status::success();
    }
    return Status::failureText("Impossibile trovare il lettore HTML5 (quib-player.js)");
}

bool samePixels(const Bitmap24& a, const Bitmap24& b, const Rect& rect);

// Builds the frames into the new folder; the caller commits or removes it.
class WebMovieBuilder {
public:
    WebMovieBuilder(const CQuibDoc& doc, const CalloutLibrary& callouts, PictureFormat format,
                    PictureEncodePool& pool)
        : m_doc(doc), m_composer(doc, callouts), m_format(format), m_pool(pool) {}

    Status addFrame(int i, const FrameLinks& links, WebMovie& movie);

private:
    static constexpr int kTile = 256;

    void addPicture(int i, WebFrame& web);
    void addTiles(WebFrame& web);
    void addCursor(const Frame& frame, WebFrame& web, WebMovie& movie);
    void addButtons(const Frame& frame, const FrameLinks& links, WebFrame& web);

    const CQuibDoc& m_doc;
    FrameComposer m_composer;
    PictureFormat m_format;
    PictureEncodePool& m_pool;
    Bitmap24 m_stage, m_previous;
    int m_lastFull = -FrameImageTrack::kFullFrameInterval;
    Bitmap24 m_lastWhole;                  // the stage of the last whole frame
    std::vector<std::string> m_tileFiles;  // its tiles, row by row
    int m_tileCount = 0;
    std::vector<Bitmap32> m_cursors;
    std::map<std::vector<uint8_t>, std::string> m_marks;
    bool m_cursorOnStage = false;
    Point m_cursorPosition;
    int m_cursorPicture = -1;
};

void WebMovieBuilder::addPicture(int i, WebFrame& web) {
    const Size canvas = m_doc.backgroundSize;
    const Rect whole{0, 0, canvas.cx, canvas.cy};
    Rect changed = whole;
    if (i > 0)
        changed = changedRect(m_stage.pixels.data(), m_previous.pixels.data(), canvas, m_stage.stride(), 3);
    // A whole picture at least every tenth frame bounds what a jump has to draw; a change over half the
    // stage is stored whole as well, since it costs about as much.
    const int64_t area = int64_t(changed.width()) * changed.height();
    if (i - m_lastFull >= FrameImageTrack::kFullFrameInterval || 2 * area >= int64_t(canvas.cx) * canvas.cy) {
        changed = whole;
        m_lastFull = i;
    }
    if (changed.isEmpty())
        return;
    if (i == m_lastFull) {
        addTiles(web);
        return;
    }
    web.pictures.push_back(WebPicture{numbered('f', i, m_format), changed});
    m_pool.add(EncodeJob{web.pictures.back().file, cropPicture(m_stage, changed), changed.width(),
                         changed.height(), false});
}

bool samePixels(const Bitmap24& a, const Bitmap24& b, const Rect& rect) {
    for (int y = rect.top; y < rect.bottom; ++y)
        if (std::memcmp(a.pixel(rect.left, y), b.pixel(rect.left, y), size_t(rect.width()) * 3) != 0)
            return false;
    return true;
}

void WebMovieBuilder::addTiles(WebFrame& web) {
    // Whole frames are tiles, so that what stayed since the last whole frame costs nothing.
    const Size canvas = m_doc.backgroundSize;
    const bool comparable = m_lastWhole.width == m_stage.width && m_lastWhole.height == m_stage.height;
    const size_t columns = size_t((canvas.cx + kTile - 1) / kTile);
    m_tileFiles.resize(columns * size_t((canvas.cy + kTile - 1) / kTile));
    web.whole = true;
    for (int y = 0; y < canvas.cy; y += kTile)
        for (int x = 0; x < canvas.cx; x += kTile) {
            const Rect tile{x, y, std::min(x + kTile, canvas.cx), std::min(y + kTile, canvas.cy)};
            std::string& file = m_tileFiles[size_t(y / kTile) * columns + size_t(x / kTile)];
            if (!comparable || !samePixels(m_stage, m_lastWhole, tile)) {
                file = numbered('t', m_tileCount++, m_format);
                m_pool.add(EncodeJob{file, cropPicture(m_stage, tile), tile.width(), tile.height(), false});
            }
            web.pictures.push_back(WebPicture{file, tile});
        }
    m_lastWhole = m_stage;
}

void WebMovieBuilder::addCursor(const Frame& frame, WebFrame& web, WebMovie& movie) {
    const Bitmap32 picture = frame.cursorImage();
    const bool visible = frame.cursorVisible && pictureShown(picture);
    if (m_cursorOnStage) {
        const bool changed = !visible || !(m_cursors[size_t(m_cursorPicture)] == picture);
        web.glideFrames = std::max<int64_t>(
            glideSteps(m_cursorPosition, frame.cursorPos, int(m_doc.settings.cursorSmoothness), changed), 0);
    }
    m_cursorOnStage = visible;
    m_cursorPosition = frame.cursorPos;
    web.cursor = frame.cursorPos;
    if (!visible)
        return;
    auto known = std::find(m_cursors.begin(), m_cursors.end(), picture);
    m_cursorPicture = int(known - m_cursors.begin());
    if (known == m_cursors.end()) {
        m_cursors.push_back(picture);
        movie.cursorPictures.push_back(numbered('c', m_cursorPicture, m_format));
        m_pool.add(
            EncodeJob{movie.cursorPictures.back(), picture.pixels, picture.width, picture.height, true});
    }
    web.cursorPicture = m_cursorPicture;

    const Rect area = Rect{frame.cursorPos.x, frame.cursorPos.y, frame.cursorPos.x + picture.width,
                           frame.cursorPos.y + picture.height}
                          .intersected(Rect{0, 0, m_doc.backgroundSize.cx, m_doc.backgroundSize.cy});
    if (area.isEmpty())
        return;
    std::vector<uint8_t> mark = cropPicture(m_stage, area);
    AlphaBlend32(mark.data(), area.width() * 3,
                 Point{frame.cursorPos.x - area.left, frame.cursorPos.y - area.top},
                 Rect{0, 0, area.width(), area.height()}, picture);
    std::vector<uint8_t> key = mark;
    for (int32_t v : {area.width(), area.height()})
        key.insert(key.end(), reinterpret_cast<const uint8_t*>(&v), reinterpret_cast<const uint8_t*>(&v) + 4);
    auto [entry, added] = m_marks.try_emplace(std::move(key), numbered('m', int(m_marks.size()), m_format));
    web.cursorMark = entry->second;
    web.cursorMarkRect = area;
    if (added)
        m_pool.add(EncodeJob{entry->second, std::move(mark), area.width(), area.height(), false});
}

void WebMovieBuilder::addButtons(const Frame& frame, const FrameLinks& links, WebFrame& web) {
    auto add = [&](int kind, Point position, WebButton::Action action, int target) {
        const Bitmap32& picture = m_doc.buttonImages.images[kind];
        web.buttons.push_back(
            WebButton{Rect{position.x, position.y, position.x + picture.width, position.y + picture.height},
                      action, target});
    };
    if (links.previous != FrameLinks::kNone)
        add(ButtonImageSet::Previous, frame.prevButton.pos, WebButton::Action::ShowFrame,
            std::max(links.previous, 0));
    if (links.next)
        add(ButtonImageSet::Next, frame.nextButton.pos, WebButton::Action::PlayOn, 0);
    for (int k = 0; k < 2; ++k)
        if (links.gotoTarget[size_t(k)] >= 0)
            add(ButtonImageSet::Goto1 + k, frame.gotoButtons[k].pos, WebButton::Action::PlayFrom,
                links.gotoTarget[size_t(k)]);
}

Status WebMovieBuilder::addFrame(int i, const FrameLinks& links, WebMovie& movie) {
    if (Status status = m_composer.compose(i, m_stage, ComposeAll & ~uint32_t(ComposeCursor)); !status)
        return status;
    const Frame& frame = m_composer.frame();
    WebFrame web;
    addPicture(i, web);
    addCursor(frame, web, movie);
    addButtons(frame, links, web);
    web.holdFrames = holdFrames(frame.displayTime, m_doc.settings.frameRate);
    web.stops = links.stops;
    web.title = frame.title;
    if (frame.textBox.visible)
        web.text = frame.textBox.text;
    if (i == 0 && !m_stage.isNull())
        std::copy_n(m_stage.pixel(0, 0), 3, std::rbegin(movie.background));
    movie.frames.push_back(std::move(web));
    std::swap(m_stage, m_previous);
    return Status::success();
}

// Puts the new folder in the place of the old one; the old one goes only once the new one is there.
// Folders that a writer which no longer runs left behind (".NAME_files.new-PID", ".old-PID").
void removeAbandonedFolders(const fs::path& folder, const std::string& name) {
    std::error_code error;
    for (const char* kind : {".new-", ".old-"}) {
        const std::string prefix = "." + name + "_files" + kind;
        for (const auto& entry : fs::directory_iterator(folder.empty() ? fs::path(".") : folder, error)) {
            const std::string file = entry.path().filename().string();
            if (!file.starts_with(prefix))
                continue;
            const pid_t pid = pid_t(std::atoi(file.c_str() + prefix.size()));
            if (pid > 0 && ::kill(pid, 0) != 0 && errno == ESRCH)
                fs::remove_all(entry.path(), error);
        }
    }
}

bool replaceFolder(const fs::path& fresh, const fs::path& target, const std::string& suffix) {
    std::error_code error;
    const fs::path old = target.parent_path() / ("." + target.filename().string() + ".old-" + suffix);
    const bool existed = fs::exists(fs::symlink_status(target, error));
    if (existed && (fs::rename(target, old, error), error))
        return false;
    if (fs::rename(fresh, target, error), error) {
        if (existed)
            fs::rename(old, target, error);
        return false;
    }
    if (existed)
        fs::remove_all(old, error);
    return true;
}

}  // namespace

std::vector<std::string> webPlayerFolders() {
    std::vector<std::string> folders;
    std::error_code error;
    const fs::path self = fs::read_symlink("/proc/self/exe", error);
    if (!error)
        folders.push_back((self.parent_path() / "../share/quib/html5").lexically_normal().string());
    folders.push_back(QUIB_BUILD_DATA_DIR "/html5");
    folders.push_back(QUIB_INSTALL_DATA_DIR "/html5");
    return folders;
}

ExportResult writeWebMovie(const CQuibDoc& doc, const CalloutLibrary& callouts, const std::string& path,
                           PictureFormat format, Progress& progress) {
    ExportResult result;
    result.path = path;
    const int count = doc.frameCount();
    const fs::path page(path);
    const std::string name = withoutExtension(exportFileName(path));
    const fs::path folder = page.parent_path() / (name + "_files");
    const std::string suffix = std::to_string(::getpid());
    const fs::path fresh = page.parent_path() / ("." + name + "_files.new-" + suffix);
    std::error_code error;
    removeAbandonedFolders(page.parent_path(), name);
    fs::remove_all(fresh, error);
    if (doc.backgroundSize.isEmpty() || name.empty() || !fs::create_directory(fresh, error)) {
        result.status = Status::failure(str::CannotCreateFile);
        return result;
    }
    auto fail = [&](Status status) {
        fs::remove_all(fresh, error);
        result.status = std::move(status);
        return result;
    };
    if (Status status = copyPlayer(fresh); !status)
        return fail(status);

    WebMovie movie;
    movie.name = name;
    movie.folder = urlPath(name + "_files") + "/";
    movie.canvas = doc.backgroundSize;
    movie.frameRate = doc.settings.frameRate;
    std::array<bool, 4> hasPicture{};
    for (int k = 0; k < 4; ++k)
        hasPicture[size_t(k)] = pictureShown(doc.buttonImages.images[k]);
    const std::vector<FrameLinks> plan = planFrameLinks(doc, count, hasPicture);

    PictureEncodePool pool(fresh.string(), format);
    WebMovieBuilder builder(doc, callouts, format, pool);
    progress.setRange(0, count);
    progress.setPosition(0);
    for (int i = 0; i < count; ++i) {
        if (progress.cancelled()) {
            result.cancelled = true;
            break;
        }
        if (Status status = builder.addFrame(i, plan[size_t(i)], movie); !status)
            return fail(status);
        progress.setPosition(i + 1);
    }
    if (!pool.flush())
        return fail(Status::failure(str::CannotCreateFile));
    // After a cancel, go-to buttons to frames that were not written are dropped.
    const int written = int(movie.frames.size());
    for (WebFrame& frame : movie.frames)
        std::erase_if(frame.buttons, [&](const WebButton& b) { return b.frame >= written; });
    size_t total = pool.bytes();
    const std::string timeline = webMovieTimeline(movie);
    const std::string html = webMoviePage(movie);
    if (!writeFileAtomically((fresh / "timeline.js").string(), timeline))
        return fail(Status::failure(str::CannotCreateFile));
    if (!replaceFolder(fresh, folder, suffix) || !writeFileAtomically(path, html))
        return fail(Status::failure(str::CannotCreateFile));
    for (const char* file : kWebPlayerFiles)
        total += size_t(fs::file_size(folder / file, error));
    result.bytes = total + timeline.size() + html.size();
    result.framesWritten = written;
    return result;
}

}  // namespace quib
