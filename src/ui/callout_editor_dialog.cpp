#include "callout_editor_dialog.h"

#include <QAction>
#include <QColorDialog>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QShortcut>
#include <QToolBar>
#include <QVBoxLayout>
#include <tuple>

#include "command_ids.h"
#include "shapes/fill_shape.h"
#include "toolbar_icons.h"

namespace quib {

namespace {

const QString kCaption = QStringLiteral("Callout Editor");
const QString kOverwriteQuestion = QStringLiteral("Overwrite existing callout?");
const QString kSaveQuestion = QString::fromUtf8("Il Callout è stato modificato. Volete salvarlo?");
const QString kDeleteQuestion =
    QStringLiteral("Sicuri di voler eliminare questo Callout?\n(Non sara' piu' recuperabile!)");
const QString kNameTaken =
    QString::fromUtf8("Esiste già un Callout con questo nome. Indicare un nome diverso.");
constexpr uint32_t kCanvasColour = 0x008C8C8C;
constexpr uint32_t kPreviewColour = 0x00808080;

QColor toQColor(uint32_t v) {
    return QColor(int(v & 0xFF), int((v >> 8) & 0xFF), int((v >> 16) & 0xFF));
}

uint32_t fromQColor(const QColor& c) {
    return uint32_t(c.red()) | (uint32_t(c.green()) << 8) | (uint32_t(c.blue()) << 16);
}

void paintSwatch(QPushButton* button, std::optional<uint32_t> colour) {
    QPixmap swatch(28, 14);
    swatch.fill(colour ? toQColor(*colour) : button->palette().color(QPalette::Button));
    button->setIcon(QIcon(swatch));
    button->setIconSize(swatch.size());
}

QComboBox* widthBox(QWidget* parent) {
    auto* box = new QComboBox(parent);
    for (int i = 1; i <= 32; ++i)
        box->addItem(QString::number(i));
    return box;
}

QComboBox* styleBox(QWidget* parent) {
    auto* box = new QComboBox(parent);
    box->addItems({QStringLiteral("Solid"), QStringLiteral("Dash"), QStringLiteral("Dotted")});
    return box;
}

QString shapeLabel(const Shape& shape, int index) {
    const QString name = QString::fromStdString(shape.name.value_or(std::string()));
    switch (shape.type()) {
        case ShapeType::Polygon:
            return index == 0 ? QStringLiteral("TextField") : QStringLiteral("Polygon (%1)").arg(name);
        case ShapeType::Curve:
            return QStringLiteral("Curve (%1)").arg(name);
        case ShapeType::Fill:
            return QStringLiteral("Fill (%1,%2,%3)")
                .arg(shape.colour & 0xFF)
                .arg((shape.colour >> 8) & 0xFF)
                .arg((shape.colour >> 16) & 0xFF);
    }
    return name;
}

}  // namespace

CalloutEditorInteraction CalloutEditorInteraction::standard(QWidget* parent) {
    QPointer<QWidget> owner = parent;
    CalloutEditorInteraction i;
    i.askYesNoCancel = [owner](const QString& question) {
        return QMessageBox::question(owner, kCaption, question,
                                     QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    };
    i.askYesNo = [owner](const QString& question) {
        return QMessageBox::question(owner, kCaption, question, QMessageBox::Yes | QMessageBox::No) ==
               QMessageBox::Yes;
    };
    i.showStop = [owner](const QString& text) { QMessageBox::critical(owner, kCaption, text); };
    i.chooseColour = [owner](uint32_t start) -> std::optional<uint32_t> {
        const QColor chosen = QColorDialog::getColor(toQColor(start), owner);
        return chosen.isValid() ? std::optional<uint32_t>(fromQColor(chosen)) : std::nullopt;
    };
    return i;
}

CalloutEditorDialog::CalloutEditorDialog(CalloutLibrary& library, const std::string& initialName,
                                         const QString& writePath, QWidget* parent)
    : QDialog(parent),
      m_library(library),
      m_interaction(CalloutEditorInteraction::standard(this)),
      m_writePath(writePath) {
    setWindowTitle(kCaption);
    m_history.onRecord = [this] { SetModified(true); };

    m_calloutList = new QListWidget(this);
    auto* listLabel = new QLabel(QStringLiteral("&Lista Callouts"), this);
    listLabel->setBuddy(m_calloutList);
    auto* upButton = new QPushButton(QStringLiteral("^"), this);
    auto* downButton = new QPushButton(QStringLiteral("v"), this);
    auto* newButton = new QPushButton(QStringLiteral("Nuovo..."), this);
    m_nameField = new QLineEdit(this);
    auto* nameLabel = new QLabel(QStringLiteral("&Nome:"), this);
    nameLabel->setBuddy(m_nameField);
    m_textColour = new QPushButton(this);
    auto* textColourLabel = new QLabel(QStringLiteral("Colore &testo:"), this);
    textColourLabel->setBuddy(m_textColour);
    m_penWidth = widthBox(this);
    m_penStyle = styleBox(this);
    m_drawColourButton = new QPushButton(this);
    m_editor = new ShapeEditor(*this, this);
    m_editor->setFixedSize(360, 240);
    m_shapeList = new QListWidget(this);
    m_shapeList->setSelectionMode(QAbstractItemView::MultiSelection);
    m_shapeColour = new QPushButton(QStringLiteral("Colore"), this);
    m_shapeWidth = widthBox(this);
    m_shapeStyle = styleBox(this);
    auto* saveButton = new QPushButton(QStringLiteral("&Salva"), this);
    auto* saveAsButton = new QPushButton(QStringLiteral("Salva con Nome"), this);
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(QStringLiteral("S&eleziona"), QDialogButtonBox::AcceptRole)->setDefault(true);
    buttons->addButton(QStringLiteral("&Annulla"), QDialogButtonBox::RejectRole);

    auto* left = new QVBoxLayout;
    left->addWidget(listLabel);
    left->addWidget(m_calloutList, 1);
    auto* moveRow = new QHBoxLayout;
    moveRow->addWidget(upButton);
    moveRow->addWidget(downButton);
    moveRow->addWidget(newButton);
    left->addLayout(moveRow);

    auto* fields = new QGridLayout;
    fields->addWidget(nameLabel, 0, 0);
    fields->addWidget(m_nameField, 0, 1, 1, 3);
    fields->addWidget(textColourLabel, 1, 0);
    fields->addWidget(m_textColour, 1, 1);
    fields->addWidget(new QLabel(QStringLiteral("Nuove forme:"), this), 2, 0);
    fields->addWidget(m_drawColourButton, 2, 1);
    fields->addWidget(m_penWidth, 2, 2);
    fields->addWidget(m_penStyle, 2, 3);

    auto* properties = new QGroupBox(QStringLiteral("Proprieta' Forma"), this);
    auto* propertiesLayout = new QGridLayout(properties);
    propertiesLayout->addWidget(m_shapeColour, 0, 0, 1, 2);
    propertiesLayout->addWidget(new QLabel(QStringLiteral("Spessore"), this), 1, 0);
    propertiesLayout->addWidget(m_shapeWidth, 1, 1);
    propertiesLayout->addWidget(new QLabel(QStringLiteral("Stile"), this), 2, 0);
    propertiesLayout->addWidget(m_shapeStyle, 2, 1);
    auto* shapeColumn = new QVBoxLayout;
    shapeColumn->addWidget(m_shapeList, 1);
    shapeColumn->addWidget(properties);

    auto* canvasRow = new QHBoxLayout;
    auto* canvasColumn = new QVBoxLayout;
    canvasColumn->addWidget(m_editor);
    canvasColumn->addStretch(1);
    canvasRow->addLayout(canvasColumn);
    canvasRow->addLayout(shapeColumn);

    auto* right = new QVBoxLayout;
    right->addLayout(fields);
    right->addWidget(buildToolbar());
    right->addLayout(canvasRow, 1);
    auto* saveRow = new QHBoxLayout;
    saveRow->addWidget(saveButton);
    saveRow->addWidget(saveAsButton);
    saveRow->addStretch(1);
    saveRow->addWidget(buttons);
    right->addLayout(saveRow);

    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left);
    layout->addLayout(right, 1);

    connect(m_calloutList, &QListWidget::currentRowChanged, this, [this] {
        if (!m_updating)
            loadSelected();
    });
    connect(upButton, &QPushButton::clicked, this, &CalloutEditorDialog::moveUp);
    connect(downButton, &QPushButton::clicked, this, &CalloutEditorDialog::moveDown);
    connect(newButton, &QPushButton::clicked, this, &CalloutEditorDialog::newCallout);
    connect(saveButton, &QPushButton::clicked, this, &CalloutEditorDialog::save);
    connect(saveAsButton, &QPushButton::clicked, this, &CalloutEditorDialog::saveAs);
    connect(buttons, &QDialogButtonBox::accepted, this, &CalloutEditorDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CalloutEditorDialog::reject);
    connect(m_textColour, &QPushButton::clicked, this, &CalloutEditorDialog::chooseTextColour);
    connect(m_drawColourButton, &QPushButton::clicked, this, &CalloutEditorDialog::chooseDrawColour);
    connect(m_shapeColour, &QPushButton::clicked, this, &CalloutEditorDialog::chooseShapeColour);
    connect(m_nameField, &QLineEdit::textEdited, this, [this](const QString& text) {
        m_edited.name = text.toStdString();
        SetModified(true);
    });
    connect(m_penWidth, &QComboBox::currentIndexChanged, this, [this](int row) { setNewPenWidth(row + 1); });
    connect(m_penStyle, &QComboBox::currentIndexChanged, this, [this](int row) { m_newPenStyle = row; });
    connect(m_shapeWidth, &QComboBox::activated, this, [this](int row) {
        if (Shape* shape = singleSelected()) {
            shape->penWidth = row + 1;
            if (shape->penWidth > 1)
                shape->penStyle = 0;
            SetModified(true);
            shapesChanged();
        }
    });
    connect(m_shapeStyle, &QComboBox::activated, this, [this](int row) {
        if (Shape* shape = singleSelected()) {
            shape->penStyle = row;
            SetModified(true);
            shapesChanged();
        }
    });
    connect(m_shapeList, &QListWidget::itemSelectionChanged, this, [this] {
        if (m_updating)
            return;
        for (int i = 0; i < m_shapeList->count() && size_t(i) < m_edited.shapes.size(); ++i)
            m_edited.shapes[size_t(i)]->selected = m_shapeList->item(i)->isSelected();
        updateControls();
        m_editor->update();
    });
    // Del in the callout list deletes the callout, elsewhere the selected shapes.
    auto* deleteCalloutKey =
        new QShortcut(QKeySequence::Delete, m_calloutList, nullptr, nullptr, Qt::WidgetShortcut);
    connect(deleteCalloutKey, &QShortcut::activated, this, &CalloutEditorDialog::deleteCallout);

    for (int i = 0; i < int(m_library.size()); ++i)
        m_calloutList->addItem(QString::fromStdString(m_library.at(size_t(i)).name));
    if (!m_library.empty()) {
        int row = 0;
        if (!initialName.empty()) {
            const QList<QListWidgetItem*> found =
                m_calloutList->findItems(QString::fromStdString(initialName), Qt::MatchStartsWith);
            row = found.isEmpty() ? -1 : m_calloutList->row(found.first());
        }
        m_updating = true;
        m_calloutList->setCurrentRow(row);
        m_updating = false;
        loadSelected();
    }
    updateControls();
}

QWidget* CalloutEditorDialog::buildToolbar() {
    auto* bar = new QToolBar(this);
    bar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    bar->setIconSize(QSize(16, 16));
    auto editorKey = [this](QAction* action, const QKeySequence& key) {
        action->setShortcut(key);
        action->setShortcutContext(Qt::WidgetShortcut);
        m_editor->addAction(action);
    };
    m_undoAction =
        bar->addAction(commandIcon(cmd::EditUndo), QStringLiteral("Annulla"), m_editor, &ShapeEditor::undo);
    m_undoAction->setShortcut(QKeySequence::Undo);
    m_redoAction = bar->addAction(commandIcon(cmd::EditRedo), QStringLiteral("Ripristina"), m_editor,
                                  &ShapeEditor::redo);
    m_redoAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Y));
    m_deleteAction = bar->addAction(commandIcon(cmd::EditDelete), QStringLiteral("Elimina"), m_editor,
                                    &ShapeEditor::deletePointOrShapes);
    editorKey(m_deleteAction, QKeySequence::Delete);
    for (const auto& [id, text, key, run] :
         {std::tuple{cmd::EditCut, "Taglia", QKeySequence::Cut, &ShapeEditor::cut},
          std::tuple{cmd::EditCopy, "Copia", QKeySequence::Copy, &ShapeEditor::copy},
          std::tuple{cmd::EditPaste, "Incolla", QKeySequence::Paste, &ShapeEditor::paste}})
        editorKey(bar->addAction(commandIcon(id), QString::fromUtf8(text), m_editor, run), key);
    m_selectAllAction = new QAction(QStringLiteral("Seleziona tutto"), this);
    connect(m_selectAllAction, &QAction::triggered, m_editor, &ShapeEditor::selectAll);
    editorKey(m_selectAllAction, QKeySequence::SelectAll);
    m_invertAction = new QAction(QStringLiteral("Inverti selezione"), this);
    connect(m_invertAction, &QAction::triggered, m_editor, &ShapeEditor::invertSelection);
    editorKey(m_invertAction, QKeySequence(Qt::CTRL | Qt::Key_I));
    bar->addSeparator();
    const std::tuple<int, const char*, ShapeTool> tools[] = {
        {cmd::ShapeRectangle, "Rettangolo", ShapeTool::Rectangle},
        {cmd::ShapeEllipse, "Ellissi", ShapeTool::Ellipse},
        {cmd::ShapePolyline, "Multilinea", ShapeTool::Polyline},
        {cmd::ShapeFreehand, "Mano libera", ShapeTool::Freehand},
        {cmd::ShapeFill, "Riempimento", ShapeTool::Fill},
        {cmd::ShapeEdit, "Modifica Forma", ShapeTool::Edit},
        {cmd::ShapeTransform, "Trasforma Forma", ShapeTool::Transform}};
    for (const auto& [id, text, tool] : tools) {
        QAction* action = bar->addAction(commandIcon(id), QString::fromUtf8(text));
        action->setCheckable(true);
        const ShapeTool chosen = tool;
        connect(action, &QAction::triggered, this, [this, chosen] { setTool(chosen); });
        m_toolActions.emplace_back(action, tool);
    }
    bar->addSeparator();
    m_mirrorAction = bar->addAction(
        commandIcon(cmd::ShapeMirror), QStringLiteral("Rifletti Forma"), this,
        [this] { m_editor->flip(FlipAxis::Horizontal, QGuiApplication::queryKeyboardModifiers()); });
    m_flipAction = bar->addAction(
        commandIcon(cmd::ShapeFlip), QStringLiteral("Capovolgi Forma"), this,
        [this] { m_editor->flip(FlipAxis::Vertical, QGuiApplication::queryKeyboardModifiers()); });
    return bar;
}

