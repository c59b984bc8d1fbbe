#include "render_project.h"

#include <fcntl.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <memory>
#include <optional>

#include "model/frame_composition.h"
#include "model/output_path.h"
#include "model/quib_doc.h"
#include "palette/nearest_colour_map.h"
#include "render/color_table.h"
#include "render/cursor_track.h"
#include "render/frame_image_track.h"
#include "render/movie_output.h"
#include "render/movie_pixels.h"
#include "render/movie_timing.h"
#include "shapes/callout_library.h"
#include "shapes/default_callouts.h"
#include "swf/swf_actions.h"
#include "swf/swf_button_object.h"
#include "swf/swf_movie.h"
#include "swf/swf_shape_object.h"

namespace quib {

namespace {

constexpr uint16_t kBackgroundLayer = 90;
constexpr uint16_t kTitleLayer = 98;
constexpr uint16_t kTextBoxLayer = 100;
constexpr uint16_t kButtonLayer = 110;
constexpr int kClickCondition = int(ButtonCondition::OverDownToOverUp);

// Whether a new file can be made in the folder of path; nothing is left behind and an existing
// file of that name is not touched.
bool canCreateFileAt(const std::string& path) {
    static std::atomic<unsigned> counter{0};
    const std::string dir = projectDirOf(path);
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string probe =
            dir + ".quib-render-" + std::to_string(::getpid()) + "-" + std::to_string(counter++);
        const int fd = ::open(probe.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd >= 0) {
            ::close(fd);
            ::unlink(probe.c_str());
            break;
        }
        if (errno != EEXIST)
            return false;
    }
    // A folder of that name cannot be replaced by the movie.
    const int existing = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (existing >= 0) {
        ::close(existing);
        return false;
    }
    return true;
}

struct PendingLink {
    int stopFrame = 0;
    int target = 0;
    Point position;
    int button = 0;  // 0 or 1: Goto 1 or Goto 2
};

// One render: the movie being filled and everything that lives only while it is built.
class RenderPass {
public:
    RenderPass(const CQuibDoc& doc, const CalloutLibrary& callouts, Progress& progress, SwfMovie& movie)
        : m_doc(doc), m_callouts(callouts), m_progress(progress), m_movie(movie) {}

    RenderStats run();

private:
    void prepareButtons();
    void placeBackground();
    void renderFrame(int i, const Frame& frame);
    void placeButton(int kind, Point position, const ActionSource& action, int stopFrame, bool stays);
    // until < 0: the text stays on the stage.
    void placeText(const Callout& callout, const Rect& rect, const TextFont& font, const std::string& text,
                   uint16_t layer, int from, int until);

    const CQuibDoc& m_doc;
    const CalloutLibrary& m_callouts;
    Progress& m_progress;
    SwfMovie& m_movie;
    RenderStats m_stats;

