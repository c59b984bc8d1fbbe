#include "properties_panel.h"

#include <QDockWidget>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <array>
#include <optional>

#include "app_settings.h"
#include "background_removal.h"
#include "base/strings.h"
#include "command_ids.h"
#include "command_table.h"
#include "cursor_commands.h"
#include "mixed_check_box.h"
#include "model/button_placement.h"
#include "model/frame_composition.h"
#include "model/goto_target.h"
#include "model/project_edit.h"
#include "model/quib_doc.h"
#include "model/text_fit.h"
#include "panel_fields.h"
#include "panel_heading.h"
#include "panel_icons.h"
#include "shapes/callout_library.h"
#include "shapes/default_callouts.h"

namespace quib {

namespace {

// Project controls that are not frame fields.
namespace ctl {
constexpr int Heading = 336;
constexpr int ProjectHeading = 32910;
constexpr int CalloutName = 1157;
constexpr int FontName = 1154;
constexpr int Background = 324;
constexpr int FrameX = 309;
constexpr int FrameY = 311;
constexpr int Titles = 323;
constexpr int TitleFontName = 1158;
constexpr int TitleLeft = 305;
constexpr int TitleTop = 307;
constexpr int TitleRight = 1150;
constexpr int TitleBottom = 1151;
constexpr int TextOverflow = 32911;
}  // namespace ctl

constexpr int kPictureCommands[] = {cmd::BackgroundImage, cmd::NextButtonImage, cmd::PreviousButtonImage,
                                    cmd::Goto1ButtonImage, cmd::Goto2ButtonImage};

QString text(int id) {
    return QString::fromUtf8(stringText(id));
}

// The menu text of a command without its mnemonic and accelerator, for tool tips.
QString commandTip(int id) {
    const CommandInfo* info = findCommand(id);
    if (!info)
        return QString();
    QString tip = QString::fromUtf8(info->menuText).section(QLatin1Char('\t'), 0, 0);
    tip.remove(QLatin1Char('&'));
    return tip;
}

// Edit controls keep what the user typed, but line breaks are stored as the project files hold them.
std::string storedText(const QString& typed) {
    QString text = typed;
    text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return text.toStdString();
}

QString shownText(const std::string& stored) {
    QString text = QString::fromStdString(stored);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

void showEditValue(QLineEdit* edit, const std::optional<std::string>& value) {
    const QString wanted = value ? QString::fromStdString(*value) : QString();
    if (edit->text() != wanted)
        edit->setText(wanted);
}

// Refreshes come often; the icon is drawn again only when the alignment changed.
void showAlignment(QWidget* button, uint32_t align) {
    const QVariant shown = button->property("align");
    if (shown.isValid() && shown.toUInt() == align)
        return;
    button->setProperty("align", align);
    static_cast<QToolButton*>(button)->setIcon(alignmentIcon(align));
}

// The name of the history step that changes a field.
const char* fieldAction(int f) {
    switch (f) {
        case field::TextBoxVisible:
            return "Mostra casella di testo";
        case field::CursorVisible:
            return "Mostra cursore";
        case field::NextVisible:
        case field::PrevVisible:
        case field::Goto1Visible:
        case field::Goto2Visible:
            return "Mostra pulsante";
        case field::Text:
            return "Modifica testo";
        case field::TextLeft:
        case field::TextTop:
        case field::TextRight:
        case field::TextBottom:
            return "Sposta casella di testo";
        case field::CursorX:
        case field::CursorY:
            return "Sposta cursore";
        case field::Title:
            return "Modifica titolo";
        case field::DisplayTime:
            return "Cambia tempo di visualizzazione";
        default:
            return "Sposta pulsante";
    }
}

// Typed text that runs past its box makes the box taller, down to the canvas's bottom.
void growToFitText(TextBox& box, const CalloutLibrary* callouts, int32_t canvasBottom) {
    const Callout* callout = callouts ? calloutForTextBox(*callouts, box.calloutName) : nullptr;
    if (!callout || !box.visible)
        return;
    const Rect r = box.rect.normalized();
    if (r != box.rect || r.bottom >= canvasBottom)
        return;
    if (const std::optional<int32_t> bottom = bottomThatFitsText(box, *callout, canvasBottom))
        box.rect.bottom = *bottom;
    else
        box.rect.bottom = canvasBottom;  // as much as there is room for; the panel says the rest
}

Qt::CheckState checkState(const SelectionSummary& summary, int f) {
    if (summary.mixed(f))
        return Qt::PartiallyChecked;
    return summary.checked(f) ? Qt::Checked : Qt::Unchecked;
}

}  // namespace

CPropertiesPanel::CPropertiesPanel(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("PropertiesPanelContent"));
    m_choices = PanelChoices::standard(this);
    buildControls();
    refresh();
}

CPropertiesPanel::~CPropertiesPanel() {
    disconnect(m_lifetime);
    if (m_doc)
        m_doc->removeObserver(this);
}

void CPropertiesPanel::setDocument(CQuibDoc* doc, std::function<std::vector<int>()> selectedFrames,
                                   QObject* lifetime) {
    disconnect(m_lifetime);
    if (m_doc && m_doc != doc)
        m_doc->removeObserver(this);
    if (doc && doc != m_doc)
        doc->addObserver(this);
    m_doc = doc;
    m_selectedFrames = doc ? std::move(selectedFrames) : nullptr;
    m_editingField = -1;
    if (doc && lifetime) {
        m_lifetime = connect(lifetime, &QObject::destroyed, this, [this] {
            m_doc = nullptr;
            m_selectedFrames = nullptr;
            refresh();
        });
    }
    refresh();
}

void CPropertiesPanel::setSettings(AppSettings* settings) {
    m_settings = settings;
    if (settings)
        setLayoutMode(settings->propertiesPanelViewMode == 0 ? Layout::Simple : Layout::Advanced);
}

void CPropertiesPanel::setLayoutMode(Layout layout) {
    m_layout = layout;
    for (QWidget* widget : m_advancedOnly)
        widget->setHidden(layout == Layout::Simple);
    if (m_settings)
        m_settings->propertiesPanelViewMode = layout == Layout::Simple ? 0 : 1;
}

void CPropertiesPanel::setCommandPoster(std::function<void(int)> post) {
    m_post = std::move(post);
    updateButtons();
}

QString CPropertiesPanel::headingText() const {
    return m_heading->text();
}

// ---- building -------------------------------------------------------------------------------

QLineEdit* CPropertiesPanel::addEdit(int id, bool number) {
    auto* edit = new QLineEdit(m_content);
    edit->setTextMargins(2, 0, 2, 0);
    if (number)
        edit->setMaximumWidth(64);
    m_controls.insert(id, edit);
    const int f = controlField(id);
    if (f >= 0) {
        connect(edit, &QLineEdit::textEdited, this, [this, f] { applyField(f); });
    } else {
        connect(edit, &QLineEdit::textEdited, this, [this, id] { applyProjectNumber(id); });
    }
    return edit;
}

MixedCheckBox* CPropertiesPanel::addCheck(int id, const QString& label) {
    auto* box = new MixedCheckBox(label, m_content);
    PanelHeading::paintLikeHeading(box);
    m_controls.insert(id, box);
    const int f = controlField(id);
    if (f >= 0)
        connect(box, &QCheckBox::clicked, this, [this, f] { applyField(f); });
    return box;
}

QToolButton* CPropertiesPanel::addButton(int id, const QString& label, const QString& tip) {
    auto* button = new QToolButton(m_content);
    button->setText(label);
    button->setToolTip(tip);
    button->setAutoRaise(false);
    m_controls.insert(id, button);
    connect(button, &QToolButton::clicked, this, [this, id] {
        if (enabled(id))
            run(id);
    });
    return button;
}

void CPropertiesPanel::addCoordinateRow(QGridLayout* grid, int row, int xId, int yId, bool advancedOnly) {
    auto* xLabel = new QLabel(QStringLiteral("x"), m_content);
    auto* yLabel = new QLabel(QStringLiteral("y"), m_content);
    QLineEdit* x = addEdit(xId, true);
    QLineEdit* y = addEdit(yId, true);
    grid->addWidget(xLabel, row, 0, Qt::AlignRight);
    grid->addWidget(x, row, 1);
    grid->addWidget(yLabel, row, 2, Qt::AlignRight);
    grid->addWidget(y, row, 3);
    if (advancedOnly)
        for (QWidget* w : {static_cast<QWidget*>(xLabel), static_cast<QWidget*>(yLabel),
                           static_cast<QWidget*>(x), static_cast<QWidget*>(y)})
            markAdvanced(w);
}

int CPropertiesPanel::addRectangleRows(QGridLayout* grid, int row, const std::array<int, 4>& ids) {
    static const char* const names[] = {"sx", "alto", "dx", "basso"};
    for (int i = 0; i < 4; ++i) {
        auto* name = new QLabel(QString::fromUtf8(names[i]), m_content);
        QLineEdit* edit = addEdit(ids[size_t(i)], true);
        grid->addWidget(name, row + i / 2, (i % 2) * 2, Qt::AlignRight);
        grid->addWidget(edit, row + i / 2, (i % 2) * 2 + 1);
        markAdvanced(name);
        markAdvanced(edit);
    }
    return row + 2;
}

void CPropertiesPanel::buildControls() {
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    auto* scroll = new QScrollArea(this);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    outer->addWidget(scroll);
    m_content = new QWidget(scroll);
    scroll->setWidget(m_content);

    auto* grid = new QGridLayout(m_content);
    grid->setContentsMargins(4, 4, 4, 4);
    grid->setHorizontalSpacing(4);
    grid->setVerticalSpacing(3);
    grid->setColumnStretch(4, 1);
    const int row = buildFrameSection(grid, 0);
    grid->setRowStretch(buildProjectSection(grid, row), 1);
}

void CPropertiesPanel::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    fitDock();
}