void CalloutEditorDialog::setTool(ShapeTool tool) {
    m_editor->setTool(tool);
    updateControls();
}

Shape* CalloutEditorDialog::singleSelected() const {
    Shape* found = nullptr;
    for (const auto& shape : m_edited.shapes) {
        if (!shape->selected)
            continue;
        if (found)
            return nullptr;
        found = shape.get();
    }
    return found;
}

void CalloutEditorDialog::SetModified(bool modified) {
    m_calloutModified = modified;
    updateCaption();
}

void CalloutEditorDialog::updateCaption() {
    if (m_currentIndex < 0 && m_edited.shapes.empty()) {
        setWindowTitle(kCaption);
        return;
    }
    setWindowTitle(kCaption + QStringLiteral("- [") + QString::fromStdString(m_edited.name) +
                   (m_calloutModified ? QStringLiteral(" *") : QString()) + QStringLiteral("]"));
}

void CalloutEditorDialog::rebuildShapeList() {
    m_updating = true;
    const int scroll = m_shapeList->verticalScrollBar() ? m_shapeList->verticalScrollBar()->value() : 0;
    m_shapeList->clear();
    for (size_t i = 0; i < m_edited.shapes.size(); ++i)
        m_shapeList->addItem(shapeLabel(*m_edited.shapes[i], int(i)));
    m_updating = false;
    mirrorSelection();
    m_shapeList->verticalScrollBar()->setValue(scroll);
}

