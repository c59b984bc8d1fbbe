#include "placeholder_views.h"

#include <QLabel>
#include <QVBoxLayout>

#include "command_ids.h"

namespace quib {

PlaceholderEditorView::PlaceholderEditorView(const QString& title, QWidget* parent) : QFrame(parent) {
    setFrameShape(QFrame::StyledPanel);
    setBackgroundRole(QPalette::Dark);
    setAutoFillBackground(true);
    setFocusPolicy(Qt::StrongFocus);
    auto* label = new QLabel(title, this);
    label->setAlignment(Qt::AlignCenter);
    label->setForegroundRole(QPalette::Light);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
}

PlaceholderThumbnailView::PlaceholderThumbnailView(QWidget* parent) : QFrame(parent) {
    setFrameShape(QFrame::StyledPanel);
    setBackgroundRole(QPalette::Base);
    setAutoFillBackground(true);
    setFocusPolicy(Qt::StrongFocus);
}

bool PlaceholderThumbnailView::handles(int id) const {
    return id == cmd::ThumbnailsOnly;
}

void PlaceholderThumbnailView::run(int id) {
    if (id != cmd::ThumbnailsOnly)
        return;
    m_wrapMode = !m_wrapMode;
    if (m_onWrapMode)
        m_onWrapMode(m_wrapMode);
}

bool PlaceholderThumbnailView::enabled(int id) const {
    return id == cmd::ThumbnailsOnly;
}

bool PlaceholderThumbnailView::checked(int id) const {
    return id == cmd::ThumbnailsOnly && m_wrapMode;
}

}  // namespace quib
