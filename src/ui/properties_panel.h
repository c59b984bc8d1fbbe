#pragma once

#include <QHash>
#include <QMetaObject>
#include <QWidget>
#include <array>
#include <functional>
#include <vector>

#include "command_handler.h"
#include "model/doc_observer.h"
#include "panel_choices.h"

class QGridLayout;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QToolButton;

namespace quib {

struct AppSettings;
class CalloutLibrary;
class CQuibDoc;
class MixedCheckBox;
struct Frame;

// The properties panel: shows and edits the elements of the selected frames of the shown project
// and the project's frame settings. Every change goes to all selected frames at once; values that
// differ between them show mixed (a third check-box state, an empty field).
class CPropertiesPanel : public QWidget, public CommandHandler, public DocObserver {
public:
    enum class Layout { Simple = 0, Advanced = 1 };

    // Panel buttons without a menu command of their own.
    static constexpr int AlignTextCommand = 32789;
    static constexpr int TitleFontCommand = 40021;
    static constexpr int TitleAlignCommand = 40023;
    static constexpr int UseAsDefaultStyleCommand = 40030;
    static constexpr int ApplyDefaultStyleCommand = 40031;

    explicit CPropertiesPanel(QWidget* parent = nullptr);
    ~CPropertiesPanel() override;

    // Shows doc (nullptr: none) and edits the frames selectedFrames lists (the current frame when
    // it lists none). When lifetime is given, its destruction makes the panel forget the document
    // without touching it, for owners that delete the document before telling the panel.
    void setDocument(CQuibDoc* doc, std::function<std::vector<int>()> selectedFrames = {},
                     QObject* lifetime = nullptr);
    CQuibDoc* document() const { return m_doc; }

    // Applies and from then on keeps the layout choice in settings.
    void setSettings(AppSettings* settings);
    void setLayoutMode(Layout layout);
    Layout layoutMode() const { return m_layout; }

    // The dialogs and questions (the standard ones unless replaced).
    void setChoices(PanelChoices choices) { m_choices = std::move(choices); }
    PanelChoices& choices() { return m_choices; }
    // The library callouts are chosen from (default: the application's).
    void setCalloutLibrary(const CalloutLibrary* library) { m_library = library; }
    // Where the image buttons send their commands (the main window's routing); they stay
    // disabled until it is set.
    void setCommandPoster(std::function<void(int)> post);

    // The widget of a control of the panel, by its dialog control id (for example 228, the text).
    QWidget* control(int id) const { return m_controls.value(id); }
    QString headingText() const;
    // The field last applied (-1: none since the document was set).
    int editingField() const { return m_editingField; }

    // Reads everything shown from the document again.
    void refresh();
    // Gives field n the value of its control on every selected frame.
    void applyField(int n);

    bool handles(int id) const override;
    void run(int id) override;
    bool enabled(int id) const override;
    bool checked(int id) const override;

    void onUpdate(int hint, uint32_t arg) override;

    // The dock may be narrowed, but never so far that the fields are cut off.
    QSize minimumSizeHint() const override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void fitDock();
    void buildControls();
    // Each adds its rows from row on and returns the row after them.
    int buildFrameSection(QGridLayout* grid, int row);
    int buildProjectSection(QGridLayout* grid, int row);
    QLineEdit* addEdit(int id, bool number);
    MixedCheckBox* addCheck(int id, const QString& text);
    QToolButton* addButton(int id, const QString& text, const QString& tip);
    void addCoordinateRow(QGridLayout* grid, int row, int xId, int yId, bool advancedOnly);
    // Left and top, then right and bottom; returns the row after them.
    int addRectangleRows(QGridLayout* grid, int row, const std::array<int, 4>& ids);
    void markAdvanced(QWidget* widget) { m_advancedOnly.push_back(widget); }

    const CalloutLibrary* library() const;
    std::vector<int> selection() const;
    bool hasCurrentFrame() const;
    Frame currentElements() const;

    void clearControls();
    void showFrameFields();
    void showProjectFields();
    void updateButtons();

    // Applies a change to the selected frames, then marks the document and sends hint.
    void applyToSelection(const char* action, int hint, const std::function<void(Frame&)>& change);
    // Sends a hint, with the refresh held back for fields being typed in.
    void notify(int hint, bool holdRefresh);

    void applyProjectNumber(int controlId);
    void toggleTitles();
    void toggleBackground();

    void focusField(int controlId);
    void chooseTextFont();
    bool selectionTextOverflows(const std::vector<int>& frames) const;
    void useAsDefaultStyle();
    void applyDefaultStyle();
    void chooseCallout();
    void chooseTextAlignment();
    void chooseTitleFont();
    void chooseTitleAlignment();
    void chooseGotoTarget(int button);

    CQuibDoc* m_doc = nullptr;
    std::function<std::vector<int>()> m_selectedFrames;
    QMetaObject::Connection m_lifetime;
    AppSettings* m_settings = nullptr;
    const CalloutLibrary* m_library = nullptr;
    PanelChoices m_choices;
    std::function<void(int)> m_post;
    Layout m_layout = Layout::Advanced;
    int m_editingField = -1;
    bool m_suppressRefresh = false;
    bool m_refreshing = false;

    QWidget* m_content = nullptr;
    QLabel* m_heading = nullptr;
    QPlainTextEdit* m_text = nullptr;
    QLabel* m_calloutName = nullptr;
    QLabel* m_overflow = nullptr;
    QLabel* m_fontName = nullptr;
    QLabel* m_titleFontName = nullptr;
    QHash<int, QWidget*> m_controls;
    std::vector<QWidget*> m_advancedOnly;
};

}  // namespace quib