void CalloutEditorDialog::mirrorSelection() {
    m_updating = true;
    for (int i = 0; i < m_shapeList->count() && size_t(i) < m_edited.shapes.size(); ++i)
        m_shapeList->item(i)->setSelected(m_edited.shapes[size_t(i)]->selected);
    m_updating = false;
    updateControls();
}

void CalloutEditorDialog::shapesChanged() {
    rebuildShapeList();
}

void CalloutEditorDialog::updateControls() {
    const bool editing = canEditShapes();
    for (auto& [action, tool] : m_toolActions) {
        action->setEnabled(editing);
        action->setChecked(m_editor->tool() == tool);
    }
    m_undoAction->setEnabled(m_history.canUndo());
    // The button stays short; its tip names the step, as a menu item would.
    m_undoAction->setToolTip(QString::fromStdString(m_history.undoText()).section(QLatin1Char('\t'), 0, 0));
    m_redoAction->setEnabled(m_history.canRedo());
    m_redoAction->setToolTip(QString::fromStdString(m_history.redoText()).section(QLatin1Char('\t'), 0, 0));
    m_deleteAction->setEnabled(m_editor->hasDeletableSelection() || m_editor->currentPoint().index >= 0);
    m_flipAction->setEnabled(m_editor->hasSelection());
    m_mirrorAction->setEnabled(m_editor->hasSelection());
    m_selectAllAction->setEnabled(!m_edited.shapes.empty());
    m_invertAction->setEnabled(!m_edited.shapes.empty());
    m_penStyle->setEnabled(m_newPenWidth == 1);
    Shape* shape = singleSelected();
    m_shapeColour->setEnabled(shape);
    paintSwatch(m_shapeColour, shape ? std::optional<uint32_t>(shape->colour) : std::nullopt);
    const bool outline = shape && shape->type() != ShapeType::Fill;
    m_shapeWidth->setEnabled(outline);
    m_shapeStyle->setEnabled(outline && shape->penWidth == 1);
    if (outline) {
        m_shapeWidth->setCurrentIndex(std::clamp(shape->penWidth, 1, 32) - 1);
        m_shapeStyle->setCurrentIndex(std::clamp(shape->penStyle, 0, 2));
    }
    paintSwatch(m_textColour, m_edited.textColour);
    paintSwatch(m_drawColourButton, m_drawColour);
}

