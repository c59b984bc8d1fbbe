#include <array>

#include "export/project_output.h"
#include "shapes/callout_library.h"

namespace quib {

const CalloutLibrary& OutputOptions::calloutLibrary() const {
    static const CalloutLibrary kNoCallouts;
    return callouts ? *callouts : kNoCallouts;
}

std::string ProjectOutput::fileFilter() const {
    return std::string(label()) + ";;All Files (*)";
}

std::span<const ProjectOutput* const> projectOutputs() {
    static const std::array<const ProjectOutput*, 6> outputs{
        &movieOutput(), &executableOutput(), &linuxExecutableOutput(),
        &html5Output(), &htmlPagesOutput(),  &pdfOutput(),
    };
    return outputs;
}

const ProjectOutput& projectOutput(OutputType type) {
    for (const ProjectOutput* output : projectOutputs())
        if (output->type() == type)
            return *output;
    return movieOutput();
}

const ProjectOutput* findProjectOutput(std::string_view name) {
    for (const ProjectOutput* output : projectOutputs())
        if (output->name() == name)
            return output;
    return nullptr;
}

}  // namespace quib
