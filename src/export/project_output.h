#pragma once

#include <span>
#include <string>
#include <string_view>

#include "base/progress.h"
#include "export/export_result.h"
#include "model/output_type.h"

namespace quib {

class CQuibDoc;
class CalloutLibrary;
class FilterTable;

// What an output may need beside the project.
struct OutputOptions {
    const CalloutLibrary* callouts = nullptr;  // text box callouts; none: text boxes are not drawn
    const FilterTable* filters = nullptr;      // picture writers of the HTML pages
    int imageFilter = -1;                      // the filter table index the pages' pictures use
    std::string playerPath;                    // the player of the executable; empty: look for it
    bool pngPictures = false;                  // the web page's pictures as PNG instead of WebP

    // The callouts to draw with: an empty library when none was given.
    const CalloutLibrary& calloutLibrary() const;
};

// One way to publish a project: a name, its file type and a writer that only reads the project,
// so that it can run on a worker thread while the editor waits.
class ProjectOutput {
public:
    virtual ~ProjectOutput() = default;
    virtual OutputType type() const = 0;
    // The type as lists show it, e.g. "Documento PDF (*.pdf)".
    virtual std::string_view label() const = 0;
    // The extension of the written file, without the dot.
    virtual std::string_view extension() const = 0;
    // Whether the project settings offer it as what the render command writes.
    virtual bool renderTarget() const { return false; }
    // Writes the project to path; the old file stays until the new one is whole.
    virtual ExportResult write(const CQuibDoc& project, const std::string& path, const OutputOptions& options,
                               Progress& progress) const = 0;

    std::string_view name() const { return outputTypeName(type()); }
    // The filters of a save dialog, separated by ";;": label() then "All Files (*)" unless told.
    virtual std::string fileFilter() const;
};

// Every output, in the order menus and lists show them.
std::span<const ProjectOutput* const> projectOutputs();
const ProjectOutput& projectOutput(OutputType type);
// By the name files store and the command line takes ("swf", "exe", "linux", "html5", "html", "pdf").
const ProjectOutput* findProjectOutput(std::string_view name);

// The outputs themselves, one file each.
const ProjectOutput& movieOutput();
const ProjectOutput& executableOutput();
const ProjectOutput& linuxExecutableOutput();
const ProjectOutput& html5Output();
const ProjectOutput& htmlPagesOutput();
const ProjectOutput& pdfOutput();

}  // namespace quib
