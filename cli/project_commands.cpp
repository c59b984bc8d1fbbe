#include <zlib.h>

#include <charconv>
#include <iostream>
#include <string>
#include <vector>

#include "base/cp1252.h"
#include "base/progress.h"
#include "base/zlib_util.h"
#include "cli_command.h"
#include "json_writer.h"
#include "model/project_storage.h"
#include "model/synthetic_project.h"

namespace quib::cli {

namespace {

void writeFont(JsonWriter& json, const TextFont& font) {
    json.beginObject();
    json.key("face").value(cp1252ToUtf8(font.logFont.face()));  // the record keeps code page 1252
    json.key("height").value(font.logFont.height);
    json.key("weight").value(font.logFont.weight);
    json.key("italic").value(font.logFont.italic != 0);
    json.key("color").value(font.color);
    json.key("align").value(font.align);
    json.endObject();
}

void writeRect(JsonWriter& json, const Rect& r) {
    json.beginArray();
    json.value(r.left);
    json.value(r.top);
    json.value(r.right);
    json.value(r.bottom);
    json.endArray();
}

uint32_t imageCrc32(const CQuibDoc& doc, const Frame& frame) {
    std::vector<uint8_t> pixels(size_t(std::max(doc.frameSize.cx, 0)) *
                                size_t(std::max(doc.frameSize.cy, 0)) * 3);
    if (!pixels.empty() && !frame.imageData.empty())
        (void)zlibUncompress(frame.imageData.data(), frame.imageData.size(), pixels.data(), pixels.size());
    return uint32_t(crc32(crc32(0L, Z_NULL, 0), pixels.data(), uInt(pixels.size())));
}

void writeFrame(JsonWriter& json, const CQuibDoc& doc, const Frame& f) {
    json.beginObject();
    json.key("title").value(f.title);
    json.key("text").value(f.textBox.text);
    json.key("callout").value(f.textBox.calloutName);
    json.key("textVisible").value(f.textBox.visible != 0);
    json.key("textRect");
    writeRect(json, f.textBox.rect);
    json.key("font");
    writeFont(json, f.textBox.font);
    json.key("displayTime").value(f.displayTime);
    json.key("cursor").beginObject();
    json.key("visible").value(f.cursorVisible != 0);
    json.key("pos").pair(f.cursorPos.x, f.cursorPos.y);
    json.key("size").pair(f.cursorWidth, f.cursorHeight);
    json.endObject();
    for (const auto& [name, button] : {std::pair{"prev", &f.prevButton}, std::pair{"next", &f.nextButton}}) {
        json.key(name).beginObject();
        json.key("visible").value(button->visible != 0);
        json.key("pos").pair(button->pos.x, button->pos.y);
        json.endObject();
    }
    json.key("goto").beginArray();
    for (const NavButton& button : f.gotoButtons) {
        json.beginObject();
        json.key("visible").value(button.visible != 0);
        json.key("pos").pair(button.pos.x, button.pos.y);
        json.key("offset").value(button.targetOffset);
        json.endObject();
    }
    json.endArray();
    json.key("imageCrc32").value(imageCrc32(doc, f));
    json.endObject();
}

std::string projectJson(const CQuibDoc& doc, const ProjectFileHeader& header) {
    JsonWriter json;
    json.beginObject();
    json.key("version").value(uint32_t(header.version));
    json.key("compressed").value(header.compressed);
    json.key("frameCount").value(int32_t(doc.frameCount()));
    json.key("backgroundSize").pair(doc.backgroundSize.cx, doc.backgroundSize.cy);
    json.key("frameSize").pair(doc.frameSize.cx, doc.frameSize.cy);
    json.key("frameOrigin").pair(doc.frameOrigin.x, doc.frameOrigin.y);
    json.key("hasBackground").value(!doc.backgroundImage.isNull());
    json.key("outputFileName").value(doc.settings.outputFileName);
    json.key("outputType").value(std::string(outputTypeName(doc.settings.outputType)));
    json.key("frameRate").value(doc.settings.frameRate);
    json.key("cursorSmoothness").value(doc.settings.cursorSmoothness);
    json.key("usePalette").value(doc.settings.usePalette != 0);
    json.key("paletteCount").value(doc.settings.paletteCount);
    json.key("palette").beginArray();
    for (int i = 0; i < doc.settings.paletteCount; ++i) {
        const PaletteEntry& e = doc.settings.palette[i];
        json.beginArray();
        json.value(int32_t(e.red));
        json.value(int32_t(e.green));
        json.value(int32_t(e.blue));
        json.endArray();
    }
    json.endArray();
    json.key("buttons").beginArray();
    for (const Bitmap32& image : doc.buttonImages.images)
        json.pair(image.width, image.height);
    json.endArray();
    json.key("titles").beginObject();
    json.key("enabled").value(doc.titles.enabled != 0);
    json.key("rect");
    writeRect(json, doc.titles.rect);
    json.key("font");
    writeFont(json, doc.titles.font);
    json.endObject();
    json.key("frames").beginArray();
    // The stored frames as the file holds them (the working copy hides buttons of the ends).
    for (const Frame& frame : doc.frames)
        writeFrame(json, doc, frame);
    json.endArray();
    json.endObject();
    return json.text();
}

int runInfo(const std::vector<std::string>& args);
int runSave(const std::vector<std::string>& args);
int runCompress(const std::vector<std::string>& args);
int runNew(const std::vector<std::string>& args);

const Command kInfo{"info", "info FILE.qbk", runInfo};
const Command kSave{"save", "save IN.qbk OUT.qbk", runSave};
const Command kCompress{"compress", "compress IN.qbk OUT.qbk", runCompress};
const Command kNew{"new", "new OUT.qbk --size W,H --frames N", runNew};

int runInfo(const std::vector<std::string>& args) {
    if (args.size() != 1)
        return usage(kInfo);
    CQuibDoc doc;
    NullProgress progress;
    ProjectFileHeader header;
    if (Status status = LoadProject(args[0], doc, progress, &header); !status)
        return fail(status.message());
    std::cout << projectJson(doc, header) << '\n';
    return 0;
}

int copyProject(const std::vector<std::string>& args, bool compressed) {
    CQuibDoc doc;
    NullProgress progress;
    if (Status status = LoadProject(args[0], doc, progress); !status)
        return fail(status.message());
    Status status =
        compressed ? SaveProjectCompressed(args[1], doc, progress) : SaveProject(args[1], doc, progress);
    if (!status)
        return fail(status.message() + ": " + args[1]);
    return 0;
}

int runSave(const std::vector<std::string>& args) {
    if (args.size() != 2)
        return usage(kSave);
    return copyProject(args, false);
}

int runCompress(const std::vector<std::string>& args) {
    if (args.size() != 2)
        return usage(kCompress);
    return copyProject(args, true);
}

bool parseInt(std::string_view text, int& out) {
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), out);
    return ec == std::errc() && end == text.data() + text.size();
}

