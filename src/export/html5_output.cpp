#include "export/project_output.h"
#include "export/web_movie.h"

namespace quib {

namespace {

class Html5Output final : public ProjectOutput {
public:
    OutputType type() const override { return OutputType::Html5; }
    std::string_view label() const override { return "Pagina HTML5 interattiva (*.html)"; }
    std::string_view extension() const override { return "html"; }
    bool renderTarget() const override { return true; }
    ExportResult write(const CQuibDoc& project, const std::string& path, const OutputOptions& options,
                       Progress& progress) const override {
        return writeWebMovie(project, options.calloutLibrary(), path,
                             options.pngPictures ? PictureFormat::Png : PictureFormat::WebP, progress);
    }
};

}  // namespace

const ProjectOutput& html5Output() {
    static const Html5Output output;
    return output;
}

}  // namespace quib
