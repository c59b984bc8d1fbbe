#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "imagefilters/filter_abi.h"

namespace quib {

inline constexpr int kMaxFilterEntries = 256;

// The image types offered by the plug-ins, in registration order. A type's index in the table is
// stable for the run (the HTML export remembers it). Registered libraries stay loaded.
class FilterTable {
public:
    struct Entry {
        void* library = nullptr;
        const FilterCaps* caps = nullptr;
    };

    // Registers the plug-ins ("*.so") of one folder in the order the file system lists them:
    // every record of a library with both exports whose read or write bits share a bit with
    // mask. reset empties the table first. Records beyond 256 entries are not stored.
    // Returns how many records were added.
    int loadFilters(const std::string& folder, FilterTools* tools, uint32_t mask, bool reset);

    // Adds one record directly (built-in codecs, tests); false when the table is full.
    bool addEntry(void* library, const FilterCaps* caps);

    // The first record whose extension list holds the extension, ignoring case; nullptr if none.
    const FilterCaps* findFilterForExtension(const std::string& extension) const;

    int size() const { return int(m_entries.size()); }
    const Entry& entry(int index) const { return m_entries[size_t(index)]; }
    const std::vector<Entry>& entries() const { return m_entries; }
    void clear() { m_entries.clear(); }

private:
    std::vector<Entry> m_entries;
};

// The tools handed to every plug-in: malloc, free and the main window (0 when there is none).
FilterTools* DefaultFilterTools();

// Splits an extension list at ';' and tells whether one piece equals extension, ignoring case.
bool ExtensionListHas(const char* extensionList, const std::string& extension);
// The first extension of a record's list, in lower case.
std::string PreferredExtension(const FilterCaps& caps);
// The pattern part of a description (after its first '|'), or "" when it has none.
std::string DescriptionPatterns(const FilterCaps& caps);
// The text after the last '.' of a path's file name, or "" when it has none.
std::string FileExtension(const std::string& path);

// The folders searched at start-up, in order: the installed filters folder, the program's own
// "filters" folder beside the executable (and the build tree's when the program runs from it),
// then the user's plug-in folder. Never the current working directory: a plug-in planted there
// would run with the user's rights.
std::vector<std::string> DefaultFilterFolders(const std::string& executableDir);

// Loads the default folders into the table (the first with reset) with mask 1.
int LoadDefaultFilters(FilterTable& table, const std::string& executableDir, FilterTools* tools);

}  // namespace quib