void CalloutEditorDialog::setNewPenWidth(int width) {
    m_newPenWidth = std::clamp(width, 1, 32);
    if (m_newPenWidth > 1) {
        m_newPenStyle = 0;
        m_penStyle->setCurrentIndex(0);
    }
    updateControls();
}

bool CalloutEditorDialog::loadSelected() {
    if (m_calloutModified) {
        const QMessageBox::StandardButton answer = m_interaction.askYesNoCancel(kSaveQuestion);
        if (answer == QMessageBox::Cancel)
            return false;
        if (answer == QMessageBox::Yes)
            save();
    }
    m_currentIndex = m_calloutList->currentRow();
    m_edited.ClearShapes();
    m_history.clear();
    if (m_currentIndex >= 0 && size_t(m_currentIndex) < m_library.size()) {
        m_edited.CopyFrom(m_library.at(size_t(m_currentIndex)));
    } else {
        m_currentIndex = -1;
        m_edited.name.clear();
    }
    m_nameField->setText(QString::fromStdString(m_edited.name));
    SetModified(false);
    rebuildShapeList();
    m_editor->update();
    return true;
}

void CalloutEditorDialog::newCallout() {
    if (m_calloutModified)
        save();
    m_edited = Callout();
    const Callout fresh = m_library.NewCallout(m_edited.textColour);
    m_edited.name = fresh.name;
    m_edited.textColour = fresh.textColour;
    m_history.clear();
    for (const auto& shape : fresh.shapes)
        m_editor->addShape(shape->Clone());
    for (auto& shape : m_edited.shapes)
        shape->Update(0, false);
    SetModified(false);
    addToLibrary();
}

