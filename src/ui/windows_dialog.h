#pragma once

#include <QDialog>
#include <QList>
#include <functional>

class QListWidget;
class QMdiArea;
class QMdiSubWindow;
class QPushButton;

namespace quib {

// "Finestre": the open project windows in a multi-selection list, and what can be done with the
// selected ones: activate, save, close, minimise, cascade and tile.
class WindowsDialog : public QDialog {
public:
    // save saves the document of a window; by default a project window saves its project.
    explicit WindowsDialog(QMdiArea& area, std::function<bool(QMdiSubWindow*)> save = {},
                           QWidget* parent = nullptr);

    QListWidget* windowList() const { return m_list; }
    QList<QMdiSubWindow*> listedWindows() const { return m_windows; }
    QList<QMdiSubWindow*> selectedWindows() const;
    void selectWindows(const QList<QMdiSubWindow*>& windows);

    QPushButton* activateButton() const { return m_activate; }
    QPushButton* saveButton() const { return m_save; }
    QPushButton* closeButton() const { return m_close; }
    QPushButton* minimizeButton() const { return m_minimize; }
    QPushButton* cascadeButton() const { return m_cascade; }
    QPushButton* tileHorizontallyButton() const { return m_tileHorizontally; }
    QPushButton* tileVerticallyButton() const { return m_tileVertically; }

    void activateSelected();
    void saveSelected();
    void closeSelected();
    void minimizeSelected();
    void cascadeSelected();
    // Horizontally: one band above the other, each the area's width; vertically: side by side.
    void tileSelected(bool horizontally);

private:
    void rebuild();
    void updateButtons();
    // Restores the selected windows and minimises the others; returns the selected ones.
    QList<QMdiSubWindow*> restoreOnlySelected();

    QMdiArea& m_area;
    std::function<bool(QMdiSubWindow*)> m_saveWindow;
    QList<QMdiSubWindow*> m_windows;
    QListWidget* m_list = nullptr;
    QPushButton* m_activate = nullptr;
    QPushButton* m_save = nullptr;
    QPushButton* m_close = nullptr;
    QPushButton* m_minimize = nullptr;
    QPushButton* m_cascade = nullptr;
    QPushButton* m_tileHorizontally = nullptr;
    QPushButton* m_tileVertically = nullptr;
};

}  // namespace quib
