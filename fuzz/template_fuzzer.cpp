// Template files: read, then applied to a small project.
#include "model/synthetic_project.h"
#include "model/template_apply.h"
#include "model/template_file.h"

using namespace quib;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    TemplateSet set;
    if (!TemplateSet::fromBytes(std::vector<uint8_t>(data, data + size), set))
        return 0;
    CQuibDoc doc;
    if (buildSyntheticProject(doc, 16, 12, 2))
        ApplyTemplate(doc, set, templ::AllElements);
    return 0;
}