void CalloutEditorDialog::addToLibrary() {
    const size_t index = m_library.Add(m_edited);
    m_updating = true;
    m_calloutList->addItem(QString::fromStdString(m_edited.name));
    m_calloutList->setCurrentRow(int(index));
    m_updating = false;
    m_currentIndex = int(index);
    m_libraryChanged = true;
    m_nameField->setText(QString::fromStdString(m_edited.name));
    SetModified(false);
    updateControls();
}

void CalloutEditorDialog::save() {
    if (!m_calloutModified)
        return;
    if (m_currentIndex < 0) {
        saveAs();
        return;
    }
    if (!m_interaction.askYesNo(kOverwriteQuestion))
        return;
    const std::string oldName = m_library.at(size_t(m_currentIndex)).name;
    m_library.Replace(size_t(m_currentIndex), m_edited);
    if (oldName != m_edited.name)
        m_nameChanges.push_back({oldName, m_edited.name});
    m_updating = true;
    m_calloutList->item(m_currentIndex)->setText(QString::fromStdString(m_edited.name));
    m_calloutList->setCurrentRow(m_currentIndex);
    m_updating = false;
    SetModified(false);
    m_libraryChanged = true;
}

void CalloutEditorDialog::saveAs() {
    if (m_library.Find(m_edited.name)) {
        m_interaction.showStop(kNameTaken);
        m_nameField->setFocus();
        return;
    }
    addToLibrary();
}