void CPropertiesPanel::fitDock() {
    // A dock keeps the width it had before the panel came in, and the fields' width is known only
    // once the panel is polished and filled: the dock follows it, up to a sensible bound.
    if (auto* dock = qobject_cast<QDockWidget*>(parentWidget()); dock && isVisible())
        dock->setMinimumWidth(std::min(minimumSizeHint().width(), 420));
}

QSize CPropertiesPanel::minimumSizeHint() const {
    const int scrollBar = style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 2;
    return QSize(m_content->minimumSizeHint().width() + scrollBar, 120);
}

int CPropertiesPanel::buildFrameSection(QGridLayout* grid, int row) {
    auto fullRow = [&](QWidget* widget) { grid->addWidget(widget, row++, 0, 1, 6); };
    auto label = [&](const QString& s) { return new QLabel(s, m_content); };

    m_heading = new PanelHeading(QString(), m_content);
    m_controls.insert(ctl::Heading, m_heading);
    fullRow(m_heading);

    grid->addWidget(label(QStringLiteral("Titolo")), row, 0, 1, 2);
    grid->addWidget(addEdit(600, false), row++, 2, 1, 4);
    grid->addWidget(label(QStringLiteral("Rimani in questo frame per:")), row++, 0, 1, 6);
    grid->addWidget(addEdit(1168, true), row, 0, 1, 2);
    grid->addWidget(label(QStringLiteral("ms")), row++, 2, 1, 2);

    // Element check boxes are bars; a chooser button of the element sits at the bar's end.
    auto elementRow = [&](int checkId, const char* name, int xId, int yId, int buttonId,
                          const QString& buttonText) {
        grid->addWidget(addCheck(checkId, QString::fromUtf8(name)), row, 0, 1, buttonId ? 5 : 6);
        if (buttonId)
            grid->addWidget(addButton(buttonId, buttonText, commandTip(buttonId)), row, 5);
        ++row;
        addCoordinateRow(grid, row++, xId, yId, true);
    };
    elementRow(321, "Cursore", 1163, 1164, cmd::ChooseCursor, QStringLiteral("..."));
    elementRow(1152, "bottone Avanti", 1155, 1156, 0, QString());
    elementRow(1159, "bottone Indietro", 1166, 1167, 0, QString());
    // Under each go-to button, a note shown while its target lies outside the project; it wraps
    // rather than widening the panel.
    auto outsideNote = [&](int k) {
        auto* note = new QLabel(text(str::GotoOutsideProject), m_content);
        note->setObjectName(QStringLiteral("gotoOutside%1").arg(k + 1));
        note->setWordWrap(true);
        note->setStyleSheet(QStringLiteral("color: #c00000"));
        note->hide();
        fullRow(note);
    };
    elementRow(1153, "bottone VaiA 1", 1160, 1161, cmd::GotoTarget1, QStringLiteral("VaiA..."));
    outsideNote(0);
    elementRow(1162, "bottone VaiA 2", 1170, 1171, cmd::GotoTarget2, QStringLiteral("VaiA..."));
    outsideNote(1);

    fullRow(addCheck(318, QStringLiteral("Casella di testo")));
    m_text = new QPlainTextEdit(m_content);
    m_text->setTabChangesFocus(true);
    m_text->setFixedHeight(m_text->fontMetrics().lineSpacing() * 4 + 12);
    m_controls.insert(228, m_text);
    connect(m_text, &QPlainTextEdit::textChanged, this, [this] {
        if (!m_refreshing)
            applyField(field::Text);
    });
    fullRow(m_text);
    m_overflow = new QLabel(QStringLiteral("Il testo non entra nella casella"), m_content);
    m_overflow->setStyleSheet(QStringLiteral("color: #b00000;"));
    m_overflow->setWordWrap(true);
    m_overflow->hide();
    m_controls.insert(ctl::TextOverflow, m_overflow);
    fullRow(m_overflow);
    row = addRectangleRows(grid, row, {240, 242, 1148, 1149});
    grid->addWidget(label(QStringLiteral("Callout :")), row, 0, 1, 2);
    m_calloutName = label(QString());
    m_controls.insert(ctl::CalloutName, m_calloutName);
    grid->addWidget(m_calloutName, row, 2, 1, 3);
    grid->addWidget(addButton(cmd::ChooseCallout, QStringLiteral("..."), commandTip(cmd::ChooseCallout)),
                    row++, 5);
    grid->addWidget(label(QStringLiteral("Font :")), row, 0, 1, 2);
    m_fontName = label(QString());
    m_controls.insert(ctl::FontName, m_fontName);
    grid->addWidget(m_fontName, row, 2, 1, 2);
    grid->addWidget(addButton(AlignTextCommand, QString(), QStringLiteral("Allineamento")), row, 4,
                    Qt::AlignRight);
    grid->addWidget(addButton(cmd::ChooseFont, QStringLiteral("..."), commandTip(cmd::ChooseFont)), row++, 5);
    auto styleButton = [&](int id, const QString& text, const QString& tip) {
        QToolButton* button = addButton(id, text, tip);
        button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        fullRow(button);
    };
    styleButton(
        UseAsDefaultStyleCommand, QStringLiteral("Usa come stile predefinito"),
        QStringLiteral("Le nuove caselle di testo prenderanno il carattere e il callout di questo frame"));
    styleButton(ApplyDefaultStyleCommand, QStringLiteral("Applica a tutti i frame"),
                QStringLiteral("Dà lo stile predefinito alle caselle di testo dei frame selezionati, "
                               "o di tutti se ne è selezionato uno solo"));

    return row;
}

