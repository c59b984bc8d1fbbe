#pragma once

#include <QFrame>
#include <functional>

#include "command_handler.h"
#include "thumbnail_row.h"

class QLabel;

namespace quib {

// Stands for the frame editor until it is plugged in: shows the project's name, handles nothing.
class PlaceholderEditorView : public QFrame, public CommandHandler {
public:
    explicit PlaceholderEditorView(const QString& title, QWidget* parent = nullptr);
    bool handles(int) const override { return false; }
    void run(int) override {}
    bool enabled(int) const override { return false; }
};

// Stands for the thumbnail strip: an empty strip that already toggles "Solo miniature".
class PlaceholderThumbnailView : public QFrame, public CommandHandler, public ThumbnailRowMetrics {
public:
    explicit PlaceholderThumbnailView(QWidget* parent = nullptr);

    // Called with the new state when "Solo miniature" toggles.
    void setWrapModeHandler(std::function<void(bool)> handler) { m_onWrapMode = std::move(handler); }
    bool wrapMode() const { return m_wrapMode; }

    bool handles(int id) const override;
    void run(int id) override;
    bool enabled(int id) const override;
    bool checked(int id) const override;

    bool isEmpty() const override { return true; }
    int itemHeight() const override { return 0; }
    int horizontalScrollBarHeight() const override { return 0; }

private:
    bool m_wrapMode = false;
    std::function<void(bool)> m_onWrapMode;
};

}  // namespace quib