void CalloutEditorDialog::deleteCallout() {
    if (m_currentIndex < 0)
        return;
    QString question = kDeleteQuestion;
    if (const int users = m_useCount ? m_useCount(m_library.at(size_t(m_currentIndex)).name) : 0; users > 0)
        question += QString::fromUtf8(
                        "\n\nÈ usato da %1 frame dei progetti aperti: vi apparirà un riquadro semplice.")
                        .arg(users);
    if (!m_interaction.askYesNo(question))
        return;
    const int row = m_currentIndex;
    m_nameChanges.push_back({m_library.at(size_t(row)).name, std::string()});
    m_library.Remove(size_t(row));
    m_libraryChanged = true;
    SetModified(false);
    m_edited.ClearShapes();
    m_updating = true;
    delete m_calloutList->takeItem(row);
    m_calloutList->setCurrentRow(std::min(row, m_calloutList->count() - 1));
    m_updating = false;
    loadSelected();
}

void CalloutEditorDialog::moveUp() {
    if (!loadSelected() || m_calloutModified || m_currentIndex <= 0)
        return;
    const int row = m_currentIndex;
    if (!m_library.MoveUp(size_t(row)))
        return;
    m_updating = true;
    m_calloutList->insertItem(row - 1, m_calloutList->takeItem(row));
    m_calloutList->setCurrentRow(row - 1);
    m_updating = false;
    m_currentIndex = row - 1;
    m_libraryChanged = true;
}

