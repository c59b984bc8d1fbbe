#include "project_file.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "base/byte_stream.h"
#include "base/strings.h"
#include "base/worker_pool.h"
#include "base/zlib_util.h"
#include "output_path.h"

namespace quib {

namespace {

// Compressed variant: a pixel equal to the previous frame's is stored as this marker.
constexpr uint8_t kSameAsPrevious = 3;

// The smallest frame record: every fixed field, empty strings, no cursor and no image.
constexpr size_t kMinFrameRecordBytes = 4 + 8 + 8 + 4 + 16 + 1 + 1 + 68 + 4 + 8 + 4 + 8 + 2 * 16 + 4 + 1;

// A project without frames keeps a working picture of its frame size only up to this size: no
// stream of the file stands for it.
constexpr size_t kMaxUnbackedPictureBytes = size_t(64) << 20;

// Refuses a stream that cannot inflate to the picture it stands for, before anything is inflated.
void checkStreamFillsPicture(size_t streamBytes, size_t pictureBytes) {
    if (pictureBytes > maxInflatedBytes(streamBytes))
        throw FormatError("picture larger than its stream can produce");
}

size_t checkedPictureBytes(Size size, int bytesPerPixel, size_t limit) {
    auto bytes = pictureBytes(size.cx, size.cy, bytesPerPixel);
    if (!bytes || *bytes > limit)
        throw FormatError("picture size out of range");
    return *bytes;
}

Bitmap32 readBitmap32(ByteReader& in, int32_t width, int32_t height) {
    const size_t bytes = checkedPictureBytes(Size{width, height}, 4, ProjectFile::kMaxPictureBytes);
    Bitmap32 image;
    if (bytes == 0)
        return image;
    in.need(bytes);
    image.width = width;
    image.height = height;
    image.pixels = in.byteVector(bytes);
    return image;
}

// A frame's stream: a part of the file when the file is kept, otherwise a copy.
SharedBytes readStream(ByteReader& in, size_t bound, const std::shared_ptr<const FileBuffer>& file) {
    const uint32_t length = in.u32();
    if (length > bound)
        throw FormatError("stream longer than its bound");
    if (file)
        return FileBuffer::part(file, in.bytes(length), length);
    return in.byteVector(length);
}

// Gathers the small fields into chunks and passes picture streams to the sink as they are.
class SinkWriter {
public:
    explicit SinkWriter(const ProjectFile::ByteSink& sink) : m_sink(sink) {}
    ByteWriter& out() { return m_out; }
    void stream(const uint8_t* data, size_t size) {
        flush();
        if (m_ok && size != 0)
            m_ok = m_sink(data, size);
    }
    void flushIfLarge() {
        if (m_chunk.size() >= kChunkBytes)
            flush();
    }
    bool finish() {
        flush();
        return m_ok;
    }
    bool ok() const { return m_ok; }

private:
    static constexpr size_t kChunkBytes = 64 * 1024;
    void flush() {
        if (m_ok && !m_chunk.empty())
            m_ok = m_sink(m_chunk.data(), m_chunk.size());
        m_chunk.clear();
    }
    const ProjectFile::ByteSink& m_sink;
    std::vector<uint8_t> m_chunk;
    ByteWriter m_out{m_chunk};
    bool m_ok = true;
};

void writeNavButton(ByteWriter& out, const NavButton& b, bool withTarget) {
    out.u32(b.visible);
    out.point(b.pos);
    if (withTarget)
        out.i32(b.targetOffset);
}

NavButton readNavButton(ByteReader& in, bool withTarget) {
    NavButton b;
    b.visible = in.u32();
    b.pos = in.point();
    if (withTarget)
        b.targetOffset = in.coordinate();
    return b;
}

void writeFrameRecord(SinkWriter& writer, const Frame& frame, bool withImage) {
    ByteWriter& out = writer.out();
    out.u32(frame.cursorVisible);
    out.point(frame.cursorPos);
    const bool hasCursor = frame.hasCursorImage();
    out.i32(hasCursor ? frame.cursorWidth : 0);
    out.i32(hasCursor ? frame.cursorHeight : 0);
    if (hasCursor)
        out.bytes(frame.cursorPixels.data(), frame.cursorPixels.size());
    if (withImage) {
        out.u32(frame.imageSize());
        writer.stream(frame.imageData.data(), frame.imageData.size());
    }
    out.u32(frame.textBox.visible);
    out.rect(frame.textBox.rect);
    out.archiveString(frame.textBox.text);
    out.archiveString(frame.textBox.calloutName);
    out.textFont(frame.textBox.font);
    writeNavButton(out, frame.prevButton, false);
    writeNavButton(out, frame.nextButton, false);
    writeNavButton(out, frame.gotoButtons[0], true);
    writeNavButton(out, frame.gotoButtons[1], true);
    out.u32(frame.displayTime);
    out.archiveString(frame.title);
    writer.flushIfLarge();
}

Frame readFrameRecord(ByteReader& in, bool withImage, size_t imageBound, size_t pictureBytes,
                      const std::shared_ptr<const FileBuffer>& file) {
    Frame frame;
    frame.cursorVisible = in.u32();
    frame.cursorPos = in.point();
    const int32_t width = in.i32();
    const int32_t height = in.i32();
    frame.setCursorImage(readBitmap32(in, width, height));
    if (frame.cursorPixels.empty())
        frame.cursorWidth = frame.cursorHeight = 0;
    if (withImage) {
        frame.imageData = readStream(in, imageBound, file);
        // An empty stream is a black picture; any other must be able to fill the frame.
        if (!frame.imageData.empty())
            checkStreamFillsPicture(frame.imageData.size(), pictureBytes);
    }
    frame.textBox.visible = in.u32();
    frame.textBox.rect = in.rect();
    frame.textBox.text = in.archiveString();
    frame.textBox.calloutName = in.archiveString();
    frame.textBox.font = in.textFont();
    frame.prevButton = readNavButton(in, false);
    frame.nextButton = readNavButton(in, false);
    frame.gotoButtons[0] = readNavButton(in, true);
    frame.gotoButtons[1] = readNavButton(in, true);
    frame.displayTime = in.u32();
    frame.title = in.archiveString();
    return frame;
}

void inflateInto(std::span<const uint8_t> stream, std::vector<uint8_t>& out) {
    // zlib errors are not reported: the picture keeps whatever was produced.
    if (!out.empty() && !stream.empty())
        (void)zlibUncompress(stream.data(), stream.size(), out.data(), out.size());
}

// Frame i of the compressed variant: its picture with the pixels equal to frame i - 1's marked.
std::vector<uint8_t> compressedVariantStream(const CQuibDoc& doc, int i, size_t pictureSize, size_t bound) {
    std::vector<uint8_t> current(pictureSize);
    inflateInto(doc.frames[size_t(i)].imageData.span(), current);
    if (i > 0) {
        std::vector<uint8_t> previous(pictureSize);
        inflateInto(doc.frames[size_t(i - 1)].imageData.span(), previous);
        // A real 3,3,3 pixel is nudged to 4,4,4 so that the marker stays unambiguous.
        for (size_t p = 0; p + 2 < current.size(); p += 3) {
            uint8_t* px = &current[p];
            if (px[0] == kSameAsPrevious && px[1] == kSameAsPrevious && px[2] == kSameAsPrevious)
                px[0] = px[1] = px[2] = kSameAsPrevious + 1;
            if (px[0] == previous[p] && px[1] == previous[p + 1] && px[2] == previous[p + 2])
                px[0] = px[1] = px[2] = kSameAsPrevious;
        }
    }
    auto stream = zlibCompress(current.data(), current.size(), 9, bound);
    return stream ? std::move(*stream) : std::vector<uint8_t>();
}

void writeCompressedImages(SinkWriter& writer, const CQuibDoc& doc, Progress& progress) {
    const int count = doc.frameCount();
    progress.setText(stringText(str::SavingCompressed));
    progress.setRange(0, std::max(count - 1, 0));
    const size_t pictureSize =
        size_t(std::max(doc.frameSize.cx, 0)) * size_t(std::max(doc.frameSize.cy, 0)) * 3;
    const size_t bound = pictureStreamBound(doc.frameSize.cx, doc.frameSize.cy);
    // Each frame is made from its own picture and the one before, so frames compress side by
    // side, one per core; they are written in order.
    WorkerPool pool;
    std::vector<std::vector<uint8_t>> streams(pool.threadCount());
    for (int first = 0; first < count && writer.ok(); first += int(streams.size())) {
        const int n = std::min(int(streams.size()), count - first);
        for (int k = 0; k < n; ++k)
            pool.submit(
                [&, k] { streams[size_t(k)] = compressedVariantStream(doc, first + k, pictureSize, bound); });
        pool.wait();
        for (int k = 0; k < n; ++k) {
            std::vector<uint8_t>& bytes = streams[size_t(k)];
            writer.out().u32(uint32_t(bytes.size()));
            writer.stream(bytes.data(), bytes.size());
            bytes = {};
            progress.setPosition(first + k);
        }
    }
}

void readCompressedImages(ByteReader& in, ProjectData& data, Progress& progress) {
    const int count = int(data.frames.size());
    progress.setText(stringText(str::LoadingCompressed));
    progress.setRange(0, std::max(count - 1, 0));
    const size_t pictureSize = size_t(data.frameSize.cx) * size_t(data.frameSize.cy) * 3;
    const size_t bound = pictureStreamBound(data.frameSize.cx, data.frameSize.cy);
    std::vector<uint8_t> previous, current;
    for (int i = 0; i < count; ++i) {
        const uint32_t length = in.u32();
        if (length > bound)
            throw FormatError("stream longer than its bound");
        const uint8_t* stream = in.bytes(length);
        checkStreamFillsPicture(length, pictureSize);
        if (i == 0)
            previous.resize(pictureSize), current.resize(pictureSize);
        std::fill(current.begin(), current.end(), 0);
        // zlib errors are not reported: the picture keeps whatever was produced.
        if (length != 0 && !current.empty())
            (void)zlibUncompress(stream, length, current.data(), current.size());
        if (i > 0) {
            for (size_t p = 0; p + 2 < current.size(); p += 3) {
                uint8_t* px = &current[p];
                if (px[0] == kSameAsPrevious && px[1] == kSameAsPrevious && px[2] == kSameAsPrevious)
                    std::memcpy(px, &previous[p], 3);
            }
        }
        auto image = compressPicture(current, data.frameSize, 1);
        if (image)
            data.frames[size_t(i)].imageData = std::move(*image);
        previous.swap(current);
        progress.setPosition(i);
    }
}

// The project's text style follows everything else, so that a reader of the plain format, which
// stops after the frames, still loads the file.
constexpr uint32_t kTextStyleMagic = 0x59545351;  // "QSTY"
constexpr uint32_t kTextStyleVersion = 1;

void writeTextStyle(ByteWriter& out, const TextStyle& style) {
    out.u32(kTextStyleMagic);
    out.u32(kTextStyleVersion);
    out.textFont(style.font);
    out.archiveString(style.calloutName);
}

// A missing, unknown or damaged block leaves the standard style: it only decides new text boxes.
TextStyle readTextStyle(ByteReader& in) {
    TextStyle style;
    if (in.remaining() < 8 || in.u32() != kTextStyleMagic || in.u32() != kTextStyleVersion)
        return style;
    try {
        TextStyle read;
        read.font = in.textFont();
        read.calloutName = in.archiveString();
        style = std::move(read);
    } catch (const FormatError&) {
    }
    return style;
}

ProjectData parse(ByteReader& in, const std::string& filePath, bool settingsOnly, Progress& progress,
                  ProjectFileHeader& header, const std::shared_ptr<const FileBuffer>& file) {
    ProjectData data;
    data.projectDir = projectDirOf(filePath);
    data.settingsOnly = settingsOnly;
    if (in.u32() != ProjectFile::kMagic)
        throw FormatError("not a project file");
    header.version = in.u16();
    if (header.version != ProjectFile::kVersion)
        throw FormatError("unsupported version");
    const uint32_t compressed = in.u32();
    header.compressed = compressed != 0;
    header.frameCount = in.u32();

    data.backgroundSize = in.size();
    data.frameSize = in.size();
    data.frameOrigin = in.point();
    const size_t frameBytes = checkedPictureBytes(data.frameSize, 3, ProjectFile::kMaxPictureBytes);

    const uint32_t backgroundLength = in.u32();
    if (backgroundLength != 0) {
        const size_t bytes = checkedPictureBytes(data.backgroundSize, 3, ProjectFile::kMaxPictureBytes);
        if (backgroundLength > pictureStreamBound(data.backgroundSize.cx, data.backgroundSize.cy))
            throw FormatError("background stream longer than its bound");
        checkStreamFillsPicture(backgroundLength, bytes);
        in.need(backgroundLength);
        const std::vector<uint8_t> stream = in.byteVector(backgroundLength);
        if (bytes != 0) {
            data.backgroundImage = Bitmap24(data.backgroundSize.cx, data.backgroundSize.cy);
            inflateInto(stream, data.backgroundImage.pixels);
        }
    }

    ProjectSettings& s = data.settings;
    s.outputFileName = in.archiveString();
    s.outputType = storedOutputType(in.archiveString());
    s.frameRate = in.u32();
    s.cursorSmoothness = in.u32();
    s.usePalette = in.u32();
    s.paletteCount = in.i32();
    if (s.paletteCount < 0 || s.paletteCount > 256)
        throw FormatError("palette count out of range");
    in.bytesInto(s.palette, size_t(s.paletteCount) * sizeof(PaletteEntry));

    for (Bitmap32& image : data.buttonImages.images) {
        const Size size = in.size();
        image = readBitmap32(in, size.cx, size.cy);
    }
    data.titles.enabled = in.u32();
    data.titles.font = in.textFont();
    data.titles.rect = in.rect();

    if (!settingsOnly) {
        const bool withImages = !header.compressed;
        if (header.frameCount > in.remaining() / kMinFrameRecordBytes)
            throw FormatError("frame count too large");
        const size_t bound = pictureStreamBound(data.frameSize.cx, data.frameSize.cy);
        if (header.frameCount > 0) {
            // Every frame is composed on the canvas: with no background picture to stand for it,
            // the canvas is bounded by what the file's bytes could produce.
            const uint64_t fileCanProduce = maxInflatedBytes(in.position() + in.remaining());
            const auto canvasBytes = pictureBytes(data.backgroundSize.cx, data.backgroundSize.cy, 3);
            if (!canvasBytes || frameBytes > fileCanProduce ||
                (data.backgroundImage.isNull() && *canvasBytes > fileCanProduce))
                throw FormatError("canvas larger than the file can describe");
        }
        data.frames.reserve(header.frameCount);
        for (uint32_t i = 0; i < header.frameCount; ++i)
            data.frames.push_back(readFrameRecord(in, withImages, bound, frameBytes, file));
        if (header.compressed)
            readCompressedImages(in, data, progress);
        s.textStyle = readTextStyle(in);
    }

    if (frameBytes != 0 && (!data.frames.empty() || frameBytes <= kMaxUnbackedPictureBytes))
        data.currentImage = Bitmap24(data.frameSize.cx, data.frameSize.cy);
    if (!s.outputFileName.empty())
        s.outputFileName = absoluteOutputName(data.projectDir, s.outputFileName);
    return data;
}

}  // namespace

std::vector<uint8_t> ProjectFile::store(CQuibDoc& doc, const std::string& filePath, Progress& progress) {
    std::vector<uint8_t> bytes;
    size_t expected = 4096 + doc.backgroundImage.pixels.size() / 4;
    for (const Frame& frame : doc.frames)
        expected += 512 + frame.cursorPixels.size() + (doc.compressedSave ? 0 : frame.imageData.size());
    bytes.reserve(expected);
    (void)write(doc, filePath, progress, [&bytes](const uint8_t* data, size_t size) {
        bytes.insert(bytes.end(), data, data + size);
        return true;
    });
    return bytes;
}

bool ProjectFile::write(CQuibDoc& doc, const std::string& filePath, Progress& progress,
                        const ByteSink& sink) {
    doc.projectDir = projectDirOf(filePath);
    const std::string outputName = doc.settings.outputFileName.empty()
                                       ? std::string()
                                       : relativeOutputName(doc.projectDir, doc.settings.outputFileName);
    if (doc.imageChanged)
        doc.CommitFrameImage(-1);
    if (doc.elementsChanged)
        doc.CommitFrameElements(-1);
    doc.imageChanged = doc.elementsChanged = false;

    SinkWriter writer(sink);
    ByteWriter& out = writer.out();
    out.u32(kMagic);
    out.u16(kVersion);
    out.u32(doc.compressedSave ? 1 : 0);
    out.u32(uint32_t(doc.frameCount()));
    out.size(doc.backgroundSize);
    out.size(doc.frameSize);
    out.point(doc.frameOrigin);

    std::vector<uint8_t> background;
    if (!doc.backgroundImage.isNull()) {
        const size_t bound = pictureStreamBound(doc.backgroundSize.cx, doc.backgroundSize.cy);
        auto stream =
            zlibCompress(doc.backgroundImage.pixels.data(), doc.backgroundImage.pixels.size(), 9, bound);
        if (stream)
            background = std::move(*stream);
    }
    out.u32(uint32_t(background.size()));
    writer.stream(background.data(), background.size());

    ProjectSettings& s = doc.settings;
    out.archiveString(outputName);
    out.archiveString(std::string(outputTypeName(s.outputType)));
    out.u32(s.frameRate);
    out.u32(s.cursorSmoothness);
    out.u32(s.usePalette);
    s.paletteCount = std::clamp(s.paletteCount, 0, 256);
    out.i32(s.paletteCount);
    out.bytes(s.palette, size_t(s.paletteCount) * sizeof(PaletteEntry));

    for (const Bitmap32& image : doc.buttonImages.images) {
        const bool has = !image.isNull();
        out.i32(has ? image.width : 0);
        out.i32(has ? image.height : 0);
        out.bytes(image.pixels.data(), image.pixels.size());
    }
    out.u32(doc.titles.enabled);
    out.textFont(doc.titles.font);
    out.rect(doc.titles.rect);

    for (const Frame& frame : doc.frames) {
        if (!writer.ok())
            return false;
        writeFrameRecord(writer, frame, !doc.compressedSave);
    }
    if (doc.compressedSave)
        writeCompressedImages(writer, doc, progress);
    writeTextStyle(out, s.textStyle);
    return writer.finish();
}

Status ProjectFile::load(const uint8_t* bytes, size_t size, CQuibDoc& doc, const std::string& filePath,
                         Progress& progress, ProjectFileHeader* header,
                         const std::shared_ptr<const FileBuffer>& file) {
    ProjectFileHeader parsedHeader;
    ProjectData data;
    try {
        ByteReader in(bytes, size);
        data = parse(in, filePath, doc.settingsOnly, progress, parsedHeader, file);
    } catch (const FormatError&) {
        return Status::failure(str::UnexpectedFormat);
    } catch (const std::bad_alloc&) {
        return Status::failure(str::UnexpectedFormat);
    }
    doc.replaceContents(std::move(data));
    doc.currentFrameIndex = -1;
    doc.SelectFrame(0, true);
    doc.compressedSave = false;
    if (header)
        *header = parsedHeader;
    return Status::success();
}

}  // namespace quib
