#pragma once

// The realistic screen recording every output benchmark works on: the project named by
// QUIB_BENCH_PROJECT (made with `quib-cli import-images` from screen_frames.py pictures), or else
// the same pictures made now by screen_frames.py (python3-pil) into a folder of this run.

#include <sys/resource.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "base/progress.h"
#include "model/project_storage.h"
#include "model/quib_doc.h"

namespace quib::bench {

inline constexpr int kRecordingWidth = 1920, kRecordingHeight = 1080;

// Frames as PNG files f_NNNN.png plus frames.raw (blue, green, red, x), made once per run.
inline std::filesystem::path recordingFramesFolder(int frames) {
    static const std::filesystem::path folder = [frames] {
        char pattern[] = "/tmp/quib-bench-frames-XXXXXX";
        if (!mkdtemp(pattern))
            return std::filesystem::path();
        const std::filesystem::path made = pattern;
        const std::string command = "/usr/bin/python3 '" QUIB_SHARED_BENCH_DIR "/screen_frames.py' " +
                                    std::to_string(frames) + " '" + made.string() + "' '" +
                                    (made / "frames.raw").string() + "' > /dev/null";
        if (std::system(command.c_str()) != 0)
            return std::filesystem::path();
        return made;
    }();
    return folder;
}

// CPU seconds of the whole process (every thread), user and system: on a shared machine the figure
// to compare with a peer program's, where wall time depends on the other load.
inline double processCpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    auto seconds = [](const timeval& t) { return double(t.tv_sec) + double(t.tv_usec) / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// The recording's frames as PNG files f_NNNN.png, for peer programs: QUIB_BENCH_FRAMES_DIR, or
// frames made now.
inline std::filesystem::path recordingPngFolder(int frames) {
    if (const char* given = std::getenv("QUIB_BENCH_FRAMES_DIR"); given && *given)
        return given;
    return recordingFramesFolder(frames);
}

// Runs a peer program through the shell; its CPU seconds (user and system of the children), or
// a negative figure when it failed.
inline double peerCpuSeconds(const std::string& command) {
    auto children = [] {
        rusage usage{};
        getrusage(RUSAGE_CHILDREN, &usage);
        auto seconds = [](const timeval& t) { return double(t.tv_sec) + double(t.tv_usec) / 1e6; };
        return seconds(usage.ru_utime) + seconds(usage.ru_stime);
    };
    const double before = children();
    if (std::system(command.c_str()) != 0)
        return -1;
    return children() - before;
}

// Fills doc with the first `frames` frames of the recording; false when there is none.
inline bool loadScreenRecording(CQuibDoc& doc, int frames) {
    if (const char* path = std::getenv("QUIB_BENCH_PROJECT"); path && *path) {
        NullProgress progress;
        if (!LoadProject(path, doc, progress).ok())
            return false;
        while (doc.frameCount() > frames)
            doc.DeleteFrame(doc.frameCount() - 1);
        doc.commands.clear();
        return doc.frameCount() == frames;
    }
    std::ifstream raw(recordingFramesFolder(frames) / "frames.raw", std::ios::binary);
    if (!raw)
        return false;
    doc.frameSize = doc.backgroundSize = Size{kRecordingWidth, kRecordingHeight};
    doc.InitNewProject();
    std::vector<char> row(size_t(kRecordingWidth) * 4);
    for (int f = 0; f < frames; ++f) {
        doc.currentImage = Bitmap24(kRecordingWidth, kRecordingHeight);
        for (int y = 0; y < kRecordingHeight; ++y) {
            if (!raw.read(row.data(), std::streamsize(row.size())))
                return false;
            uint8_t* out = doc.currentImage.pixel(0, y);
            for (int x = 0; x < kRecordingWidth; ++x)
                std::copy_n(row.data() + size_t(x) * 4, 3, out + size_t(x) * 3);
        }
        doc.currentFrame = Frame();
        doc.currentFrame.title = "Passo " + std::to_string(f + 1);
        if (!doc.AppendCapturedFrame())
            return false;
    }
    return true;
}

}  // namespace quib::bench
