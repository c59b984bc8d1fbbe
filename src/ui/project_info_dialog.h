#pragma once

#include <QDialog>
#include <QLabel>
#include <QString>

class QFormLayout;

namespace quib {

class CQuibDoc;

// The facts the project information dialog shows, as texts.
struct ProjectInfo {
    QString fileName;     // the project file's name without its folder
    QString folder;       // the folder, without the last separator
    QString canvasSize;   // "cx x cy", only with a background picture
    QString frameSize;    // "cx x cy"
    QString usesPalette;  // "Si" or "No"
    QString frameCount;
};

ProjectInfo projectInfo(const CQuibDoc& doc);

// A one-line label that shortens its text in the middle, so a long folder keeps both its start
// and its last part in view.
class MiddleElidedLabel : public QLabel {
public:
    explicit MiddleElidedLabel(QWidget* parent = nullptr);
    void setFullText(const QString& text);
    QString fullText() const { return m_fullText; }
    // The text as painted at the current width.
    QString displayedText() const;

    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_fullText;
};

// The project information dialog; every value sits in a label named after its control id
// ("205", "333", "334", "335", "316", "1143").
class ProjectInfoDialog : public QDialog {
public:
    explicit ProjectInfoDialog(const ProjectInfo& info, QWidget* parent = nullptr);

    QString fieldText(int controlId) const;

private:
    QLabel* addField(QFormLayout* form, const QString& label, int controlId, const QString& text);
};

}  // namespace quib
