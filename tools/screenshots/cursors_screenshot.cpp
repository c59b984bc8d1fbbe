// Draws the cursor chooser and the cursor image editor into one picture, for a look at them.
#include <QApplication>
#include <QPainter>
#include <QTemporaryDir>

#include "cursors/standard_cursors.h"
#include "ui/cursor_editor_dialog.h"
#include "ui/cursor_library_dialog.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("cursors.png");
    QTemporaryDir dir;
    const QString library = dir.filePath(QStringLiteral("usercurs.dat"));
    quib::CursorPicture hand = quib::standardCursors()[2].cursor;
    (void)quib::saveUserCursorFile(
        library.toStdString(),
        {quib::UserCursor{"Mano", hand}, quib::UserCursor{"Attesa", quib::standardCursors()[12].cursor}});

    quib::CursorLibraryDialog chooser(quib::standardArrowCursor(), library, library);
    chooser.selectUser(1);
    chooser.show();
    quib::CursorEditorDialog editor(hand, QStringLiteral("Edit Cursor Image"));
    editor.editor().press({20, 20}, quib::CursorColour::rgb(255, 0, 0),
                          quib::CursorColour::rgb(255, 255, 255));
    editor.editor().release();
    editor.show();
    app.processEvents();

    const QPixmap left = chooser.grab();
    const QPixmap right = editor.grab();
    QImage picture(left.width() + right.width() + 30, std::max(left.height(), right.height()) + 20,
                   QImage::Format_RGB32);
    picture.fill(QColor(90, 100, 110));
    QPainter painter(&picture);
    painter.drawPixmap(10, 10, left);
    painter.drawPixmap(left.width() + 20, 10, right);
    painter.end();
    return picture.save(out) ? 0 : 1;
}
