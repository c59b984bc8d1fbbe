#include "cursor_editor_dialog.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QClipboard>
#include <QColorDialog>
#include <QHBoxLayout>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QToolBar>
#include <QVBoxLayout>

#include "cursor_commands.h"

namespace quib {

namespace {

// Colour values with red in the low byte; entries 0 and 1 are shown in the screen colour and
// its inverse instead.
constexpr uint32_t kPaletteValues[CursorEditorDialog::kPaletteSize] = {
    0x000000, 0x000000, 0x000000, 0xFFFFFF, 0x808080, 0xC0C0C0, 0x800000, 0xFF0000, 0x808000,
    0xFFFF00, 0x008000, 0x00FF00, 0x008080, 0x00FFFF, 0x000080, 0x0000FF, 0x800080, 0xFF00FF,
};

// The entries the palette offers, in cell order: the transparent one, then the colours.
constexpr int kOfferedEntries[] = {0, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17};
constexpr int kCell = 16;
constexpr int kPaletteTop = 32;

QColor toQColor(CursorColour c) {
    return QColor(c.red, c.green, c.blue);
}

// Transparent pixels show the screen colour under a diagonal-cross hatch.
void paintBackground(QPainter& painter, const QRect& area, const QColor& screen) {
    painter.fillRect(area, screen);
    painter.fillRect(area, QBrush(screen.darker(118), Qt::DiagCrossPattern));
}

QIcon paintedIcon(int id) {
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(QPen(Qt::black, 1));
    using D = CursorEditorDialog;
    switch (id) {
        case D::OkId:
            p.setPen(QPen(QColor(0, 128, 0), 2));
            p.drawPolyline(QPolygon({QPoint(2, 8), QPoint(6, 12), QPoint(14, 3)}));
            break;
        case D::CutId:
            p.drawEllipse(QRect(2, 10, 4, 4)), p.drawEllipse(QRect(10, 10, 4, 4));
            p.drawLine(5, 10, 11, 1), p.drawLine(11, 10, 5, 1);
            break;
        case D::CopyId:
            p.setBrush(Qt::white);
            p.drawRect(1, 1, 8, 10), p.drawRect(6, 4, 8, 10);
            break;
        case D::PasteId:
            p.setBrush(QColor(200, 160, 90));
            p.drawRect(2, 2, 10, 12);
            p.setBrush(Qt::white);
            p.drawRect(6, 6, 8, 9);
            break;
        case D::UndoId:
            p.drawArc(QRect(3, 4, 10, 9), 0, 180 * 16);
            p.drawLine(3, 8, 1, 5), p.drawLine(3, 8, 6, 6);
            break;
        case D::DeleteId:
            p.setPen(QPen(QColor(192, 0, 0), 2));
            p.drawLine(3, 3, 13, 13), p.drawLine(13, 3, 3, 13);
            break;
        case D::InvertId:
            p.fillRect(2, 2, 6, 12, Qt::black), p.drawRect(2, 2, 12, 11);
            break;
        case D::MirrorId:
            p.drawLine(8, 1, 8, 15);
            p.setBrush(Qt::black);
            p.drawPolygon(QPolygon({QPoint(6, 4), QPoint(1, 8), QPoint(6, 12)}));
            p.setBrush(Qt::white);
            p.drawPolygon(QPolygon({QPoint(10, 4), QPoint(15, 8), QPoint(10, 12)}));
            break;
        case D::FlipId:
            p.drawLine(1, 8, 15, 8);
            p.setBrush(Qt::black);
            p.drawPolygon(QPolygon({QPoint(4, 6), QPoint(8, 1), QPoint(12, 6)}));
            p.setBrush(Qt::white);
            p.drawPolygon(QPolygon({QPoint(4, 10), QPoint(8, 15), QPoint(12, 10)}));
            break;
        case D::PenId:
            p.drawLine(3, 13, 13, 3), p.drawLine(4, 14, 14, 4), p.drawLine(2, 14, 3, 13);
            break;
        case D::EraserId:
            p.setBrush(QColor(240, 150, 170));
            p.drawPolygon(QPolygon({QPoint(2, 10), QPoint(9, 3), QPoint(14, 8), QPoint(7, 15)}));
            break;
        case D::FillId:
            p.setBrush(Qt::white);
            p.drawPolygon(QPolygon({QPoint(2, 8), QPoint(7, 3), QPoint(12, 8), QPoint(7, 13)}));
            p.fillRect(12, 9, 3, 5, Qt::blue);
            break;
        case D::LineId:
            p.drawLine(2, 13, 13, 2);
            break;
        case D::RectangleId:
            p.drawRect(2, 3, 11, 9);
            break;
        case D::FilledRectangleId:
            p.setBrush(Qt::gray);
            p.drawRect(2, 3, 11, 9);
            break;
        case D::EllipseId:
            p.drawEllipse(QRect(1, 3, 13, 9));
            break;
        case D::FilledEllipseId:
            p.setBrush(Qt::gray);
            p.drawEllipse(QRect(1, 3, 13, 9));
            break;
        default:
            break;
    }
    return QIcon(pixmap);
}

// The zoomed editing area (zoom > 1) or the real-size preview (zoom 1); both take the mouse.
class PixelView : public QWidget {
public:
    PixelView(CursorEditorDialog* dialog, int zoom, std::function<void()> changed)
        : QWidget(dialog), m_dialog(dialog), m_zoom(zoom), m_changed(std::move(changed)) {
        const CursorImageEditor& e = dialog->editor();
        setFixedSize(e.width() * zoom + (grid() ? 1 : 0), e.height() * zoom + (grid() ? 1 : 0));
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

protected:
    bool grid() const { return m_zoom > 1 && CursorImageEditor::gridAt(m_zoom); }

    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        const CursorImageEditor& e = m_dialog->editor();
        if (grid())
            painter.fillRect(rect(), QColor(128, 128, 128));
        const int inset = grid() ? 1 : 0;
        QRegion transparent;
        for (int y = 0; y < e.height(); ++y) {
            for (int x = 0; x < e.width(); ++x) {
                const QRect cell(x * m_zoom + inset, y * m_zoom + inset, m_zoom - inset, m_zoom - inset);
                const CursorColour c = e.colourAt({x, y});
                if (c.transparent)
                    transparent += cell;
                else
                    painter.fillRect(cell, toQColor(c));
            }
        }
        painter.setClipRegion(transparent);
        paintBackground(painter, rect(), m_dialog->screenColour());
    }