    std::optional<RenderPalette> m_palette;
    std::optional<NearestColourMap> m_nearest;  // of m_palette
    std::unique_ptr<FrameImageTrack> m_images;
    std::unique_ptr<CursorTrack> m_cursor;
    std::array<std::unique_ptr<BitmapObject>, 4> m_buttonPictures;
    std::array<std::unique_ptr<ButtonObject>, 4> m_buttons;
    std::unique_ptr<ShapeObject> m_background;
    std::vector<FrameLinks> m_plan;
    std::vector<PendingLink> m_links;
    Bitmap24 m_picture;
    int m_f = 0;
    int m_lastStop = 0;
    int m_progressOffset = 0;
};

void RenderPass::prepareButtons() {
    for (int k = 0; k < 4; ++k) {
        const Bitmap32& picture = m_doc.buttonImages.images[k];
        if (picture.isNull() || picture.width <= 0 || picture.height <= 0)
            continue;
        const std::vector<uint8_t> premultiplied = swfPremultipliedArgb(picture);
        SwfBitmapDescription bitmap;
        bitmap.format = SwfBitmapDescription::Argb32;
        bitmap.width = picture.width;
        bitmap.height = picture.height;
        bitmap.hasAlpha = true;
        bitmap.pixels = premultiplied;
        bitmap.level = 9;
        m_buttonPictures[k] =
            std::make_unique<BitmapObject>(m_movie, 0, 0, picture.width - 1, picture.height - 1, bitmap);
        if (!m_buttonPictures[k]->ok()) {
            m_movie.recordError(m_buttonPictures[k]->status().message());
            m_buttonPictures[k].reset();
            continue;
        }
        m_buttons[k] = std::make_unique<ButtonObject>(m_buttonPictures[k].get());
        m_buttons[k]->setLayer(kButtonLayer);
    }
}

void RenderPass::placeBackground() {
    std::vector<uint8_t> pixels;
    convertImageForMovie(m_doc.backgroundImage, pixels, m_palette ? &m_palette->table : nullptr,
                         m_nearest ? &*m_nearest : nullptr);
    const int w = m_doc.backgroundImage.width, h = m_doc.backgroundImage.height;
    SwfBitmapDescription bitmap;
    bitmap.width = w;
    bitmap.height = h;
    bitmap.level = 9;
    ColorTable used;
    if (m_palette) {
        used = compactPalette(pixels.data(), int(indexedRowBytes(w)), w, h, m_palette->table);
        bitmap.format = SwfBitmapDescription::ColorMapped8;
        bitmap.hasAlpha = true;
        bitmap.colorCount = used.count;
        bitmap.colorTable = used.bytes();
    } else {
        bitmap.format = SwfBitmapDescription::Argb32;
        bitmap.hasAlpha = false;
    }
    bitmap.pixels = pixels;
    m_background = std::make_unique<ShapeObject>(0, 0, w - 1, h - 1);
    m_background->setLineWidth(0);
    if (Status status = m_background->setBitmap(m_movie, bitmap); !status)
        m_movie.recordError(status.message());
    m_background->setLayer(kBackgroundLayer);
    m_movie.frame(0).place(*m_background);
}

void RenderPass::placeButton(int kind, Point position, const ActionSource& action, int stopFrame,
                             bool stays) {
    ButtonObject& button = *m_buttons[kind];
    m_buttonPictures[kind]->setTranslate(position.x, position.y);
    button.setAction(action, kClickCondition);
    m_movie.frame(stopFrame).place(button);
    if (!stays)
        m_movie.frame(stopFrame + 1).remove(button);
}

void RenderPass::placeText(const Callout& callout, const Rect& rect, const TextFont& font,
                           const std::string& text, uint16_t layer, int from, int until) {
    // An empty text shows the callout's placeholder, as in the editor.
    std::optional<IndexedPicture> picture =
        RenderTextBoxIndexed(callout, rect, font.logFont, font.color,
                             text.empty() ? std::nullopt : std::optional<std::string_view>(text), font.align);
    if (!picture || picture->width <= 0 || picture->height <= 0 || picture->colourCount < 1)
        return;
    SwfBitmapDescription bitmap;
    bitmap.format = SwfBitmapDescription::ColorMapped8;
    bitmap.width = picture->width;
    bitmap.height = picture->height;
    bitmap.hasAlpha = true;
    bitmap.colorCount = picture->colourCount;
    bitmap.colorTable = std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(picture->palette.data()),
                                                 size_t(picture->colourCount) * sizeof(PaletteEntry));
    bitmap.pixels = picture->pixels;
    bitmap.level = 9;
    BitmapObject object(m_movie, rect.left, rect.top, rect.left + picture->width - 1,
                        rect.top + picture->height - 1, bitmap);
    if (!object.ok()) {
        m_movie.recordError(object.status().message());
        return;
    }
    object.setLayer(layer);
    m_movie.frame(from).place(object);
    if (until >= 0)
        m_movie.frame(until).remove(object);
}

