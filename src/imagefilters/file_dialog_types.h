#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "base/status.h"
#include "imagefilters/filter_table.h"

namespace quib {

inline constexpr int kInvalidFileTypeStringId = 26;
inline constexpr const char* kInvalidFileTypeText =
    "Indicare un estensione di file valida, o scegliere il tipo di file.";

// The image-file dialog's behaviour, apart from any widget: the list of types built from the
// filter table, the preselected type, the extension swap on a type change and the checks on
// confirm. Type indices are numbered as the dialog shows them: 1 is "Tutti i tipi supportati",
// 2 .. n + 1 the listed types in table order, n + 2 "Tutti i files".
class FileDialogTypes {
public:
    enum class Mode { Open, Save };
    static constexpr int kAllSupportedIndex = 1;
    static constexpr int kFirstTypeIndex = 2;

    // Lists every record whose read bits (open) or write bits (save) share a bit with mask.
    // A preselecting extension selects the last listed type that has it.
    FileDialogTypes(const FilterTable& table, Mode mode, uint32_t mask,
                    const std::string& preselectExtension = {});

    const std::vector<const FilterCaps*>& types() const { return m_types; }
    int allFilesIndex() const { return kFirstTypeIndex + int(m_types.size()); }
    int initialIndex() const { return m_initialIndex; }
    // The record of a listed type, nullptr for the two general entries and out-of-range indices.
    const FilterCaps* typeAt(int index) const;

    // The filter text with '|' between fields; replacing each '|' by a zero character gives the
    // double-zero-terminated form of native file dialogs.
    const std::string& filterText() const { return m_filterText; }

    struct NameFilter {
        std::string label;
        std::vector<std::string> patterns;  // e.g. "*.png"
    };
    // The same entries as label and patterns, in index order, for a toolkit's file dialog.
    std::vector<NameFilter> nameFilters() const;

    // The file name (without its folder) the name field should show after the user picks type
    // `index`, or "" when nothing changes (a general entry, or no name typed yet).
    std::string fileNameForTypeChange(int index, const std::string& fileName) const;

    struct Confirmation {
        Status status;
        std::string path;    // the path to use, with the type's extension when none was typed
        std::string folder;  // the folder of that path, which callers remember
    };
    // Checks the name the user confirmed while type `index` was selected: a name without extension
    // takes the selected type's preferred one (refused when a general entry is selected); a name
    // with an extension must have a registered type. Refusals carry string 26.
    Confirmation confirm(int index, const std::string& path) const;

private:
    const FilterTable& m_table;
    std::vector<const FilterCaps*> m_types;
    std::string m_allPatterns;
    std::string m_filterText;
    int m_initialIndex = kAllSupportedIndex;
};

}  // namespace quib
