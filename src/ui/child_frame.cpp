#include "child_frame.h"

#include <QCloseEvent>
#include <QVBoxLayout>

#include "document_prompts.h"
#include "fixed_splitter.h"
#include "thumbnail_row.h"

namespace quib {

CChildFrame::CChildFrame(std::unique_ptr<ProjectDocument> document, QWidget* editor, QWidget* thumbnails,
                         QWidget* parent)
    : QWidget(parent), m_document(std::move(document)), m_editor(editor), m_thumbnails(thumbnails) {
    setWindowTitle(m_document ? m_document->title() : QString());
    m_splitter = new FixedSplitter(this);
    m_splitter->addWidget(m_editor);
    m_splitter->addWidget(m_thumbnails);
    m_splitter->setStretchFactor(0, 1);
    m_splitter->setStretchFactor(1, 0);
    m_splitter->setSizes({InitialEditorHeight, InitialThumbnailHeight});
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_splitter);
    m_editor->installEventFilter(this);
    m_thumbnails->installEventFilter(this);
    resize(640, 480);
}

CChildFrame::~CChildFrame() {
    // The views observe the document: they go first.
    delete m_editor;
    delete m_thumbnails;
    m_document.reset();
}

ProjectCommandTargets CChildFrame::commandTargets() const {
    QWidget* active = m_activePane ? m_activePane : m_editor;
    QWidget* other = active == m_editor ? m_thumbnails : m_editor;
    return {dynamic_cast<CommandHandler*>(active), dynamic_cast<CommandHandler*>(other), m_document.get()};
}

void CChildFrame::setEditorRowHidden(bool hidden) {
    m_editorHidden = hidden;
    m_editor->setVisible(!hidden);
    recalcRows();
}

void CChildFrame::recalcRows() {
    if (m_editorHidden)
        return;
    auto* metrics = dynamic_cast<ThumbnailRowMetrics*>(m_thumbnails);
    const int total = m_splitter->height() - m_splitter->handleWidth();
    const int thumbs = metrics ? quib::thumbnailRowHeight(*metrics) : InitialThumbnailHeight;
    const int editor = std::max(0, total - thumbs);
    m_splitter->setSizes({editor, std::max(0, total - editor)});
}

int CChildFrame::editorRowHeight() const {
    return m_editorHidden ? 0 : m_splitter->sizes().value(0);
}

int CChildFrame::thumbnailRowHeight() const {
    return m_splitter->sizes().value(1);
}

void CChildFrame::activateNextPane() {
    QWidget* active = m_activePane ? m_activePane : m_editor;
    QWidget* next = active == m_editor ? m_thumbnails : m_editor;
    if (!next->isVisible())
        next = active;
    next->setFocus(Qt::OtherFocusReason);
    m_activePane = next;
}

void CChildFrame::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    recalcRows();
}

void CChildFrame::closeEvent(QCloseEvent* event) {
    if (m_document && m_document->isModified()) {
        switch (askSaveChanges(this, m_document->title())) {
            case QMessageBox::Yes:
                if (!m_document->save()) {
                    event->ignore();
                    return;
                }
                break;
            case QMessageBox::No:
                break;
            default:
                event->ignore();
                return;
        }
    }
    event->accept();
}

bool CChildFrame::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn && (watched == m_editor || watched == m_thumbnails))
        m_activePane = static_cast<QWidget*>(watched);
    return QWidget::eventFilter(watched, event);
}

}  // namespace quib
