#include "cursor_library_dialog.h"

#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

#include "base/strings.h"
#include "cursor_commands.h"
#include "cursor_editor_dialog.h"

namespace quib {

namespace {

const QString kCurrentCursorName = QStringLiteral("Cursore corrente");

QIcon cursorIcon(const CursorPicture& cursor) {
    return QIcon(QPixmap::fromImage(cursorToImage(cursor.image)));
}

// The preview button: the cursor drawn at real size with its hot spot in the middle.
class CursorPreviewButton : public QPushButton {
public:
    explicit CursorPreviewButton(QWidget* parent) : QPushButton(parent) {
        setMinimumSize(72, 72);
        setFocusPolicy(Qt::NoFocus);
    }
    void setCursorPicture(const CursorPicture& cursor) {
        m_image = cursorToImage(cursor.image);
        m_hotSpot = QPoint(cursor.hotSpot.x, cursor.hotSpot.y);
        update();
    }

protected:
    void paintEvent(QPaintEvent* event) override {
        QPushButton::paintEvent(event);
        if (m_image.isNull())
            return;
        QPainter painter(this);
        painter.setClipRect(rect().adjusted(2, 2, -2, -2));
        painter.drawImage(rect().center() - m_hotSpot, m_image);
    }

private:
    QImage m_image;
    QPoint m_hotSpot;
};

}  // namespace

CursorLibraryDialog::CursorLibraryDialog(const CursorPicture& current, const QString& readPath,
                                         const QString& writePath, QWidget* parent)
    : QDialog(parent), m_standard(standardCursors()), m_current(current), m_writePath(writePath) {
    setWindowTitle(QStringLiteral("Seleziona cursore"));

    const Status loaded = loadUserCursorFile(readPath.toStdString(), m_userCursors);
    if (!loaded)
        m_loadMessage = QString::fromStdString(loaded.message());

    const auto makeList = [this] {
        auto* list = new QListWidget(this);
        list->setIconSize(QSize(32, 32));
        list->setSelectionMode(QAbstractItemView::SingleSelection);
        list->setMinimumWidth(230);
        list->setMinimumHeight(330);
        return list;
    };
    m_standardList = makeList();
    for (const StandardCursor& entry : m_standard)
        new QListWidgetItem(cursorIcon(entry.cursor), QString::fromUtf8(entry.name), m_standardList);
    m_userList = makeList();
    addUserItem(kCurrentCursorName, m_current);
    for (const UserCursor& entry : m_userCursors)
        addUserItem(QString::fromStdString(entry.name), entry.cursor);

    const auto labelled = [this](const QString& text, QListWidget* list) {
        auto* box = new QVBoxLayout;
        auto* label = new QLabel(text, this);
        label->setBuddy(list);
        box->addWidget(label);
        box->addWidget(list);
        return box;
    };

    m_preview = new CursorPreviewButton(this);
    m_editButton = new QPushButton(QStringLiteral("&Modifica"), this);
    m_cloneButton = new QPushButton(QStringLiteral("&Clona"), this);
    m_deleteButton = new QPushButton(QStringLiteral("&Elimina"), this);
    auto* middle = new QVBoxLayout;
    middle->addStretch(1);
    middle->addWidget(m_preview, 0, Qt::AlignHCenter);
    middle->addSpacing(8);
    middle->addWidget(m_editButton);
    middle->addWidget(m_cloneButton);
    middle->addWidget(m_deleteButton);
    middle->addStretch(1);

    auto* lists = new QHBoxLayout;
    lists->addLayout(labelled(QStringLiteral("Cursori &standard"), m_standardList));
    lists->addLayout(middle);
    lists->addLayout(labelled(QStringLiteral("Cursori creati dall'&utente"), m_userList));

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Annulla"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(lists);
    layout->addWidget(buttons);

    connect(m_standardList, &QListWidget::currentRowChanged, this, [this](int row) {
        if (!m_selecting && row >= 0)
            select(Side::Standard, row);
    });
    connect(m_userList, &QListWidget::currentRowChanged, this, [this](int row) {
        if (!m_selecting && row >= 0)
            select(Side::User, row);
    });
    // A click on the row that is already current in the other list selects it again.
    connect(m_standardList, &QListWidget::itemPressed, this,
            [this](QListWidgetItem* item) { select(Side::Standard, m_standardList->row(item)); });
    connect(m_userList, &QListWidget::itemPressed, this,
            [this](QListWidgetItem* item) { select(Side::User, m_userList->row(item)); });
    connect(m_editButton, &QPushButton::clicked, this, &CursorLibraryDialog::editSelected);
    connect(m_cloneButton, &QPushButton::clicked, this, &CursorLibraryDialog::cloneSelected);
    connect(m_deleteButton, &QPushButton::clicked, this, &CursorLibraryDialog::deleteSelected);

    selectUser(0);
    m_userList->setFocus();
}

void CursorLibraryDialog::addUserItem(const QString& name, const CursorPicture& cursor) {
    new QListWidgetItem(cursorIcon(cursor), name, m_userList);
}

void CursorLibraryDialog::selectStandard(int row) {
    select(Side::Standard, row);
}

void CursorLibraryDialog::selectUser(int row) {
    select(Side::User, row);
}

void CursorLibraryDialog::select(Side side, int row) {
    QListWidget* list = side == Side::Standard ? m_standardList : m_userList;
    QListWidget* other = side == Side::Standard ? m_userList : m_standardList;
    if (row < 0 || row >= list->count())
        return;
    m_selecting = true;
    other->clearSelection();
    other->setCurrentRow(-1);
    list->setCurrentRow(row);
    m_selecting = false;
    m_side = side;
    m_row = row;
    static_cast<CursorPreviewButton*>(m_preview)->setCursorPicture(selectedCursor());
    updateButtons();
}

const CursorPicture& CursorLibraryDialog::selectedCursor() const {
    if (m_side == Side::Standard)
        return m_standard[size_t(m_row)].cursor;
    if (m_side == Side::User && m_row >= 1)
        return m_userCursors[size_t(m_row - 1)].cursor;
    return m_current;
}

void CursorLibraryDialog::updateButtons() {
    m_editButton->setEnabled(m_side == Side::User);
    m_deleteButton->setEnabled(m_side == Side::User && m_row >= 1);
    m_cloneButton->setEnabled(m_side != Side::None);
}

void CursorLibraryDialog::editSelected() {
    if (m_side != Side::User)
        return;
    std::optional<CursorPicture> edited;
    if (m_interaction.editCursor)
        edited = m_interaction.editCursor(selectedCursor());
    else
        edited = CursorEditorDialog::edit(this, selectedCursor(), QStringLiteral("Edit Cursor Image"));
    if (edited)
        replaceSelected(*edited);
}

void CursorLibraryDialog::replaceSelected(const CursorPicture& edited) {
    if (m_side != Side::User)
        return;
    if (m_row == 0) {
        m_current = edited;
    } else {
        m_userCursors[size_t(m_row - 1)].cursor = edited;
        m_modified = true;
    }
    m_userList->item(m_row)->setIcon(cursorIcon(edited));
    select(Side::User, m_row);
}

void CursorLibraryDialog::cloneSelected() {
    if (m_side == Side::None)
        return;
    std::optional<QString> name;
    if (m_interaction.askName) {
        name = m_interaction.askName();
    } else {
        bool ok = false;
        const QString typed = QInputDialog::getText(this, QString::fromUtf8(stringText(str::AppName)),
                                                    QStringLiteral("Indica il nome del nuovo cursore"),
                                                    QLineEdit::Normal, QString(), &ok);
        if (ok)
            name = typed;
    }
    if (name)
        cloneSelectedAs(*name);
}

void CursorLibraryDialog::cloneSelectedAs(const QString& name) {
    if (m_side == Side::None)
        return;
    const CursorPicture copy = selectedCursor();
    // The library keeps pictures of 1 to kMaxCursorSide pixels a side; anything else could not be
    // read back.
    const auto fits = [](int side) { return side >= 1 && side <= kMaxCursorSide; };
    if (!fits(copy.image.width) || !fits(copy.image.height)) {
        showMessage(QStringLiteral("Il cursore non può entrare nella libreria: la sua immagine deve misurare "
                                   "da 1 a %1 pixel per lato.")
                        .arg(kMaxCursorSide));
        return;
    }
    m_userCursors.push_back(UserCursor{name.toStdString(), copy});
    m_modified = true;
    addUserItem(name, copy);
    select(Side::User, m_userList->count() - 1);
    m_userList->setFocus();
}

void CursorLibraryDialog::deleteSelected() {
    if (m_side != Side::User || m_row < 1)
        return;
    const int row = m_row;
    m_userCursors.erase(m_userCursors.begin() + (row - 1));
    m_modified = true;
    m_selecting = true;
    delete m_userList->takeItem(row);
    m_selecting = false;
    select(Side::User, row < m_userList->count() ? row : row - 1);
    m_userList->setFocus();
}

void CursorLibraryDialog::showMessage(const QString& text) {
    if (m_interaction.showMessage)
        m_interaction.showMessage(text);
    else
        QMessageBox::warning(this, QString::fromUtf8(stringText(str::AppName)), text);
}

bool CursorLibraryDialog::saveLibrary() {
    const Status saved = saveUserCursorFile(m_writePath.toStdString(), m_userCursors);
    if (!saved) {
        showMessage(QString::fromStdString(saved.message()));
        return false;
    }
    m_modified = false;
    return true;
}

void CursorLibraryDialog::accept() {
    // A failed write keeps the dialog open, so that the user's cursors are not lost unnoticed.
    if (m_modified && !saveLibrary())
        return;
    QDialog::accept();
}

void CursorLibraryDialog::reject() {
    if (m_modified) {
        const QString question = QStringLiteral("Volete salvare le modifiche?");
        const bool yes = m_interaction.askYesNo
                             ? m_interaction.askYesNo(question)
                             : QMessageBox::question(this, windowTitle(), question,
                                                     QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
        if (yes)
            saveLibrary();
    }
    QDialog::reject();
}

}  // namespace quib