int CPropertiesPanel::buildProjectSection(QGridLayout* grid, int row) {
    auto fullRow = [&](QWidget* widget) { grid->addWidget(widget, row++, 0, 1, 6); };
    auto label = [&](const QString& s) { return new QLabel(s, m_content); };
    auto* project = new PanelHeading(QStringLiteral("Progetto"), m_content);
    m_controls.insert(ctl::ProjectHeading, project);
    fullRow(project);
    MixedCheckBox* background = addCheck(ctl::Background, QStringLiteral("Sfondo"));
    connect(background, &QCheckBox::clicked, this, [this] { toggleBackground(); });
    fullRow(background);
    markAdvanced(background);
    QLabel* framePosition = label(QStringLiteral("Posizione frame"));
    fullRow(framePosition);
    markAdvanced(framePosition);
    addCoordinateRow(grid, row++, ctl::FrameX, ctl::FrameY, true);

    MixedCheckBox* titles = addCheck(ctl::Titles, QStringLiteral("Titoli frame"));
    connect(titles, &QCheckBox::clicked, this, [this] { toggleTitles(); });
    fullRow(titles);
    grid->addWidget(label(QStringLiteral("Font :")), row, 0, 1, 2);
    m_titleFontName = label(QString());
    m_controls.insert(ctl::TitleFontName, m_titleFontName);
    grid->addWidget(m_titleFontName, row, 2, 1, 2);
    grid->addWidget(addButton(TitleAlignCommand, QString(), QStringLiteral("Allineamento")), row, 4,
                    Qt::AlignRight);
    grid->addWidget(
        addButton(TitleFontCommand, QStringLiteral("..."), QStringLiteral("Carattere dei titoli")), row++, 5);
    row = addRectangleRows(grid, row, {ctl::TitleLeft, ctl::TitleTop, ctl::TitleRight, ctl::TitleBottom});

    QLabel* images = label(QStringLiteral("Immagini"));
    fullRow(images);
    markAdvanced(images);
    auto* imageRow = new QWidget(m_content);
    auto* imageLayout = new QHBoxLayout(imageRow);
    imageLayout->setContentsMargins(0, 0, 0, 0);
    imageLayout->setSpacing(2);
    for (int id : kPictureCommands) {
        auto* button = new QToolButton(imageRow);
        button->setIcon(pictureButtonIcon(id));
        button->setToolTip(commandTip(id));
        m_controls.insert(id, button);
        connect(button, &QToolButton::clicked, this, [this, id] {
            if (m_post)
                m_post(id);
        });
        imageLayout->addWidget(button);
    }
    imageLayout->addStretch(1);
    fullRow(imageRow);
    markAdvanced(imageRow);
    return row;
}

