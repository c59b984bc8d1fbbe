#include "capture_memory_budget.h"

#include "model/quib_doc.h"

namespace quib {

void CaptureMemoryBudget::captured(CQuibDoc& doc, int index) {
    if (!doc.isValidIndex(index) || doc.frames[size_t(index)].imageData.empty())
        return;
    const SharedBytes& stream = doc.frames[size_t(index)].imageData;
    m_held.push_back({index, stream});
    m_heldBytes += stream.size();
    while (m_heldBytes > m_budget && !m_held.empty() && !m_storeFailed)
        moveOldestToDisk(doc);
}

void CaptureMemoryBudget::moveOldestToDisk(CQuibDoc& doc) {
    Held oldest = std::move(m_held.front());
    m_held.pop_front();
    m_heldBytes -= oldest.stream.size();
    // The frame may have moved or gone since it was captured; look for it from where it was.
    int found = -1;
    for (int i = std::min(oldest.index, doc.frameCount() - 1); i >= 0; --i)
        if (doc.frames[size_t(i)].imageData.sharesWith(oldest.stream)) {
            found = i;
            break;
        }
    if (found < 0)
        return;
    if (!m_store)
        m_store = DiskByteStore::create(m_folder);
    SharedBytes kept = m_store ? m_store->keep(oldest.stream.span()) : SharedBytes();
    if (kept.empty()) {
        // No room on disk: memory is all there is.
        m_storeFailed = true;
        return;
    }
    doc.frames[size_t(found)].imageData = std::move(kept);
}

}  // namespace quib
