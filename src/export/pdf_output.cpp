#include "export/pdf_export.h"
#include "export/project_output.h"

namespace quib {

namespace {

class PdfOutput final : public ProjectOutput {
public:
    OutputType type() const override { return OutputType::Pdf; }
    std::string_view label() const override { return "PDF files (*.pdf)"; }
    std::string_view extension() const override { return "pdf"; }
    ExportResult write(const CQuibDoc& project, const std::string& path, const OutputOptions& options,
                       Progress& progress) const override {
        return ExportPdf(project, options.calloutLibrary(), path, progress);
    }
};

}  // namespace

const ProjectOutput& pdfOutput() {
    static const PdfOutput output;
    return output;
}

}  // namespace quib
