#pragma once

#include <QStatusBar>
#include <functional>
#include <memory>

#include "capture/global_hot_key.h"

class QComboBox;
class QLabel;

namespace quib {

// The main window's status bar: the message pane, the editor information (61479), the frame
// number (61477), the sizes (61478), and the caps-lock and num-lock indicators.
class QuibStatusBar : public QStatusBar {
public:
    enum Pane { EditorInfo = 61479, FrameNumber = 61477, Sizes = 61478 };

    explicit QuibStatusBar(QWidget* parent = nullptr);

    QLabel* messagePane() const { return m_message; }
    QLabel* pane(Pane id) const;
    void setPaneText(Pane id, const QString& text);
    // Empties the three project panes (no project open).
    void clearProjectPanes();
    // Shows the idle text "Pronto" in the message pane.
    void showIdleText();
    // Shows a note in the message pane for a few seconds, then the idle text again.
    void showNote(const QString& text);

    // The zoom box: the active editor's zoom, and the level the user picks (0: fit the window).
    QComboBox* zoomBox() const { return m_zoom; }
    void showZoom(double scale, bool fit);
    std::function<void(double)> zoomChosen;

    void setLockIndicators(bool capsLock, bool numLock);
    bool capsLockShown() const;
    bool numLockShown() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void refreshLockIndicators();

    QLabel* m_message = nullptr;
    QComboBox* m_zoom = nullptr;
    QLabel* m_editorInfo = nullptr;
    QLabel* m_frameNumber = nullptr;
    QLabel* m_sizes = nullptr;
    QLabel* m_caps = nullptr;
    QLabel* m_num = nullptr;
    std::unique_ptr<LockKeyReader> m_lockKeys;  // opened at the first look
};

}  // namespace quib