void CalloutEditorDialog::moveDown() {
    if (!loadSelected() || m_calloutModified || m_currentIndex < 0 ||
        m_currentIndex + 1 >= m_calloutList->count())
        return;
    const int row = m_currentIndex;
    if (!m_library.MoveDown(size_t(row)))
        return;
    m_updating = true;
    m_calloutList->insertItem(row + 1, m_calloutList->takeItem(row));
    m_calloutList->setCurrentRow(row + 1);
    m_updating = false;
    m_currentIndex = row + 1;
    m_libraryChanged = true;
}

void CalloutEditorDialog::selectCallout(int row) {
    m_calloutList->setCurrentRow(row);
}

void CalloutEditorDialog::chooseTextColour() {
    if (const std::optional<uint32_t> colour = m_interaction.chooseColour(m_edited.textColour)) {
        m_edited.textColour = *colour;
        SetModified(true);
        updateControls();
        m_editor->update();
    }
}

void CalloutEditorDialog::chooseDrawColour() {
    if (const std::optional<uint32_t> colour = m_interaction.chooseColour(m_drawColour)) {
        m_drawColour = *colour;
        updateControls();
    }
}

void CalloutEditorDialog::chooseShapeColour() {
    Shape* shape = singleSelected();
    if (!shape)
        return;
    if (const std::optional<uint32_t> colour = m_interaction.chooseColour(shape->colour)) {
        shape->colour = *colour;
        SetModified(true);
        shapesChanged();
        m_editor->update();
    }
}

void CalloutEditorDialog::DrawBackground(raster::DrawContext& dc) {
    dc.fillRect(Rect{0, 0, dc.width(), dc.height()}, kCanvasColour);
}

void CalloutEditorDialog::DrawOverlay(raster::DrawContext& dc) {
    if (m_edited.shapes.empty())
        return;
    // Only the text steps: a callout holding just its text field draws nothing but the text.
    Callout textOnly;
    textOnly.textColour = m_edited.textColour;
    textOnly.shapes.push_back(m_edited.shapes.front()->Clone());
    textOnly.shapes.front()->Update(0, false);
    dc.setTextColour(raster::kInvalidColour);
    textOnly.DrawCallout(dc, Rect{0, 0, dc.width(), dc.height()}, std::nullopt, 0);
}

void CalloutEditorDialog::DrawOutputPreview(raster::DrawContext& dc) {
    dc.fillRect(Rect{0, 0, dc.width(), dc.height()}, kPreviewColour);
    dc.setTextColour(raster::kInvalidColour);
    m_edited.DrawCallout(dc, Rect{0, 0, dc.width(), dc.height()}, std::nullopt, 0);
}

void CalloutEditorDialog::finish(bool choose) {
    const int row = m_calloutList->currentRow();
    m_resultIndex = row;
    m_resultName = row >= 0 ? m_calloutList->item(row)->text().toStdString() : std::string();
    m_updating = true;
    m_calloutList->setCurrentRow(-1);
    m_updating = false;
    loadSelected();
    if (!m_calloutModified && m_libraryChanged && !m_writePath.isEmpty()) {
        const Status status = m_library.SaveLibrary(m_writePath.toStdString());
        if (!status) {
            m_saveMessage = QString::fromStdString(status.message());
            m_interaction.showStop(m_saveMessage);
        }
    }
    if (!choose)
        m_resultIndex = -1;
}

void CalloutEditorDialog::accept() {
    finish(true);
    QDialog::accept();
}

void CalloutEditorDialog::reject() {
    finish(false);
    QDialog::reject();
}

}  // namespace quib
