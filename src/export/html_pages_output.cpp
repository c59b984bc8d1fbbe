#include "export/html_export.h"
#include "export/project_output.h"

namespace quib {

namespace {

class HtmlPagesOutput final : public ProjectOutput {
public:
    OutputType type() const override { return OutputType::HtmlPages; }
    std::string_view label() const override { return "Pagina HTML (*.htm)"; }
    std::string_view extension() const override { return "htm"; }
    ExportResult write(const CQuibDoc& project, const std::string& path, const OutputOptions& options,
                       Progress& progress) const override {
        static const FilterTable kNoFilters;
        const FilterTable& filters = options.filters ? *options.filters : kNoFilters;
        int filter = options.imageFilter;
        if (filter < 0) {
            const std::vector<int> writable = htmlExportFilterIndices(filters);
            filter = writable.empty() ? -1 : writable.front();
        }
        return ExportHtml(project, options.calloutLibrary(), path, filters, filter, progress);
    }
};

}  // namespace

const ProjectOutput& htmlPagesOutput() {
    static const HtmlPagesOutput output;
    return output;
}

}  // namespace quib