// ---- reading the document -------------------------------------------------------------------

const CalloutLibrary* CPropertiesPanel::library() const {
    return m_library ? m_library : applicationCalloutLibrary();
}

std::vector<int> CPropertiesPanel::selection() const {
    if (!m_doc)
        return {};
    return validSelection(*m_doc, m_selectedFrames ? m_selectedFrames() : std::vector<int>{});
}

bool CPropertiesPanel::hasCurrentFrame() const {
    return m_doc && m_doc->isValidIndex(m_doc->currentFrameIndex);
}

Frame CPropertiesPanel::currentElements() const {
    Frame frame;
    if (m_doc)
        m_doc->GetFrame(m_doc->currentFrameIndex, frame);
    return frame;
}

void CPropertiesPanel::refresh() {
    m_refreshing = true;
    if (!m_doc) {
        m_content->setEnabled(false);
        clearControls();
        m_editingField = -1;
    } else {
        m_content->setEnabled(true);
        showFrameFields();
        showProjectFields();
    }
    updateButtons();
    m_refreshing = false;
    fitDock();
}

void CPropertiesPanel::clearControls() {
    m_heading->setText(text(str::PropertiesFor).trimmed());
    for (auto it = m_controls.begin(); it != m_controls.end(); ++it) {
        if (auto* box = dynamic_cast<MixedCheckBox*>(it.value()))
            box->showState(Qt::Unchecked);
        else if (auto* edit = dynamic_cast<QLineEdit*>(it.value()))
            edit->clear();
    }
    m_text->clear();
    m_calloutName->clear();
    m_fontName->clear();
    m_titleFontName->clear();
}

