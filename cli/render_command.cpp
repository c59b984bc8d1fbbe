#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <chrono>
#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "base/progress.h"
#include "callout_source.h"
#include "cli_command.h"
#include "export/project_output.h"
#include "model/project_storage.h"
#include "raster/gui_application.h"
#include "render/movie_output.h"
#include "render/render_progress_texts.h"
#include "render/render_project.h"
#include "shapes/callout_library.h"

namespace quib::cli {

namespace {

int runRender(const std::vector<std::string>& args);

const Command kRender{"render", "render FILE.qbk [--output PERCORSO] [--type swf|exe|linux|html5] [--png]",
                      runRender};

// The progress dialog's figures as one line on stderr, rewritten in place.
class ProgressLine : public Progress {
public:
    void setRange(int low, int high) override { m_texts.setRange(low, high); }
    void setPosition(int position) override {
        const auto now = std::chrono::steady_clock::now().time_since_epoch();
        m_texts.setPosition(position, std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
        std::fprintf(stderr, "\rRendering... %4s  Tempo trascorso: %s  Stima tempo residuo: %s   ",
                     m_texts.percentText().c_str(), m_texts.elapsedText().c_str(),
                     m_texts.remainingText().c_str());
        std::fflush(stderr);
        m_shown = true;
    }
    void finish() {
        if (m_shown)
            std::fputc('\n', stderr);
    }

private:
    RenderProgressTexts m_texts;
    bool m_shown = false;
};

int runRender(const std::vector<std::string>& args) {
    std::string project, output;
    const ProjectOutput* type = nullptr;
    OutputOptions options;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--png") {
            options.pngPictures = true;
        } else if (args[i] == "--output" && i + 1 < args.size()) {
            output = args[++i];
        } else if (args[i] == "--type" && i + 1 < args.size()) {
            type = findProjectOutput(args[++i]);
            if (!type || !type->renderTarget())
                return usage(kRender);
        } else if (project.empty() && !args[i].starts_with("--")) {
            project = args[i];
        } else {
            return usage(kRender);
        }
    }
    if (project.empty())
        return usage(kRender);

    raster::ensureGuiApplication();
    CQuibDoc doc;
    NullProgress loading;
    if (Status status = LoadProject(project, doc, loading); !status)
        return fail(status.message());
    if (!output.empty())
        doc.settings.outputFileName = output;
    if (type)
        doc.settings.outputType = type->type();

    const RenderCheck check = CheckRenderable(doc);
    if (check.blocker == RenderBlocker::NoOutputName)
        return fail("il progetto non ha un file di output: indicarlo con --output");
    if (!check.ok())
        return fail(check.status.message() + (check.blocker == RenderBlocker::CannotCreateFile
                                                  ? ": " + doc.settings.outputFileName
                                                  : std::string()));

    CalloutLibrary callouts;
    loadCalloutLibrary(callouts);
    ProgressLine progress;
    if (doc.settings.outputType == OutputType::Html5) {
        options.callouts = &callouts;
        const ExportResult written = html5Output().write(doc, doc.settings.outputFileName, options, progress);
        progress.finish();
        if (!written.status)
            return fail(written.status.message() + ": " + doc.settings.outputFileName);
        std::cout << written.path << ": " << written.framesWritten << " frame, " << written.bytes
                  << " byte\n";
        return 0;
    }
    const RenderResult result = RenderProject(doc, callouts, progress);
    progress.finish();
    if (!result.movieStatus)
        return fail(result.movieStatus.message() + ": " + doc.settings.outputFileName);
    std::cout << doc.settings.outputFileName << ": " << result.stats.projectFrames << " frame, "
              << result.stats.swfFrames << " frame SWF, " << result.outputBytes << " byte\n";
    if (!result.pagePath.empty())
        std::cout << result.pagePath << '\n';
    if (!result.pageStatus)
        return fail(result.pageStatus.message() + ": " + htmlPageName(doc.settings.outputFileName));
    return 0;
}

}  // namespace

std::vector<Command> renderCommands() {
    return {kRender};
}

}  // namespace quib::cli
