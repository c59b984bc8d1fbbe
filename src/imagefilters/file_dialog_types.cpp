#include "imagefilters/file_dialog_types.h"

#include "base/strings.h"

namespace quib {

namespace {

std::vector<std::string> splitPatterns(const std::string& patterns) {
    std::vector<std::string> out;
    size_t start = 0;
    while (start <= patterns.size()) {
        const size_t end = std::min(patterns.find(';', start), patterns.size());
        if (end > start)
            out.push_back(patterns.substr(start, end - start));
        start = end + 1;
    }
    return out;
}

std::string descriptionLabel(const FilterCaps& caps) {
    if (!caps.description)
        return {};
    const std::string text(caps.description);
    return text.substr(0, text.find('|'));
}

// Splits a path into folder (with its trailing '/') and file name.
std::pair<std::string, std::string> splitFolder(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return {{}, path};
    return {path.substr(0, slash + 1), path.substr(slash + 1)};
}

}  // namespace

FileDialogTypes::FileDialogTypes(const FilterTable& table, Mode mode, uint32_t mask,
                                 const std::string& preselectExtension)
    : m_table(table) {
    std::string descriptions;
    for (const FilterTable::Entry& entry : table.entries()) {
        const FilterCaps& caps = *entry.caps;
        const uintptr_t bits = mode == Mode::Open ? caps.readCaps : caps.writeCaps;
        if ((uint32_t(bits) & mask) == 0)
            continue;
        m_types.push_back(&caps);
        descriptions += std::string(caps.description ? caps.description : "") + "|";
        m_allPatterns += DescriptionPatterns(caps) + ";";
    }
    if (!m_allPatterns.empty())
        m_allPatterns.pop_back();
    m_filterText = std::string(stringText(str::AllSupportedTypes)) + "|" + m_allPatterns + "|" +
                   descriptions + stringText(str::AllFiles) + " (*.*)|*.*||" + "|";
    if (!preselectExtension.empty()) {
        for (size_t i = 0; i < m_types.size(); ++i)
            if (ExtensionListHas(m_types[i]->extensions, preselectExtension))
                m_initialIndex = kFirstTypeIndex + int(i);
    }
}

const FilterCaps* FileDialogTypes::typeAt(int index) const {
    const int i = index - kFirstTypeIndex;
    return i >= 0 && i < int(m_types.size()) ? m_types[size_t(i)] : nullptr;
}

std::vector<FileDialogTypes::NameFilter> FileDialogTypes::nameFilters() const {
    std::vector<NameFilter> out;
    out.push_back({stringText(str::AllSupportedTypes), splitPatterns(m_allPatterns)});
    for (const FilterCaps* caps : m_types)
        out.push_back({descriptionLabel(*caps), splitPatterns(DescriptionPatterns(*caps))});
    out.push_back({std::string(stringText(str::AllFiles)) + " (*.*)", {"*"}});
    return out;
}

std::string FileDialogTypes::fileNameForTypeChange(int index, const std::string& fileName) const {
    const FilterCaps* caps = typeAt(index);
    const std::string name = splitFolder(fileName).second;
    if (!caps || name.empty())
        return {};
    const size_t dot = name.find_last_of('.');
    const std::string stem = dot == std::string::npos ? name : name.substr(0, dot);
    return stem + "." + PreferredExtension(*caps);
}

FileDialogTypes::Confirmation FileDialogTypes::confirm(int index, const std::string& path) const {
    Confirmation result;
    const auto [folder, name] = splitFolder(path);
    const bool hasDot = name.find('.') != std::string::npos;
    const std::string extension = FileExtension(path);
    if (name.empty()) {
        result.status = Status::failure(kInvalidFileTypeStringId, kInvalidFileTypeText);
        return result;
    }
    if (extension.empty()) {
        const FilterCaps* caps = typeAt(index);
        if (!caps || PreferredExtension(*caps).empty()) {
            result.status = Status::failure(kInvalidFileTypeStringId, kInvalidFileTypeText);
            return result;
        }
        // A name ending in '.' already has its dot.
        result.path = path + (hasDot && name.back() == '.' ? "" : ".") + PreferredExtension(*caps);
    } else {
        if (!m_table.findFilterForExtension(extension)) {
            result.status = Status::failure(kInvalidFileTypeStringId, kInvalidFileTypeText);
            return result;
        }
        result.path = path;
    }
    result.folder =
        folder.empty() ? std::string() : folder.substr(0, folder.size() > 1 ? folder.size() - 1 : 1);
    return result;
}

}  // namespace quib
