#include <unistd.h>

#include <climits>
#include <string>
#include <vector>

#include "base/progress.h"
#include "callout_source.h"
#include "cli_command.h"
#include "export/html_export.h"
#include "export/pdf_export.h"
#include "export/project_output.h"
#include "imagefilters/filter_table.h"
#include "imagefilters/image_file.h"
#include "model/frame_composition.h"
#include "model/frame_operations.h"
#include "model/project_storage.h"

namespace quib::cli {

namespace {

int runExportHtml(const std::vector<std::string>& args);
int runExportPdf(const std::vector<std::string>& args);
int runImportImages(const std::vector<std::string>& args);

const Command kExportHtml{"export-html", "export-html FILE.qbk PAGE [--format png|jpg|bmp]", runExportHtml};
const Command kExportPdf{"export-pdf", "export-pdf FILE.qbk OUT.pdf", runExportPdf};
const Command kImportImages{"import-images", "import-images OUT.qbk IMAGE...", runImportImages};

std::string executableDir() {
    char buffer[PATH_MAX];
    const ssize_t n = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (n <= 0)
        return std::string();
    const std::string path(buffer, size_t(n));
    return path.substr(0, path.rfind('/'));
}

FilterTable& filters() {
    static FilterTable table;
    static bool loaded = false;
    if (!loaded) {
        LoadDefaultFilters(table, executableDir(), DefaultFilterTools());
        loaded = true;
    }
    return table;
}

// Text boxes are drawn with the library every command finds.
OutputOptions outputOptions() {
    static CalloutLibrary library;
    static const bool loaded = loadCalloutLibrary(library);
    (void)loaded;
    OutputOptions options;
    options.callouts = &library;
    options.filters = &filters();
    return options;
}

int runExportHtml(const std::vector<std::string>& args) {
    std::vector<std::string> plain;
    std::string format = "png";
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--format" && i + 1 < args.size())
            format = args[++i];
        else if (args[i].starts_with("--"))
            return usage(kExportHtml);
        else
            plain.push_back(args[i]);
    }
    if (plain.size() != 2)
        return usage(kExportHtml);
    int filter = -1;
    for (int index : htmlExportFilterIndices(filters())) {
        if (ExtensionListHas(filters().entry(index).caps->extensions, format)) {
            filter = index;
            break;
        }
    }
    if (filter < 0)
        return fail("nessun filtro scrive immagini " + format);
    CQuibDoc doc;
    NullProgress progress;
    if (Status status = LoadProject(plain[0], doc, progress); !status)
        return fail(status.message());
    OutputOptions options = outputOptions();
    options.imageFilter = filter;
    const ExportResult result = htmlPagesOutput().write(doc, plain[1], options, progress);
    if (!result.status)
        return fail(result.status.message());
    return 0;
}

int runExportPdf(const std::vector<std::string>& args) {
    if (args.size() != 2 || args[0].starts_with("--") || args[1].starts_with("--"))
        return usage(kExportPdf);
    CQuibDoc doc;
    NullProgress progress;
    if (Status status = LoadProject(args[0], doc, progress); !status)
        return fail(status.message());
    const ExportResult result = pdfOutput().write(doc, args[1], outputOptions(), progress);
    if (!result.status)
        return fail(result.status.message());
    return 0;
}

int runImportImages(const std::vector<std::string>& args) {
    if (args.size() < 2)
        return usage(kImportImages);
    CQuibDoc doc;
    if (Status status = ImportImages(doc, PictureFileReader(filters()),
                                     std::vector<std::string>(args.begin() + 1, args.end()));
        !status)
        return fail(status.message());
    NullProgress progress;
    if (Status status = SaveProject(args[0], doc, progress); !status)
        return fail(status.message() + ": " + args[0]);
    return 0;
}

}  // namespace

std::vector<Command> exportCommands() {
    return {kExportHtml, kExportPdf, kImportImages};
}

}  // namespace quib::cli
