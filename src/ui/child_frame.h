#pragma once

#include <QWidget>
#include <memory>

#include "command_router.h"
#include "project_document.h"

namespace quib {

class FixedSplitter;
class ThumbnailRowMetrics;

// The window of one open project: the frame editor above and the thumbnail strip below, in two
// fixed rows. The thumbnail row keeps the height of one thumbnail; the editor takes the rest.
class CChildFrame : public QWidget {
public:
    static constexpr int InitialEditorHeight = 800;
    static constexpr int InitialThumbnailHeight = 72;

    // editor and thumbnails become children of the frame; either may also be a CommandHandler,
    // and the thumbnails may give their row metrics.
    CChildFrame(std::unique_ptr<ProjectDocument> document, QWidget* editor, QWidget* thumbnails,
                QWidget* parent = nullptr);
    ~CChildFrame() override;

    ProjectDocument* document() const { return m_document.get(); }
    QWidget* editorView() const { return m_editor; }
    QWidget* thumbnailView() const { return m_thumbnails; }

    // The active pane first (the editor until a pane has had the focus), then the other, then the document.
    ProjectCommandTargets commandTargets() const;

    // Hides or shows the editor row ("Solo miniature").
    void setEditorRowHidden(bool hidden);
    bool editorRowHidden() const { return m_editorHidden; }
    // Applies the row height rule; called on every resize.
    void recalcRows();
    int editorRowHeight() const;
    int thumbnailRowHeight() const;

    // Moves the focus to the next or previous pane.
    void activateNextPane();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::unique_ptr<ProjectDocument> m_document;
    FixedSplitter* m_splitter = nullptr;
    QWidget* m_editor = nullptr;
    QWidget* m_thumbnails = nullptr;
    QWidget* m_activePane = nullptr;
    bool m_editorHidden = false;
};

}  // namespace quib