void CPropertiesPanel::showFrameFields() {
    const SelectionSummary summary =
        summarizeSelection(*m_doc, m_selectedFrames ? m_selectedFrames() : std::vector<int>{});
    const size_t count = summary.frames.size();
    const bool any = count > 0;
    QString heading = text(str::PropertiesFor);
    if (count > 1)
        heading += text(str::MultipleSelection);
    else if (any)
        heading += text(str::FrameWord) + QString::number(summary.frames.front() + 1);
    m_heading->setText(any ? heading : heading.trimmed());

    for (int f = 0; f < field::Count; ++f) {
        QWidget* widget = control(fieldControlId(f));
        if (auto* box = dynamic_cast<MixedCheckBox*>(widget)) {
            box->showState(any ? checkState(summary, f) : Qt::Unchecked);
            box->setEnabled(any);
        } else if (auto* edit = dynamic_cast<QLineEdit*>(widget)) {
            showEditValue(edit, any ? summary.values[f] : std::nullopt);
        }
    }
    if (count == 1) {
        const int index = summary.frames.front();
        for (auto [f, atEnd] : {std::pair{field::PrevVisible, index == 0},
                                std::pair{field::NextVisible, index == m_doc->frameCount() - 1}}) {
            if (!atEnd)
                continue;
            auto* box = static_cast<MixedCheckBox*>(control(fieldControlId(f)));
            box->showState(Qt::Unchecked);
            box->setEnabled(false);
        }
    }

    auto shownOrMixed = [&](int f) { return any && (summary.mixed(f) || summary.checked(f)); };
    const QString wantedText =
        any && summary.values[field::Text] ? shownText(*summary.values[field::Text]) : QString();
    if (m_text->toPlainText() != wantedText)
        m_text->setPlainText(wantedText);
    // Typing here writes into every selected frame: the field says how many.
    const QString reach = count > 1 ? QStringLiteral("%1 frame").arg(count) : QString();
    m_text->setPlaceholderText(reach);
    m_text->setToolTip(reach.isEmpty() ? reach : QStringLiteral("Il testo scritto qui va in %1").arg(reach));
    m_text->setEnabled(count == 1 ? summary.checked(field::TextBoxVisible)
                                  : shownOrMixed(field::TextBoxVisible));
    for (int f = field::TextLeft; f <= field::TextBottom; ++f)
        control(fieldControlId(f))->setEnabled(shownOrMixed(field::TextBoxVisible));
    const std::pair<int, int> coordinates[] = {{field::CursorVisible, field::CursorX},
                                               {field::NextVisible, field::NextX},
                                               {field::PrevVisible, field::PrevX},
                                               {field::Goto1Visible, field::Goto1X},
                                               {field::Goto2Visible, field::Goto2X}};
    for (auto [check, x] : coordinates) {
        const bool on = shownOrMixed(check) && control(fieldControlId(check))->isEnabled();
        control(fieldControlId(x))->setEnabled(on);
        control(fieldControlId(x + 1))->setEnabled(on);
    }
    // A go-to button whose target lies outside the project leads nowhere or to the first frame.
    for (int k = 0; k < 2; ++k) {
        bool outside = false;
        if (count == 1) {
            const int index = summary.frames.front();
            const NavButton& button = m_doc->readFrame(index).gotoButtons[k];
            outside = button.visible && gotoTargetOutside(index, button.targetOffset, m_doc->frameCount());
        }
        if (auto* note = m_content->findChild<QLabel*>(QStringLiteral("gotoOutside%1").arg(k + 1)))
            note->setVisible(outside);
    }
    control(fieldControlId(field::Title))->setEnabled(any && m_doc->titles.enabled);
    control(fieldControlId(field::DisplayTime))->setEnabled(any);

    if (!any) {
        m_calloutName->clear();
        m_fontName->clear();
    } else {
        m_calloutName->setText(summary.calloutName ? QString::fromStdString(*summary.calloutName)
                                                   : text(str::MultipleCallouts));
        m_fontName->setText(summary.font ? QString::fromStdString(summary.font->logFont.face())
                                         : text(str::MultipleFonts));
    }
    showAlignment(control(AlignTextCommand), currentElements().textBox.font.align);
    m_overflow->setVisible(any && selectionTextOverflows(summary.frames));
}

bool CPropertiesPanel::selectionTextOverflows(const std::vector<int>& frames) const {
    const CalloutLibrary* callouts = library();
    if (!callouts)
        return false;
    for (int index : frames) {
        FrameElements frame;
        m_doc->GetFrame(index, frame);
        if (!frame.textBox.visible)
            continue;
        if (const Callout* callout = calloutForTextBox(*callouts, frame.textBox.calloutName);
            callout && !textFitsBox(frame.textBox, *callout))
            return true;
    }
    return false;
}

void CPropertiesPanel::showProjectFields() {
    const bool hasBackground = !m_doc->backgroundImage.isNull();
    auto* background = static_cast<MixedCheckBox*>(control(ctl::Background));
    background->showState(hasBackground ? Qt::Checked : Qt::Unchecked);
    background->setEnabled(hasBackground);
    const std::pair<int, int32_t> position[] = {{ctl::FrameX, m_doc->frameOrigin.x},
                                                {ctl::FrameY, m_doc->frameOrigin.y}};
    for (auto [id, value] : position) {
        auto* edit = static_cast<QLineEdit*>(control(id));
        showEditValue(edit, std::to_string(value));
        edit->setEnabled(hasBackground);
    }

    const TitleSettings& titles = m_doc->titles;
    static_cast<MixedCheckBox*>(control(ctl::Titles))
        ->showState(titles.enabled ? Qt::Checked : Qt::Unchecked);
    control(ctl::Titles)->setEnabled(true);
    m_titleFontName->setText(QString::fromStdString(titles.font.logFont.face()));
    showAlignment(control(TitleAlignCommand), titles.font.align);
    const std::pair<int, int32_t> rect[] = {{ctl::TitleLeft, titles.rect.left},
                                            {ctl::TitleTop, titles.rect.top},
                                            {ctl::TitleRight, titles.rect.right},
                                            {ctl::TitleBottom, titles.rect.bottom}};
    for (auto [id, value] : rect) {
        auto* edit = static_cast<QLineEdit*>(control(id));
        showEditValue(edit, std::to_string(value));
        edit->setEnabled(titles.enabled != 0);
    }
}

