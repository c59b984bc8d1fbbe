#include "frameops_test_support.h"

#include <QFile>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "imagefilters/filter_abi.h"

namespace quib::test {

namespace {
bool readHeader(const char* path, int32_t& w, int32_t& h) {
    QFile file(QString::fromUtf8(path));
    if (!file.open(QIODevice::ReadOnly) || file.read(reinterpret_cast<char*>(&w), 4) != 4 ||
        file.read(reinterpret_cast<char*>(&h), 4) != 4)
        return false;
    return w > 0 && h > 0 && file.size() == 8 + qint64(w) * h * 4;
}

int rawGetInfo(const char* path, ImageDesc* desc, intptr_t, intptr_t) {
    return readHeader(path, desc->width, desc->height) ? 1 : 0;
}

FilterHandle rawOpenRead(const char* path, int*) {
    return new std::string(path);
}

int rawRead(FilterHandle handle, ImageDesc* desc, intptr_t, intptr_t) {
    QFile file(QString::fromStdString(*static_cast<std::string*>(handle)));
    if (!file.open(QIODevice::ReadOnly) || !file.seek(8))
        return 0;
    const qint64 bytes = qint64(desc->width) * desc->height * 4;
    return file.read(static_cast<char*>(desc->pixels), bytes) == bytes ? 1 : 0;
}

void rawCloseRead(FilterHandle handle) {
    delete static_cast<std::string*>(handle);
}

const FilterCaps kRawCaps = {"raw",       "Raw (*.raw)|*.raw",
                             1,           0,
                             rawOpenRead, rawRead,
                             nullptr,     rawCloseRead,
                             rawGetInfo,  nullptr,
                             nullptr,     nullptr,
                             nullptr,     nullptr,
                             nullptr,     nullptr,
                             nullptr};
}  // namespace

FilterTable& rawFilterTable() {
    static FilterTable table = [] {
        FilterTable filled;
        filled.addEntry(nullptr, &kRawCaps);
        return filled;
    }();
    return table;
}

QString writeRawPicture(const QString& folder, const QString& name, const Bitmap32& picture) {
    const QString path = folder + QLatin1Char('/') + name;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return {};
    file.write(reinterpret_cast<const char*>(&picture.width), 4);
    file.write(reinterpret_cast<const char*>(&picture.height), 4);
    file.write(reinterpret_cast<const char*>(picture.pixels.data()), qint64(picture.pixels.size()));
    return path;
}

Bitmap32 solidPicture(int cx, int cy, uint8_t b, uint8_t g, uint8_t r, uint8_t a) {
    Bitmap32 picture(cx, cy);
    for (size_t i = 0; i < picture.pixels.size(); i += 4) {
        picture.pixels[i] = b;
        picture.pixels[i + 1] = g;
        picture.pixels[i + 2] = r;
        picture.pixels[i + 3] = a;
    }
    return picture;
}

std::unique_ptr<QuibProjectDocument> patternProject(int frameCount, int cx, int cy) {
    auto document = QuibProjectDocument::createNew();
    if (!makePatternProject(document->doc(), frameCount, cx, cy))
        return nullptr;
    return document;
}

FrameOpsFixture::FrameOpsFixture() {
    FrameOperationInteraction& ask = FrameOperationCommands::interaction();
    ask = {};
    ask.settings = &settings;
    ask.filters = &rawFilterTable();
    ask.showMessage = [this](const QString& text) { messages << text; };
    ask.askImageFile = [](const QString&, const QString&, const QString&) { return QString(); };
    ask.runInsertDialog = [](InsertFramesDialog&) { return false; };
    ask.runCropDialog = [](CropFramesDialog&) { return false; };
    ask.runBackgroundDialog = [](BackgroundDialog&) { return false; };
}

FrameOpsFixture::~FrameOpsFixture() {
    FrameOperationCommands::interaction() = {};
}

}  // namespace quib::test