void RenderPass::renderFrame(int i, const Frame& frame) {
    convertImageForMovie(m_picture, m_images->current(), m_palette ? &m_palette->table : nullptr,
                         m_nearest ? &*m_nearest : nullptr);
    m_f = m_cursor->advance(m_f, frame.cursorVisible != 0, frame.cursorPos, frame.cursorImage());
    switch (m_images->update(i, m_f)) {
        case FrameImageTrack::Change::Patch:
            ++m_stats.imagePatches;
            break;
        case FrameImageTrack::Change::FullFrame:
            ++m_stats.fullFrames;
            break;
        case FrameImageTrack::Change::None:
            break;
    }

    m_stats.frameStart[size_t(i)] = m_f + 1;
    const int stop = m_f + 2;
    m_stats.stopFrame.push_back(stop);
    int64_t hold = holdFrames(frame.displayTime, m_doc.settings.frameRate);

    const Callout* callout =
        frame.textBox.visible ? calloutForTextBox(m_callouts, frame.textBox.calloutName) : nullptr;

    // The movie ends on the last frame as it stands, whatever the player does at the end.
    const bool last = i == m_doc.frameCount() - 1;
    const FrameLinks& links = m_plan[size_t(i)];
    if (links.previous != FrameLinks::kNone)
        placeButton(ButtonImageSet::Previous, frame.prevButton.pos,
                    GotoFrameActionSource(uint16_t(m_lastStop)), stop, last);
    if (links.next)
        placeButton(ButtonImageSet::Next, frame.nextButton.pos, PlayActionSource(), stop, last);
    for (int k = 0; k < 2; ++k) {
        // A target is placed once its frame is in the movie; one never reached is dropped.
        if (links.gotoTarget[size_t(k)] >= 0)
            m_links.push_back(PendingLink{stop, links.gotoTarget[size_t(k)], frame.gotoButtons[k].pos, k});
    }
    for (size_t n = m_links.size(); n-- > 0;) {
        const PendingLink link = m_links[n];
        if (link.target != i && !(link.stopFrame == stop && link.target < i))
            continue;
        m_links.erase(m_links.begin() + std::ptrdiff_t(n));
        const int start = m_stats.frameStart[size_t(link.target)];
        placeButton(ButtonImageSet::Goto1 + link.button, link.position,
                    GotoFrameActionSource(uint16_t(start)), link.stopFrame, last && link.stopFrame == stop);
        m_movie.frame(start).addActions(PlayActionSource());
    }
    if (links.stops) {
        m_movie.frame(stop).addActions(StopActionSource());
        m_lastStop = stop;
        hold = 1;
    }
    // The format holds at most 65535 frames; anything longer fails when the movie is written.
    const int until = int(std::min<int64_t>(stop + hold, SwfMovie::kMaximumFrames + 1));
    const int removal = last ? -1 : until;

    if (callout && frame.textBox.visible)
        placeText(*callout, frame.textBox.rect, frame.textBox.font, frame.textBox.text, kTextBoxLayer, stop,
                  removal);
    if (m_doc.titles.enabled && !frame.title.empty()) {
        const Callout noShapes;
        placeText(noShapes, m_doc.titles.rect, m_doc.titles.font, frame.title, kTitleLayer, stop, removal);
    }
    if (last && !links.stops)
        m_movie.frame(until - 1).addActions(StopActionSource());
    m_f = until;
}

