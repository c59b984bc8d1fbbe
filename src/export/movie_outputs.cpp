#include "export/project_output.h"
#include "render/render_project.h"

namespace quib {

namespace {

ExportResult renderAs(OutputType type, const CQuibDoc& project, const std::string& path,
                      const OutputOptions& options, Progress& progress) {
    const RenderResult rendered =
        RenderProjectTo(project, options.calloutLibrary(), path, type, progress, options.playerPath);
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

// The outputs of the render pass: the movie with its page, and a projector with the movie.
class RenderedOutput final : public ProjectOutput {
public:
    RenderedOutput(OutputType type, std::string_view label, std::string_view extension, std::string filter)
        : m_type(type), m_label(label), m_extension(extension), m_filter(std::move(filter)) {}
    OutputType type() const override { return m_type; }
    std::string_view label() const override { return m_label; }
    std::string_view extension() const override { return m_extension; }
    std::string fileFilter() const override { return m_filter; }
    bool renderTarget() const override { return true; }
    ExportResult write(const CQuibDoc& project, const std::string& path, const OutputOptions& options,
                       Progress& progress) const override {
        return renderAs(m_type, project, path, options, progress);
    }

private:
    OutputType m_type;
    std::string_view m_label;
    std::string_view m_extension;
    std::string m_filter;
};

}  // namespace

const ProjectOutput& movieOutput() {
    static const RenderedOutput output(OutputType::Movie, "Macromedia Flash (*.swf)", "swf",
                                       "Macromedia Flash (*.swf);;All Files (*)");
    return output;
}

const ProjectOutput& executableOutput() {
    static const RenderedOutput output(OutputType::Executable, "Executable File (*.exe)", "exe",
                                       "Executable Files (*.exe);;All Files (*)");
    return output;
}

const ProjectOutput& linuxExecutableOutput() {
    static const RenderedOutput output(OutputType::LinuxExecutable, "Eseguibile Linux", "",
                                       "Eseguibile Linux (*)");
    return output;
}

}  // namespace quib