void CPropertiesPanel::updateButtons() {
    for (int id : {int(cmd::ChooseCursor), int(cmd::GotoTarget1), int(cmd::GotoTarget2),
                   int(cmd::ChooseCallout), int(cmd::ChooseFont), AlignTextCommand, TitleFontCommand,
                   TitleAlignCommand, UseAsDefaultStyleCommand, ApplyDefaultStyleCommand})
        control(id)->setEnabled(enabled(id));
    for (int id : kPictureCommands)
        control(id)->setEnabled(m_doc && m_post);
}

// ---- applying ---------------------------------------------------------------------------------

void CPropertiesPanel::applyField(int n) {
    if (!m_doc || m_refreshing || n < 0 || n >= field::Count)
        return;
    m_editingField = n;
    std::string input;
    QWidget* widget = control(fieldControlId(n));
    if (auto* box = dynamic_cast<MixedCheckBox*>(widget)) {
        if (box->checkState() == Qt::PartiallyChecked)
            box->showState(Qt::Unchecked);
        input.push_back(box->checkState() == Qt::Checked ? '1' : '0');
    } else if (auto* edit = dynamic_cast<QLineEdit*>(widget)) {
        input = edit->text().toStdString();
    } else if (n == field::Text) {
        input = storedText(m_text->toPlainText());
    }
    const std::vector<int> frames = selection();
    if (frames.empty())
        return;
    const CalloutLibrary* callouts = library();
    // Keystrokes in one field make one step; each click of a check box is its own.
    const std::string mergeKey = field::isCheck(n) ? std::string() : "panel." + std::to_string(n);
    editFrames(
        *m_doc, fieldAction(n), frames,
        [&] {
            for (int index : frames) {
                Frame frame;
                m_doc->GetFrame(index, frame);
                setFieldValue(frame, n, input, callouts);
                if (n == field::Text)
                    growToFitText(frame.textBox, callouts, m_doc->backgroundSize.cy);
                if (n == field::Goto1Visible || n == field::Goto2Visible)
                    placeNewGotoButton(frame, n == field::Goto1Visible ? 0 : 1, m_doc->buttonImages,
                                       m_doc->backgroundSize);
                m_doc->SetFrame(index, frame, false);
            }
        },
        mergeKey);
    // Typing holds the refresh back; the mark follows every keystroke.
    m_overflow->setVisible(selectionTextOverflows(frames));
    notify(fieldHint(n), n >= field::Text);
}

void CPropertiesPanel::applyToSelection(const char* action, int hint,
                                        const std::function<void(Frame&)>& change) {
    const std::vector<int> frames = selection();
    if (frames.empty())
        return;
    editFrames(*m_doc, action, frames, [&] {
        for (int index : frames) {
            Frame frame;
            m_doc->GetFrame(index, frame);
            change(frame);
            m_doc->SetFrame(index, frame, false);
        }
    });
    notify(hint, false);
}

void CPropertiesPanel::notify(int hint, bool holdRefresh) {
    m_suppressRefresh = holdRefresh;
    m_doc->UpdateAllViews(hint);
    m_suppressRefresh = false;
}

void CPropertiesPanel::applyProjectNumber(int id) {
    if (!m_doc || m_refreshing)
        return;
    const int32_t value = parseFieldNumber(static_cast<QLineEdit*>(control(id))->text().toStdString());
    const bool framePosition = id == ctl::FrameX || id == ctl::FrameY;
    if (framePosition && m_doc->backgroundImage.isNull())
        return;
    int32_t* target = nullptr;
    int32_t wanted = value;
    switch (id) {
        case ctl::FrameX:
            // The frame picture stays on the canvas.
            target = &m_doc->frameOrigin.x;
            wanted = std::min(value, std::max(0, m_doc->backgroundSize.cx - m_doc->frameSize.cx));
            break;
        case ctl::FrameY:
            target = &m_doc->frameOrigin.y;
            wanted = std::min(value, std::max(0, m_doc->backgroundSize.cy - m_doc->frameSize.cy));
            break;
        case ctl::TitleLeft:
            target = &m_doc->titles.rect.left;
            break;
        case ctl::TitleTop:
            target = &m_doc->titles.rect.top;
            break;
        case ctl::TitleRight:
            target = &m_doc->titles.rect.right;
            break;
        case ctl::TitleBottom:
            target = &m_doc->titles.rect.bottom;
            break;
        default:
            return;
    }
    editProject(*m_doc, framePosition ? "Sposta frame" : "Impostazioni titolo", [&] {
        if (*target == wanted)
            return false;
        *target = wanted;
        return true;
    });
    notify(framePosition ? hint::TitleOrFramePosition : hint::TitleOrImagePosition, true);
}