RenderStats RenderPass::run() {
    const int count = m_doc.frameCount();
    if (m_doc.settings.usePalette) {
        m_palette = makeRenderPalette(m_doc.settings);
        m_nearest.emplace(m_palette->table.entries.data(), 0, m_palette->table.count, true);
    }
    const bool hasBackground = !m_doc.backgroundImage.isNull();
    m_progressOffset = hasBackground ? 1 : 0;

    m_movie.setWidth(m_doc.backgroundSize.cx);
    m_movie.setHeight(m_doc.backgroundSize.cy);
    m_movie.setFrameRate(int(m_doc.settings.frameRate));
    m_movie.frame(0).setBackgroundColor(kUncoveredCanvas, kUncoveredCanvas, kUncoveredCanvas);

    m_progress.setRange(0, count - 1 + m_progressOffset);
    m_progress.setPosition(0);
    if (hasBackground) {
        placeBackground();
        m_progress.setPosition(1);
    }
    prepareButtons();
    m_plan = planFrameLinks(m_doc, count,
                            {bool(m_buttons[0]), bool(m_buttons[1]), bool(m_buttons[2]), bool(m_buttons[3])});
    m_images = std::make_unique<FrameImageTrack>(m_movie, m_doc.frameSize, m_doc.frameOrigin,
                                                 m_palette ? &*m_palette : nullptr);
    m_cursor = std::make_unique<CursorTrack>(m_movie, int(m_doc.settings.cursorSmoothness));
    m_stats.frameStart.assign(size_t(count), 0);

    for (int i = 0; i < count; ++i) {
        if (m_progress.cancelled()) {
            m_stats.cancelled = true;
            break;
        }
        if (Status status = m_doc.decodeFrame(i, m_picture); !status) {
            m_stats.frameStatus = status;
            break;
        }
        renderFrame(i, m_doc.readFrame(i));
        ++m_stats.projectFrames;
        m_progress.setPosition(i + m_progressOffset);
    }
    m_stats.frameStart.resize(size_t(m_stats.projectFrames));
    m_stats.swfFrames = m_movie.frameCount();
    m_stats.cursorPictures = m_cursor->libraryCount();
    return m_stats;
}

}  // namespace

RenderCheck CheckRenderable(const CQuibDoc& doc) {
    return CheckRenderable(doc, doc.settings.outputFileName);
}

RenderCheck CheckRenderable(const CQuibDoc& doc, const std::string& outputPath) {
    RenderCheck check;
    const ProjectSettings& s = doc.settings;
    if (outputPath.empty()) {
        check.blocker = RenderBlocker::NoOutputName;
        return check;
    }
    if (!canCreateFileAt(outputPath)) {
        check.blocker = RenderBlocker::CannotCreateFile;
        check.status = Status::failure(str::CannotCreateFile);
        return check;
    }
    // The web page shows frames as they are composed, so only the movie needs a palette.
    if (s.usePalette && s.paletteCount < 1 && s.outputType != OutputType::Html5) {
        check.blocker = RenderBlocker::NoPalette;
        check.status = Status::failureText(kNoPaletteMessage);
        return check;
    }
    if (doc.backgroundSize.cx > SwfMovie::kMaximumSize || doc.backgroundSize.cy > SwfMovie::kMaximumSize) {
        check.blocker = RenderBlocker::MovieLimits;
        check.status = Status::failureText("Il filmato non può superare 16383 x 16383 pixel");
        return check;
    }
    if (s.frameRate < 1 || s.frameRate > uint32_t(SwfMovie::kMaximumFrameRate)) {
        check.blocker = RenderBlocker::MovieLimits;
        check.status = Status::failureText("Il frame rate del filmato deve essere tra 1 e 255");
        return check;
    }
    return check;
}

RenderStats BuildProjectMovie(const CQuibDoc& doc, const CalloutLibrary& callouts, Progress& progress,
                              SwfMovie& movie) {
    RenderPass pass(doc, callouts, progress, movie);
    return pass.run();
}

RenderResult RenderProject(const CQuibDoc& doc, const CalloutLibrary& callouts, Progress& progress) {
    return RenderProjectTo(doc, callouts, doc.settings.outputFileName, doc.settings.outputType, progress);
}

RenderResult RenderProjectTo(const CQuibDoc& doc, const CalloutLibrary& callouts,
                             const std::string& outputPath, OutputType type, Progress& progress,
                             const std::string& playerPath) {
    RenderResult result;
    result.check = CheckRenderable(doc, outputPath);
    if (!result.check.ok())
        return result;
    SwfMovie movie;
    result.stats = BuildProjectMovie(doc, callouts, progress, movie);
    if (!result.stats.frameStatus.ok()) {
        // A damaged frame: nothing is written, the old output stays.
        result.movieStatus = result.stats.frameStatus;
        return result;
    }
    OutputResult output = WriteMovieOutput(movie, outputPath, type, doc.backgroundSize, playerPath);
    result.movieStatus = output.movieStatus;
    result.pageStatus = output.pageStatus;
    result.pagePath = output.pagePath;
    result.outputBytes = output.outputBytes;
    return result;
}

}  // namespace quib
