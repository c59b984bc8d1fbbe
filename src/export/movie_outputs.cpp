#include "export/project_output.h"
#include "render/render_project.h"
#include "shapes/callout_library.h"

namespace quib {

namespace {

ExportResult renderAs(OutputType type, const CQuibDoc& project, const std::string& path,
                      const OutputOptions& options, Progress& progress) {
    static const CalloutLibrary kNoCallouts;
    const RenderResult rendered = RenderProjectTo(project, options.callouts ? *options.callouts : kNoCallouts,
                                                  path, type, progress, options.playerPath);
    ExportResult result;
    result.path = path;
    result.pagePath = rendered.pagePath;
    result.bytes = rendered.outputBytes;
    result.framesWritten = rendered.stats.projectFrames;
    result.cancelled = rendered.stats.cancelled;
    for (const Status* status : {&rendered.check.status, &rendered.movieStatus, &rendered.pageStatus})
        if (!status->ok()) {
            result.status = *status;
            break;
        }
    if (result.status.ok() && !rendered.check.ok())
        result.status = Status::failure(str::CannotCreateFile);
    return result;
}

class MovieOutput final : public ProjectOutput {
public:
    OutputType type() const override { return OutputType::Movie; }
    std::string_view label() const override { return "Macromedia Flash (*.swf)"; }
    std::string_view extension() const override { return "swf"; }
    bool renderTarget() const override { return true; }
    ExportResult write(const CQuibDoc& project, const std::string& path, const OutputOptions& options,
                       Progress& progress) const override {
        return renderAs(type(), project, path, options, progress);
    }
};

class ExecutableOutput final : public ProjectOutput {
public:
    OutputType type() const override { return OutputType::Executable; }
    std::string_view label() const override { return "Executable File (*.exe)"; }
    std::string_view extension() const override { return "exe"; }
    std::string fileFilter() const override { return "Executable Files (*.exe);;All Files (*)"; }
    bool renderTarget() const override { return true; }
    ExportResult write(const CQuibDoc& project, const std::string& path, const OutputOptions& options,
                       Progress& progress) const override {
        return renderAs(type(), project, path, options, progress);
    }
};

}  // namespace

const ProjectOutput& movieOutput() {
    static const MovieOutput output;
    return output;
}

const ProjectOutput& executableOutput() {
    static const ExecutableOutput output;
    return output;
}

}  // namespace quib