int runNew(const std::vector<std::string>& args) {
    std::string output;
    int cx = 640, cy = 480, frames = 4;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--size" && i + 1 < args.size()) {
            const std::string& v = args[++i];
            const size_t comma = v.find(',');
            if (comma == std::string::npos || !parseInt(std::string_view(v).substr(0, comma), cx) ||
                !parseInt(std::string_view(v).substr(comma + 1), cy) || cx <= 0 || cy <= 0 || cx > 16384 ||
                cy > 16384)
                return usage(kNew);
        } else if (args[i] == "--frames" && i + 1 < args.size()) {
            if (!parseInt(args[++i], frames) || frames < 0 || frames > 100000)
                return usage(kNew);
        } else if (output.empty() && !args[i].starts_with("--")) {
            output = args[i];
        } else {
            return usage(kNew);
        }
    }
    if (output.empty())
        return usage(kNew);
    CQuibDoc doc;
    if (!buildSyntheticProject(doc, cx, cy, frames))
        return fail("impossibile creare il progetto");
    NullProgress progress;
    if (Status status = SaveProject(output, doc, progress); !status)
        return fail(status.message() + ": " + output);
    return 0;
}

}  // namespace

std::vector<Command> projectCommands() {
    return {kInfo, kSave, kCompress, kNew};
}

}  // namespace quib::cli