    Point pixelAt(const QPoint& pos) const {
        return Point{pos.x() >= 0 ? pos.x() / m_zoom : -1, pos.y() >= 0 ? pos.y() / m_zoom : -1};
    }

    void mousePressEvent(QMouseEvent* event) override {
        CursorImageEditor& e = m_dialog->editor();
        if (e.pressed())
            return;
        const Qt::MouseButton button = event->button();
        if (button != Qt::LeftButton && button != Qt::RightButton)
            return;
        const Qt::MouseButton other = button == Qt::LeftButton ? Qt::RightButton : Qt::LeftButton;
        e.press(pixelAt(event->position().toPoint()), m_dialog->colourFor(button),
                m_dialog->colourFor(other));
        if (e.pressed()) {
            m_button = button;
            m_changed();
        }
    }
    void mouseMoveEvent(QMouseEvent* event) override {
        CursorImageEditor& e = m_dialog->editor();
        if (!e.pressed())
            return;
        e.moveTo(pixelAt(event->position().toPoint()));
        m_changed();
    }
    void mouseReleaseEvent(QMouseEvent* event) override {
        if (event->button() == m_button && m_dialog->editor().pressed()) {
            m_dialog->editor().release();
            m_changed();
        }
    }

private:
    CursorEditorDialog* m_dialog;
    int m_zoom;
    std::function<void()> m_changed;
    Qt::MouseButton m_button = Qt::NoButton;
};

// The two chosen colours at the top, the offered entries below in two columns.
class PaletteView : public QWidget {
public:
    explicit PaletteView(CursorEditorDialog* dialog) : QWidget(dialog), m_dialog(dialog) {
        const int rows = (int(std::size(kOfferedEntries)) + 1) / 2;
        setFixedSize(2 * kCell + 1, kPaletteTop + rows * kCell + 1);
    }

