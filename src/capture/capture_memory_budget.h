#pragma once

#include <cstddef>
#include <deque>
#include <memory>
#include <string>

#include "base/disk_byte_store.h"
#include "base/shared_bytes.h"

namespace quib {

class CQuibDoc;

// Keeps the pictures of a long capture within a memory budget: beyond it, the streams of the
// oldest frames captured move to a store on disk (see DiskByteStore) and are read from there
// when needed. Where no store can be made, the frames simply stay in memory.
class CaptureMemoryBudget {
public:
    static constexpr size_t kDefaultBudgetBytes = size_t(64) << 20;

    explicit CaptureMemoryBudget(size_t budgetBytes = kDefaultBudgetBytes,
                                 std::string folder = DiskByteStore::defaultFolder())
        : m_budget(budgetBytes), m_folder(std::move(folder)) {}

    // Frame index of doc has just been captured.
    void captured(CQuibDoc& doc, int index);

    // Bytes of captured streams still in memory.
    size_t heldBytes() const { return m_heldBytes; }

private:
    void moveOldestToDisk(CQuibDoc& doc);

    struct Held {
        int index;
        SharedBytes stream;
    };
    size_t m_budget;
    std::string m_folder;
    std::deque<Held> m_held;
    size_t m_heldBytes = 0;
    std::shared_ptr<DiskByteStore> m_store;
    bool m_storeFailed = false;
};

}  // namespace quib