void CPropertiesPanel::toggleTitles() {
    if (!m_doc)
        return;
    const uint32_t enabled = static_cast<QCheckBox*>(control(ctl::Titles))->isChecked() ? 1 : 0;
    editProject(*m_doc, "Mostra titoli", [&] {
        if (m_doc->titles.enabled == enabled)
            return false;
        m_doc->titles.enabled = enabled;
        return true;
    });
    notify(hint::TitlesOnOff, false);
}

void CPropertiesPanel::toggleBackground() {
    auto* box = static_cast<MixedCheckBox*>(control(ctl::Background));
    if (!m_doc || box->isChecked())
        return;
    if (m_doc->backgroundImage.isNull() || !m_choices.askYesNo ||
        !m_choices.askYesNo(text(str::RemoveBackground))) {
        box->showState(m_doc->backgroundImage.isNull() ? Qt::Unchecked : Qt::Checked);
        return;
    }
    removeBackgroundPicture(*m_doc);
    refresh();
}

// ---- commands -----------------------------------------------------------------------------------

bool CPropertiesPanel::handles(int id) const {
    switch (id) {
        case cmd::PanelSimple:
        case cmd::PanelAdvanced:
        case cmd::EditTitle:
        case cmd::EditText:
        case cmd::ChooseFont:
        case cmd::ChooseCallout:
        case cmd::ChooseCursor:
        case cmd::GotoTarget1:
        case cmd::GotoTarget2:
        case AlignTextCommand:
        case TitleFontCommand:
        case TitleAlignCommand:
        case UseAsDefaultStyleCommand:
        case ApplyDefaultStyleCommand:
            return true;
        default:
            return false;
    }
}

bool CPropertiesPanel::enabled(int id) const {
    switch (id) {
        case cmd::PanelSimple:
        case cmd::PanelAdvanced:
            return true;
        case cmd::EditTitle:
            return hasCurrentFrame() && m_doc->titles.enabled;
        case cmd::EditText:
            return hasCurrentFrame() && currentElements().textBox.visible;
        case cmd::ChooseFont:
        case cmd::ChooseCallout:
        case AlignTextCommand:
        case cmd::ChooseCursor: {
            // Several frames: always; one frame: while the element it acts on is shown.
            const std::vector<int> frames = selection();
            if (frames.size() > 1)
                return true;
            if (frames.size() != 1)
                return false;
            FrameElements frame;
            m_doc->GetFrame(frames.front(), frame);
            return id == cmd::ChooseCursor ? frame.cursorVisible != 0 : frame.textBox.visible != 0;
        }
        case cmd::GotoTarget1:
        case cmd::GotoTarget2:
            return hasCurrentFrame() && currentElements().gotoButtons[id == cmd::GotoTarget1 ? 0 : 1].visible;
        case TitleFontCommand:
        case TitleAlignCommand:
            return m_doc && m_doc->titles.enabled;
        case UseAsDefaultStyleCommand:
            return hasCurrentFrame() && currentElements().textBox.visible;
        case ApplyDefaultStyleCommand:
            return m_doc && m_doc->frameCount() > 0;
        default:
            return false;
    }
}

bool CPropertiesPanel::checked(int id) const {
    if (id == cmd::PanelSimple)
        return m_layout == Layout::Simple;
    if (id == cmd::PanelAdvanced)
        return m_layout == Layout::Advanced;
    return false;
}

void CPropertiesPanel::run(int id) {
    switch (id) {
        case cmd::PanelSimple:
            setLayoutMode(Layout::Simple);
            break;
        case cmd::PanelAdvanced:
            setLayoutMode(Layout::Advanced);
            break;
        case cmd::EditTitle:
            focusField(600);
            break;
        case cmd::EditText:
            focusField(228);
            break;
        case cmd::ChooseFont:
            chooseTextFont();
            break;
        case cmd::ChooseCallout:
            chooseCallout();
            break;
        case AlignTextCommand:
            chooseTextAlignment();
            break;
        case TitleFontCommand:
            chooseTitleFont();
            break;
        case TitleAlignCommand:
            chooseTitleAlignment();
            break;
        case UseAsDefaultStyleCommand:
            useAsDefaultStyle();
            break;
        case ApplyDefaultStyleCommand:
            applyDefaultStyle();
            break;
        case cmd::ChooseCursor:
            if (m_doc)
                chooseCursorForFrames(*m_doc, selection(), this);
            break;
        case cmd::GotoTarget1:
            chooseGotoTarget(0);
            break;
        case cmd::GotoTarget2:
            chooseGotoTarget(1);
            break;
        default:
            break;
    }
}

void CPropertiesPanel::onUpdate(int, uint32_t) {
    if (!m_suppressRefresh)
        refresh();
}

void CPropertiesPanel::focusField(int controlId) {
    for (QWidget* w = parentWidget(); w; w = w->parentWidget()) {
        if (auto* dock = qobject_cast<QDockWidget*>(w)) {
            if (dock->isHidden())
                dock->show();
            break;
        }
    }
    QWidget* widget = control(controlId);
    widget->setFocus(Qt::ShortcutFocusReason);
    if (auto* edit = qobject_cast<QLineEdit*>(widget))
        edit->selectAll();
    else if (auto* text = qobject_cast<QPlainTextEdit*>(widget))
        text->selectAll();
}

