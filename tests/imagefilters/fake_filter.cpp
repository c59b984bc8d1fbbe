// A stand-in plug-in whose behaviour depends on the extension it is asked about, so that the
// loader's rules can be checked without real image files. FAKE_MARK tells the copies apart.
#include <cstring>
#include <string>
#include <vector>

#include "imagefilters/filter_abi.h"

#if FAKE_VARIANT == 1
#define FAKE_EXTENSIONS "jpg;jpeg"
#define FAKE_DESCRIPTION "First JPEG|*.jpg;*.jpeg"
#else
#define FAKE_EXTENSIONS "png;jpg"
#define FAKE_DESCRIPTION "Second|*.png;*.jpg"
#endif

#define FAKE_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

FilterTools* g_tools = nullptr;
int g_dummyHandle = 0;
int g_openHandles = 0;

std::string extensionOf(const char* path) {
    const char* dot = std::strrchr(path, '.');
    return dot ? std::string(dot + 1) : std::string();
}

int getInfo(const char* path, ImageDesc* desc, intptr_t, intptr_t) {
    const std::string ext = extensionOf(path);
    if (ext == "infofail")
        return 0;
    desc->width = 2;
    desc->height = 1;
    if (ext == "huge")
        desc->width = desc->height = 100000;
    if (ext == "neg")
        desc->width = -1;
    return 1;
}

FilterHandle openRead(const char* path, int* status) {
    const std::string ext = extensionOf(path);
    if (ext == "openfail")
        return nullptr;
    if (ext == "badstatus")
        *status = 7;
    ++g_openHandles;
    return &g_dummyHandle;
}

int read(FilterHandle, ImageDesc* desc, intptr_t, intptr_t) {
    if (desc->width == 2 && desc->height == 1 && desc->pixels) {
        auto* p = static_cast<uint8_t*>(desc->pixels);
        const uint8_t bytes[8] = {FAKE_MARK, 2, 3, 4, 5, 6, 7, 8};
        std::memcpy(p, bytes, 8);
    }
    return 1;
}

int readFail(FilterHandle, ImageDesc*, intptr_t, intptr_t) {
    return 0;
}

void closeRead(FilterHandle) {
    --g_openHandles;
}

FilterCaps record(const char* extensions, const char* description, uintptr_t readBits, uintptr_t writeBits,
                  bool failingRead = false) {
    FilterCaps caps{};
    caps.extensions = extensions;
    caps.description = description;
    caps.readCaps = readBits;
    caps.writeCaps = writeBits;
    caps.openRead = &openRead;
    caps.read = failingRead ? &readFail : &read;
    caps.closeRead = &closeRead;
    caps.getInfo = &getInfo;
    return caps;
}

std::vector<FilterCaps> makeRecords() {
    std::vector<FilterCaps> records;
    records.push_back(record(FAKE_EXTENSIONS, FAKE_DESCRIPTION, 1, 1));
    records.push_back(record("onlybit1", "Second bit only|*.onlybit1", 2, 2));
    records.push_back(record("xyz;XY2", "Write only|*.xyz;*.xy2", 0, 1));
    records.push_back(record("infofail;openfail;badstatus;huge;neg", "Odd|*.odd", 1, 0));
    records.push_back(record("readfail", "Failing read|*.readfail", 1, 0, true));
    records.push_back(record("", "Empty list|*.none", 1, 1));
    return records;
}

std::vector<FilterCaps> g_records = makeRecords();

}  // namespace

FAKE_EXPORT int GetFilterCaps(FilterCaps** caps) {
    *caps = g_records.data();
    return int(g_records.size());
}

FAKE_EXPORT int SetFilterTools(FilterTools* tools) {
    g_tools = tools;
    return 1;
}

FAKE_EXPORT FilterTools* FakeToolsSeen() {
    return g_tools;
}
FAKE_EXPORT int FakeOpenHandles() {
    return g_openHandles;
}
