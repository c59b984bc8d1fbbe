#include "panel_choices.h"

#include <QCursor>
#include <QInputDialog>
#include <QMenu>
#include <QMessageBox>
#include <QPointer>
#include <QStringList>
#include <algorithm>
#include <cmath>

#include "application_callouts.h"
#include "base/strings.h"
#include "callout_editor_dialog.h"
#include "font_colour_dialog.h"
#include "model/frame_composition.h"
#include "raster/font_mapping.h"
#include "shapes/callout_library.h"

namespace quib {

namespace {

constexpr const char* kAlignItems[] = {"&Sinistra", "&Centra", "&Destra", "&Giustifica"};

std::optional<TextFont> askFont(QWidget* parent, const TextFont& start, uint32_t calloutColour) {
    FontColourDialog dialog(start, calloutColour, parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.chosen();
}

std::optional<size_t> askCallout(QWidget* parent, const CalloutLibrary& library, const std::string& current) {
    if (&library == applicationCalloutLibrary())
        return runCalloutEditor(parent, current);
    // Another library than the application's is only chosen from, never written.
    CalloutLibrary copy = library;
    CalloutEditorDialog dialog(copy, current, QString(), parent);
    if (dialog.exec() != QDialog::Accepted || dialog.resultIndex() < 0 ||
        size_t(dialog.resultIndex()) >= library.size())
        return std::nullopt;
    return size_t(dialog.resultIndex());
}

std::optional<int> askFrame(QWidget* parent, int count, int initial) {
    if (count <= 0)
        return std::nullopt;
    bool ok = false;
    const int number = QInputDialog::getInt(parent, QStringLiteral("Vai al frame..."),
                                            QString::fromUtf8(stringText(str::FrameWord)).trimmed(),
                                            std::clamp(initial, 0, count - 1) + 1, 1, count, 1, &ok);
    return ok ? std::optional<int>(number - 1) : std::nullopt;
}

std::optional<uint32_t> askAlignment(QWidget* parent, uint32_t current) {
    QMenu menu(parent);
    for (int i = 0; i < 4; ++i) {
        QAction* item = menu.addAction(QString::fromUtf8(kAlignItems[i]));
        item->setCheckable(true);
        item->setChecked(uint32_t(i) == current);
        item->setData(kAlignCommandBase + i);
    }
    QAction* chosen = menu.exec(QCursor::pos());
    if (!chosen)
        return std::nullopt;
    return uint32_t(chosen->data().toInt() - kAlignCommandBase);
}

}  // namespace

PanelChoices PanelChoices::standard(QWidget* parent) {
    QPointer<QWidget> owner = parent;
    PanelChoices choices;
    choices.chooseFont = [owner](const TextFont& start, uint32_t calloutColour) {
        return askFont(owner, start, calloutColour);
    };
    choices.chooseCallout = [owner](const CalloutLibrary& library, const std::string& current) {
        return askCallout(owner, library, current);
    };
    choices.chooseFrame = [owner](int count, int initial) { return askFrame(owner, count, initial); };
    choices.chooseAlignment = [owner](uint32_t current) { return askAlignment(owner, current); };
    choices.askYesNo = [owner](const QString& question) {
        return QMessageBox::question(owner, QString::fromUtf8(stringText(str::AppName)), question,
                                     QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
    };
    return choices;
}

LogFont logFontFromFont(const QFont& font, const LogFont& base) {
    LogFont result = base;
    result.setFace(font.family().toLatin1().toStdString());
    int pixels = font.pixelSize();
    if (pixels <= 0)
        pixels = int(std::lround(font.pointSizeF() * 96.0 / 72.0));
    result.height = pixels > 0 ? -pixels : base.height;
    result.width = 0;
    result.weight = int32_t(font.weight());
    result.italic = font.italic() ? 1 : 0;
    result.underline = font.underline() ? 1 : 0;
    result.strikeOut = font.strikeOut() ? 1 : 0;
    return result;
}

}  // namespace quib