void CPropertiesPanel::chooseTextFont() {
    if (!m_doc || !m_choices.chooseFont)
        return;
    const std::vector<int> frames = selection();
    if (frames.empty())
        return;
    Frame start;
    m_doc->GetFrame(hasCurrentFrame() ? m_doc->currentFrameIndex : frames.front(), start);
    uint32_t calloutColour = 0;
    if (const CalloutLibrary* callouts = library())
        if (const Callout* callout = callouts->FindCallout(start.textBox.calloutName))
            calloutColour = callout->textColour;
    const std::optional<TextFont> chosen = m_choices.chooseFont(start.textBox.font, calloutColour);
    if (!chosen)
        return;
    applyToSelection("Cambia carattere", hint::TextFont, [&](Frame& frame) {
        frame.textBox.font.logFont = chosen->logFont;
        frame.textBox.font.color = chosen->color;
    });
}

void CPropertiesPanel::useAsDefaultStyle() {
    if (!hasCurrentFrame())
        return;
    const TextBox& box = currentElements().textBox;
    TextStyle style{box.font, box.calloutName};
    if (style == m_doc->settings.textStyle)
        return;
    editProject(*m_doc, "Usa come stile predefinito", [&] {
        m_doc->settings.textStyle = std::move(style);
        return true;
    });
}

void CPropertiesPanel::applyDefaultStyle() {
    if (!m_doc)
        return;
    std::vector<int> frames = selection();
    if (frames.size() <= 1) {
        frames.clear();
        for (int i = 0; i < m_doc->frameCount(); ++i)
            frames.push_back(i);
    }
    if (frames.empty())
        return;
    const TextStyle style = m_doc->settings.textStyle;
    editFrames(*m_doc, "Applica lo stile predefinito", frames, [&] {
        for (int index : frames) {
            Frame frame;
            m_doc->GetFrame(index, frame);
            applyTextStyle(frame, style);
            m_doc->SetFrame(index, frame, false);
        }
    });
    notify(hint::TextFont, false);
}

void CPropertiesPanel::chooseCallout() {
    const CalloutLibrary* callouts = library();
    if (!m_doc || !callouts || !m_choices.chooseCallout)
        return;
    const std::optional<size_t> index =
        m_choices.chooseCallout(*callouts, currentElements().textBox.calloutName);
    if (!index || *index >= callouts->size())
        return;
    const std::string name = callouts->at(*index).name;
    applyToSelection("Cambia callout", hint::TextBoxVisibility, [&](Frame& frame) {
        frame.textBox.calloutName = name;
        frame.textBox.font.color = kCalloutTextColour;
    });
}

void CPropertiesPanel::chooseTextAlignment() {
    if (!m_doc || !m_choices.chooseAlignment)
        return;
    const std::optional<uint32_t> align = m_choices.chooseAlignment(currentElements().textBox.font.align);
    if (!align || *align > uint32_t(TextAlign::Justify))
        return;
    applyToSelection("Cambia allineamento", hint::TextFont,
                     [&](Frame& frame) { frame.textBox.font.align = *align; });
}

void CPropertiesPanel::chooseTitleFont() {
    if (!m_doc || !m_choices.chooseFont)
        return;
    const std::optional<TextFont> chosen = m_choices.chooseFont(m_doc->titles.font, 0);
    if (!chosen)
        return;
    editProject(*m_doc, "Impostazioni titolo", [&] {
        TextFont& font = m_doc->titles.font;
        if (font.logFont == chosen->logFont && font.color == chosen->color)
            return false;
        m_doc->titles.font.logFont = chosen->logFont;
        m_doc->titles.font.color = chosen->color;
        return true;
    });
    notify(hint::TitleOrImagePosition, false);
}

void CPropertiesPanel::chooseTitleAlignment() {
    if (!m_doc || !m_choices.chooseAlignment)
        return;
    const std::optional<uint32_t> align = m_choices.chooseAlignment(m_doc->titles.font.align);
    if (!align || *align > uint32_t(TextAlign::Justify))
        return;
    editProject(*m_doc, "Impostazioni titolo", [&] {
        if (m_doc->titles.font.align == *align)
            return false;
        m_doc->titles.font.align = *align;
        return true;
    });
    notify(hint::TitleOrImagePosition, false);
}

void CPropertiesPanel::chooseGotoTarget(int button) {
    if (!hasCurrentFrame() || !m_choices.chooseFrame)
        return;
    const int current = m_doc->currentFrameIndex;
    Frame frame = currentElements();
    const int initial =
        std::clamp(current + frame.gotoButtons[button].targetOffset, 0, m_doc->frameCount() - 1);
    const std::optional<int> chosen = m_choices.chooseFrame(m_doc->frameCount(), initial);
    if (!chosen || !m_doc->isValidIndex(*chosen))
        return;
    frame.gotoButtons[button].targetOffset = *chosen - current;
    editFrames(*m_doc, "Cambia destinazione", {current}, [&] { m_doc->SetFrame(current, frame, false); });
}

}  // namespace quib
