#include "export/html_export.h"

#include <algorithm>
#include <atomic>
#include <cstdio>

#include "base/atomic_file.h"
#include "base/worker_pool.h"
#include "export/export_names.h"
#include "imagefilters/image_file.h"
#include "model/frame_composer.h"
#include "model/goto_target.h"

namespace quib {

namespace {

std::string format(const char* pattern, auto... args) {
    char buffer[256];
    const int n = std::snprintf(buffer, sizeof buffer, pattern, args...);
    return std::string(buffer, size_t(n > 0 ? n : 0));
}

std::string areaLine(const char* alt, const NavButton& button, const Bitmap32& picture, long long target) {
    // Positions come from files: computed wide so that no value can overflow.
    const long long x = button.pos.x, y = button.pos.y;
    return format("<area shape=\"rect\" alt=\"%s\" coords=\"%lld,%lld,%lld,%lld\" href=\"#link%lld\">\r\n",
                  alt, x, y, x + picture.width - 1, y + picture.height - 1, target);
}

Status cannotCreate(const std::string& path) {
    return Status::failure(str::CannotCreateFile,
                           std::string(stringText(str::CannotCreateFile)) + " " + path);
}

}  // namespace

std::string HtmlExportNames::imagePath(int index) const {
    return imageBase + std::to_string(index) + "." + imageExtension;
}

HtmlExportNames htmlExportNames(const std::string& pageName, const FilterCaps& caps) {
    HtmlExportNames names;
    names.pagePath = withDefaultExtension(pageName, ".htm");
    names.imageBase = withoutExtension(names.pagePath);
    const std::string list = caps.extensions ? caps.extensions : "";
    names.imageExtension = list.substr(0, list.find(';'));
    return names;
}

std::vector<int> htmlExportFilterIndices(const FilterTable& filters) {
    std::vector<int> indices;
    for (int i = 0; i < filters.size(); ++i) {
        const FilterCaps* caps = filters.entry(i).caps;
        if (caps && (caps->writeCaps & QUIB_FILTER_CAP_BASIC))
            indices.push_back(i);
    }
    return indices;
}

std::string filterDisplayName(const FilterCaps& caps) {
    const std::string description = caps.description ? caps.description : "";
    return description.substr(0, description.find('|'));
}

std::string htmlFrameLines(int index, int frameCount, const FrameElements& frame,
                           const ButtonImageSet& images, int lastLinkedFrame,
                           const std::string& imageFileName, bool* linked) {
    std::string lines = format("<map name=\"frame%dmap\">\r\n", index);
    bool any = false;
    if (frame.prevButton.visible) {
        lines += areaLine("Prev", frame.prevButton, images.images[ButtonImageSet::Previous], lastLinkedFrame);
        any = true;
    }
    if (frame.nextButton.visible && int64_t(index) + 1 < frameCount) {
        lines += areaLine("Next", frame.nextButton, images.images[ButtonImageSet::Next], index + 1LL);
        any = true;
    }
    for (int g = 0; g < 2; ++g) {
        const NavButton& button = frame.gotoButtons[g];
        if (!button.visible)
            continue;
        if (const std::optional<int> target = gotoTarget(index, button.targetOffset, frameCount)) {
            lines += areaLine("Goto", button, images.images[ButtonImageSet::Goto1 + g], *target);
            any = true;
        }
    }
    lines += "</map>\r\n";
    // The picture itself carries the link name, so that following a link shows the frame from its
    // top edge.
    lines += format("<img id=\"link%d\" border=0 src=\"", index) + escapeHtmlAttribute(imageFileName) +
             "\" usemap=\"#frame" + std::to_string(index) + "map\"><br><br>\r\n";
    if (linked)
        *linked = any;
    return lines;
}

ExportResult ExportHtml(const CQuibDoc& doc, const CalloutLibrary& callouts, const std::string& pageName,
                        const FilterTable& filters, int filterIndex, Progress& progress) {
    ExportResult result;
    if (filterIndex < 0 || filterIndex >= filters.size() || !filters.entry(filterIndex).caps ||
        !(filters.entry(filterIndex).caps->writeCaps & QUIB_FILTER_CAP_BASIC)) {
        result.status = Status::failureText("Nessun tipo di file disponibile per salvare le immagini");
        return result;
    }
    const FilterCaps& caps = *filters.entry(filterIndex).caps;
    const HtmlExportNames names = htmlExportNames(pageName, caps);
    result.path = names.pagePath;

    AtomicFile page;
    if (!page.open(names.pagePath)) {
        result.status = cannotCreate(names.pagePath);
        return result;
    }

    const int count = doc.frameCount();
    FrameComposer composer(doc, callouts);
    Bitmap24 picture;
    progress.setRange(0, count - 1);
    progress.setPosition(0);
    std::string text = kHtmlPageStart;
    std::vector<size_t> textAfter;  // length of text once frame i is in it
    int lastLinked = 0;
    // Frames are composed here, one after the other, and encoded on every core meanwhile.
    std::atomic<int> firstFailed{count};
    int composeFailed = count;
    {
        WorkerPool pool;
        for (int i = 0; i < count && i < firstFailed; ++i) {
            if (progress.cancelled()) {
                result.cancelled = true;
                break;
            }
            const std::string imagePath = names.imagePath(i);
            if (Status status = composer.compose(i, picture); !status) {
                result.status = status;
                composeFailed = i;
                break;
            }
            pool.submit([&filters, &caps, &firstFailed, imagePath, i, job = picture] {
                if (!SaveImageFile(filters, imagePath, job, &caps)) {
                    int seen = firstFailed.load();
                    while (i < seen && !firstFailed.compare_exchange_weak(seen, i)) {
                    }
                }
            });
            bool linked = false;
            text += htmlFrameLines(i, count, composer.frame(), doc.buttonImages, lastLinked,
                                   exportFileName(imagePath), &linked);
            textAfter.push_back(text.size());
            if (linked)
                lastLinked = i;
            progress.setPosition(i + 1);
        }
    }
    // The page holds the frames before the first whose picture could not be written.
    const int failed = firstFailed.load();
    result.framesWritten = std::min<int>(int(textAfter.size()), failed);
    if (failed < composeFailed && failed < count) {
        result.status = cannotCreate(names.imagePath(failed));
        text.resize(failed == 0 ? std::string(kHtmlPageStart).size() : textAfter[size_t(failed - 1)]);
    }
    text += kHtmlPageEnd;

    if (!page.commit(text) && result.status.ok())
        result.status = cannotCreate(names.pagePath);
    return result;
}

}  // namespace quib
