#include "move_elements_dialog.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "model/project_edit.h"
#include "model/quib_doc.h"
#include "title_width.h"

namespace quib {

namespace {
void shift(Point& p, int dx, int dy) {
    p.x += dx, p.y += dy;
}
void shift(Rect& r, int dx, int dy) {
    r.left += dx, r.right += dx, r.top += dy, r.bottom += dy;
}
void shiftElements(CQuibDoc& doc, int dx, int dy, const std::vector<int>* frames) {
    shift(doc.frameOrigin, dx, dy);
    shift(doc.titles.rect, dx, dy);
    std::vector<int> all;
    if (!frames) {
        for (int i = 0; i < doc.frameCount(); ++i)
            all.push_back(i);
        frames = &all;
    }
    for (int i : *frames) {
        if (!doc.isValidIndex(i))
            continue;
        Frame frame;
        doc.GetFrame(i, frame);
        shift(frame.cursorPos, dx, dy);
        shift(frame.textBox.rect, dx, dy);
        shift(frame.prevButton.pos, dx, dy);
        shift(frame.nextButton.pos, dx, dy);
        shift(frame.gotoButtons[0].pos, dx, dy);
        shift(frame.gotoButtons[1].pos, dx, dy);
        doc.SetFrame(i, frame, false);
    }
}

}  // namespace

void moveAllElements(CQuibDoc& doc, int dx, int dy, const std::vector<int>* frames) {
    editProject(doc, "Sposta tutti gli elementi", [&] {
        shiftElements(doc, dx, dy, frames);
        return dx != 0 || dy != 0;
    });
    for (int hintValue : {hint::TitleOrFramePosition, hint::Cursor, hint::TextBoxRect,
                          hint::TitleOrFramePosition, hint::Buttons})
        doc.UpdateAllViews(hintValue);
}

MoveElementsDialog::MoveElementsDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Sposta tutti gli elementi"));
    keepTitleVisible(*this);
    auto makeSpin = [this] {
        auto* spin = new QSpinBox(this);
        spin->setRange(-32767, 32767);
        spin->setValue(0);
        return spin;
    };
    m_x = makeSpin();
    m_y = makeSpin();
    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("X"), this), 0, 0);
    grid->addWidget(m_x, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("pixels"), this), 0, 2);
    grid->addWidget(new QLabel(QStringLiteral("Y"), this), 1, 0);
    grid->addWidget(m_y, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("pixels"), this), 1, 2);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Annulla"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    auto* text = new QLabel(
        QStringLiteral("Sposta tutti gli elementi (esclusa immagine di sfondo) dei frames selezionati di :"),
        this);
    text->setWordWrap(true);
    layout->addWidget(text);
    layout->addLayout(grid);
    layout->addWidget(buttons);
}

int MoveElementsDialog::dx() const {
    return m_x->value();
}

int MoveElementsDialog::dy() const {
    return m_y->value();
}

}  // namespace quib