    static QRect cellRect(int index) {
        return QRect((index % 2) * kCell, kPaletteTop + (index / 2) * kCell, kCell, kCell);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        const auto swatch = [&](const QRect& r, int entry) {
            if (entry == 0)
                paintBackground(painter, r, m_dialog->screenColour());
            else
                painter.fillRect(r, CursorEditorDialog::paletteColour(entry));
            painter.setPen(Qt::black);
            painter.drawRect(r.adjusted(0, 0, -1, -1));
        };
        swatch(QRect(10, 10, 16, 16), m_dialog->rightEntry());
        swatch(QRect(4, 4, 16, 16), m_dialog->leftEntry());
        for (int i = 0; i < int(std::size(kOfferedEntries)); ++i)
            swatch(cellRect(i), kOfferedEntries[i]);
    }
    int entryAt(const QPoint& pos) const {
        for (int i = 0; i < int(std::size(kOfferedEntries)); ++i)
            if (cellRect(i).contains(pos))
                return kOfferedEntries[i];
        return -1;
    }
    void mousePressEvent(QMouseEvent* event) override {
        const int entry = entryAt(event->position().toPoint());
        if (entry >= 0)
            m_dialog->pickEntry(entry, event->button());
    }
    void mouseDoubleClickEvent(QMouseEvent* event) override {
        if (entryAt(event->position().toPoint()) != 0)
            return;
        const QColor chosen = QColorDialog::getColor(m_dialog->screenColour(), this);
        if (chosen.isValid())
            m_dialog->setScreenColour(chosen);
    }

private:
    CursorEditorDialog* m_dialog;
};

}  // namespace

QColor CursorEditorDialog::paletteColour(int entry) {
    const uint32_t v = kPaletteValues[std::clamp(entry, 0, kPaletteSize - 1)];
    return QColor(int(v & 0xFF), int((v >> 8) & 0xFF), int((v >> 16) & 0xFF));
}

CursorEditorDialog::CursorEditorDialog(const CursorPicture& input, const QString& caption, QWidget* parent)
    : QDialog(parent), m_editor(input) {
    setWindowTitle(caption);
    m_screen = palette().color(QPalette::Button);
    m_editor.setScreenColour(
        CursorColour::rgb(uint8_t(m_screen.red()), uint8_t(m_screen.green()), uint8_t(m_screen.blue())));
    m_zoom = CursorImageEditor::zoomFor(m_editor.width(), m_editor.height());

    auto* commands = new QToolBar(this);
    addCommand(commands, OkId, QStringLiteral("OK"), QKeySequence());
    commands->addSeparator();
    addCommand(commands, CutId, QStringLiteral("Taglia (Ctrl+X)"), QKeySequence(Qt::CTRL | Qt::Key_X));
    addCommand(commands, CopyId, QStringLiteral("Copia (Ctrl+C)"), QKeySequence(Qt::CTRL | Qt::Key_C));
    addCommand(commands, PasteId, QStringLiteral("Incolla (Ctrl+V)"), QKeySequence(Qt::CTRL | Qt::Key_V));
    addCommand(commands, UndoId, QStringLiteral("Annulla (Ctrl+Z)"), QKeySequence(Qt::CTRL | Qt::Key_Z));
    commands->addSeparator();
    addCommand(commands, DeleteId, QStringLiteral("Elimina (Del)"), QKeySequence(Qt::Key_Delete));
    commands->addSeparator();
    addCommand(commands, InvertId, QStringLiteral("Inverti colori (I)"), QKeySequence(Qt::Key_I));
    addCommand(commands, MirrorId, QStringLiteral("Rifletti (Ctrl+M)"), QKeySequence(Qt::CTRL | Qt::Key_M));
    addCommand(commands, FlipId, QStringLiteral("Capovolgi (Ctrl+F)"), QKeySequence(Qt::CTRL | Qt::Key_F));

    auto* tools = new QToolBar(this);
    m_tools = new QActionGroup(this);
    m_tools->setExclusive(true);
    addTool(tools, PenId, CursorTool::Pen, QStringLiteral("Penna (P)"), QKeySequence(Qt::Key_P));
    addTool(tools, EraserId, CursorTool::Eraser, QStringLiteral("Gomma (Ctrl+E)"),
            QKeySequence(Qt::CTRL | Qt::Key_E));
    addTool(tools, FillId, CursorTool::Fill, QStringLiteral("Riempimento (F)"), QKeySequence(Qt::Key_F));
    addTool(tools, LineId, CursorTool::Line, QStringLiteral("Linea (L)"), QKeySequence(Qt::Key_L));
    addTool(tools, RectangleId, CursorTool::Rectangle, QStringLiteral("Rettangolo (R)"),
            QKeySequence(Qt::Key_R));
    addTool(tools, FilledRectangleId, CursorTool::FilledRectangle,
            QStringLiteral("Rettangolo pieno (Shift+R)"), QKeySequence(Qt::SHIFT | Qt::Key_R));
    addTool(tools, EllipseId, CursorTool::Ellipse, QStringLiteral("Ellissi (E)"), QKeySequence(Qt::Key_E));
    addTool(tools, FilledEllipseId, CursorTool::FilledEllipse, QStringLiteral("Elissi piena (Shift+E)"),
            QKeySequence(Qt::SHIFT | Qt::Key_E));
    m_actions[PenId]->setChecked(true);
    m_actions[UndoId]->setEnabled(false);

    const auto changed = [this] { pictureChanged(); };
    m_area = new PixelView(this, m_zoom, changed);
    m_preview = new PixelView(this, 1, changed);
    m_palette = new PaletteView(this);

    auto* side = new QVBoxLayout;
    side->addWidget(m_preview, 0, Qt::AlignHCenter);
    side->addSpacing(8);
    side->addWidget(m_palette, 0, Qt::AlignHCenter);
    side->addStretch(1);
    auto* body = new QHBoxLayout;
    body->addWidget(m_area, 0, Qt::AlignTop);
    body->addLayout(side);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(commands);
    layout->addWidget(tools);
    layout->addLayout(body);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(QApplication::clipboard(), &QClipboard::dataChanged, this, &CursorEditorDialog::updatePaste);
    updatePaste();
}

std::optional<CursorPicture> CursorEditorDialog::edit(QWidget* owner, const CursorPicture& input,
                                                      const QString& caption) {
    if (input.isNull())
        return std::nullopt;
    CursorEditorDialog dialog(input, caption, owner);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.editedCursor();
}

void CursorEditorDialog::addCommand(QWidget* bar, int id, const QString& tip, const QKeySequence& key) {
    auto* action = new QAction(paintedIcon(id), tip, this);
    action->setToolTip(tip);
    if (!key.isEmpty()) {
        action->setShortcut(key);
        action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    }
    connect(action, &QAction::triggered, this, [this, id] { runCommand(id); });
    bar->addAction(action);
    addAction(action);
    m_actions[id] = action;
}

void CursorEditorDialog::addTool(QWidget* bar, int id, CursorTool tool, const QString& tip,
                                 const QKeySequence& key) {
    auto* action = new QAction(paintedIcon(id), tip, this);
    action->setToolTip(tip);
    action->setCheckable(true);
    action->setShortcut(key);
    action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    m_tools->addAction(action);
    connect(action, &QAction::triggered, this, [this, tool] { m_editor.setTool(tool); });
    bar->addAction(action);
    addAction(action);
    m_actions[id] = action;
}

QAction* CursorEditorDialog::action(int id) const {
    const auto found = m_actions.find(id);
    return found == m_actions.end() ? nullptr : found->second;
}

void CursorEditorDialog::pickEntry(int entry, Qt::MouseButton button) {
    if (entry < 0 || entry >= kPaletteSize || entry == 1)
        return;
    if (button == Qt::LeftButton)
        m_left = entry;
    else if (button == Qt::RightButton)
        m_right = entry;
    m_palette->update();
}

CursorColour CursorEditorDialog::colourFor(Qt::MouseButton button) const {
    const int entry = button == Qt::RightButton ? m_right : m_left;
    if (entry == 0)
        return CursorColour::clear();
    const QColor c = paletteColour(entry);
    return CursorColour::rgb(uint8_t(c.red()), uint8_t(c.green()), uint8_t(c.blue()));
}

void CursorEditorDialog::setScreenColour(const QColor& colour) {
    m_screen = colour;
    m_editor.setScreenColour(
        CursorColour::rgb(uint8_t(colour.red()), uint8_t(colour.green()), uint8_t(colour.blue())));
    m_area->update();
    m_preview->update();
    m_palette->update();
}

QImage CursorEditorDialog::shownImage() const {
    QImage image(m_editor.width(), m_editor.height(), QImage::Format_RGB32);
    QPainter painter(&image);
    paintBackground(painter, image.rect(), m_screen);
    painter.drawImage(0, 0, cursorToImage(m_editor.picture()));
    return image;
}

void CursorEditorDialog::runCommand(int id) {
    if (m_editor.pressed())
        return;
    switch (id) {
        case OkId:
            accept();
            return;
        case CutId:
            QApplication::clipboard()->setImage(shownImage());
            m_editor.clear(colourFor(Qt::RightButton));
            break;
        case CopyId:
            QApplication::clipboard()->setImage(shownImage());
            return;
        case PasteId: {
            const QImage pasted = QApplication::clipboard()->image();
            if (pasted.isNull())
                return;
            m_editor.paste(imageToCursorBitmap(pasted.convertToFormat(QImage::Format_RGB32)));
            break;
        }
        case UndoId:
            if (!m_editor.undo())
                return;
            break;
        case DeleteId:
            m_editor.clear(colourFor(Qt::RightButton));
            break;
        case InvertId:
            m_editor.invertColours();
            break;
        case MirrorId:
            m_editor.mirror();
            break;
        case FlipId:
            m_editor.flip();
            break;
        default:
            return;
    }
    pictureChanged();
}

void CursorEditorDialog::pictureChanged() {
    m_area->update();
    m_preview->update();
    m_actions[UndoId]->setEnabled(m_editor.canUndo());
}

void CursorEditorDialog::updatePaste() {
    const QMimeData* data = QApplication::clipboard()->mimeData();
    m_actions[PasteId]->setEnabled(data && data->hasImage());
}

void CursorEditorDialog::reject() {
    if (m_editor.changed()) {
        const QMessageBox::StandardButton answer =
            askSaveChanges ? askSaveChanges()
                           : QMessageBox::question(this, windowTitle(),
                                                   QStringLiteral("Do you want to save your changes?"),
                                                   QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        if (answer == QMessageBox::Yes) {
            accept();
            return;
        }
        if (answer != QMessageBox::No)
            return;
    }
    QDialog::reject();
}

}  // namespace quib
