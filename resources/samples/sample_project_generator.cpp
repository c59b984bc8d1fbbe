// Makes the two sample projects of the tutorial commands from the program's own windows, and
// saves the window pictures the user guide shows:
//   quib_sample_generator DATA_FOLDER
// writes DATA_FOLDER/samples/tutorial.qbk, DATA_FOLDER/samples/sample.qbk and
// DATA_FOLDER/docs/immagini/*.png.
#include <QApplication>
#include <QDir>
#include <QPainter>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "base/progress.h"
#include "cursors/standard_cursors.h"
#include "model/project_storage.h"
#include "model/text_fit.h"
#include "model/text_style.h"
#include "shapes/default_callouts.h"
#include "window_pictures.h"

using namespace quib;

namespace {

constexpr int kWidth = 800;
constexpr int kHeight = 540;
constexpr int kTaskBar = 30;

struct Layer {
    QString window;
    QPoint at;
};

// One frame: windows over the desktop, the pointer on a spot of the last window named, and a
// text box in a callout.
struct Step {
    std::vector<Layer> layers;
    QString pointWindow;
    QString pointSpot;
    QString title;
    QString text;
    const char* callout;  // its tail points at the pointer
    int boxWidth;
    QRect region;      // a capture region drawn on the desktop, when not empty
    QPoint onDesktop;  // the pointer when no window is named
};

QImage desktop() {
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    QPainter p(&image);
    QLinearGradient sky(0, 0, kWidth, kHeight);
    sky.setColorAt(0, QColor(34, 78, 120));
    sky.setColorAt(1, QColor(60, 130, 150));
    p.fillRect(image.rect(), sky);
    p.fillRect(QRect(0, kHeight - kTaskBar, kWidth, kTaskBar), QColor(32, 34, 40));
    p.fillRect(QRect(6, kHeight - kTaskBar + 5, 96, kTaskBar - 10), QColor(70, 96, 140));
    p.setPen(Qt::white);
    p.drawText(QRect(6, kHeight - kTaskBar + 5, 96, kTaskBar - 10), Qt::AlignCenter, QStringLiteral("Quib"));
    p.drawText(QRect(kWidth - 70, kHeight - kTaskBar, 60, kTaskBar), Qt::AlignCenter,
               QStringLiteral("10:24"));
    return image;
}

Bitmap24 toBitmap(const QImage& image) {
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    Bitmap24 bitmap(rgb.width(), rgb.height());
    for (int y = 0; y < rgb.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        for (int x = 0; x < rgb.width(); ++x) {
            uint8_t* p = bitmap.pixel(x, y);
            p[0] = uint8_t(qBlue(line[x])), p[1] = uint8_t(qGreen(line[x])), p[2] = uint8_t(qRed(line[x]));
        }
    }
    return bitmap;
}

// Where a box of w x h goes so that its callout's tail ends just beside the pointer (the
// bubbles' tips sit at fixed fractions of the box).
QPoint tailTip(const std::string& callout, QPoint pointer, int w, int h) {
    struct Tip {
        const char* name;
        double x, y;
        QPoint gap;
    };
    static const Tip tips[] = {{"Fumetto in alto", 0.82, 0.02, {0, 24}},
                               {"Fumetto in basso", 0.18, 0.98, {0, -6}},
                               {"Fumetto a sinistra", 0.02, 0.18, {16, 8}},
                               {"Fumetto a destra", 0.98, 0.82, {-8, 0}}};
    for (const Tip& tip : tips) {
        if (callout == tip.name)
            return pointer + tip.gap - QPoint(int(tip.x * w), int(tip.y * h));
    }
    return QPoint(std::clamp(pointer.x() + 20, 0, kWidth - w), std::clamp(pointer.y() + 20, 40, kHeight - h));
}

bool makeSample(const std::map<QString, WindowPicture>& windows, const std::vector<Step>& steps,
                const QString& path) {
    CQuibDoc doc;
    doc.frameSize = Size{kWidth, kHeight};
    doc.InitNewProject();
    doc.titles.enabled = 1;
    doc.titles.rect = Rect{14, 6, kWidth - 14, 36};
    doc.titles.font.color = rgb(255, 255, 255);
    doc.titles.font.align = uint32_t(TextAlign::Left);
    const CalloutLibrary callouts = defaultCalloutLibrary();
    const CursorPicture arrow = standardArrowCursor();
    const Bitmap32& next = doc.buttonImages.images[ButtonImageSet::Next];
    const Bitmap32& prev = doc.buttonImages.images[ButtonImageSet::Previous];
    const Bitmap32& back = doc.buttonImages.images[ButtonImageSet::Goto1];
    const QImage background = desktop();
    const int count = int(steps.size());
    for (int k = 0; k < count; ++k) {
        const Step& step = steps[size_t(k)];
        QImage screen = background;
        QPainter p(&screen);
        if (!step.region.isEmpty()) {
            p.setPen(QPen(QColor(230, 40, 30), 3, Qt::DashLine));
            p.drawRect(step.region);
        }
        QPoint pointer = step.onDesktop;
        for (const Layer& layer : step.layers) {
            const auto it = windows.find(layer.window);
            if (it == windows.end())
                return false;
            p.drawImage(layer.at, it->second.image);
            if (layer.window == step.pointWindow)
                pointer = layer.at + it->second.spot(step.pointSpot);
        }
        p.end();
        doc.currentImage = toBitmap(screen);

        Frame& f = doc.currentFrame;
        f = Frame();
        CQuibDoc::SetCursorImageFromHandle(f, arrow);
        f.cursorVisible = 1;
        f.cursorPos = Point{pointer.x() - arrow.hotSpot.x, pointer.y() - arrow.hotSpot.y};
        f.title = step.title.toStdString();
        f.textBox.visible = 1;
        f.textBox.calloutName = step.callout;
        f.textBox.font = TextStyle::standardTextFont();
        f.textBox.font.color = rgb(0, 0, 0);
        f.textBox.text = step.text.toStdString();
        f.textBox.rect = Rect{0, 0, step.boxWidth, 40};
        if (const Callout* callout = callouts.FindCallout(step.callout)) {
            if (const auto bottom = bottomThatFitsText(f.textBox, *callout, kHeight))
                f.textBox.rect.bottom = *bottom;
        }
        const QPoint tip = tailTip(step.callout, pointer, step.boxWidth, f.textBox.rect.bottom);
        f.textBox.rect = Rect{tip.x(), tip.y(), tip.x() + step.boxWidth, tip.y() + f.textBox.rect.bottom};
        const int buttonTop = kHeight - kTaskBar - next.height - 6;
        f.nextButton.visible = k + 1 < count;
        f.nextButton.pos = Point{kWidth - next.width - 8, buttonTop};
        f.prevButton.visible = k > 0;
        f.prevButton.pos = Point{f.nextButton.pos.x - prev.width - 6, buttonTop};
        if (k == count - 1 && k > 0) {
            f.gotoButtons[0].visible = 1;
            f.gotoButtons[0].pos = Point{kWidth - back.width - 8, buttonTop};
            f.gotoButtons[0].targetOffset = -k;
        }
        f.displayTime = 4000;
        if (!doc.AppendCapturedFrame())
            return false;
    }
    doc.SelectFrame(0, true);
    NullProgress progress;
    return SaveProjectCompressed(QFile::encodeName(path).toStdString(), doc, progress).ok();
}

QString s(const char* text) {
    return QString::fromUtf8(text);
}

// Capturing: from File > Nuovo to the captured project.
std::vector<Step> capturingSteps() {
    const QPoint main(30, 40), wizard(230, 70), capture(470, 330);
    const QRect region(20, 50, 420, 400);
    return {
        {{{"main", main}},
         "main",
         "file",
         s("Tutorial 1: catturare lo schermo"),
         s("Ogni tutorial comincia da una cattura. Scegliete File > Nuovo (Ctrl+N): si apre la "
           "procedura guidata."),
         "Fumetto a sinistra",
         300,
         {},
         {}},
        {{{"main", main}, {"wizard", wizard}},
         "wizard",
         "region",
         s("Quale zona catturare"),
         s("Scegliete lo schermo intero, un rettangolo o una finestra. Il cursore del mouse viene "
           "registrato a parte, non dentro l'immagine."),
         "Fumetto in alto",
         320,
         {},
         {}},
        {{{"wizard-rectangle", QPoint(360, 70)}},
         "wizard-rectangle",
         "select",
         s("Disegnare il rettangolo"),
         s("Con Seleziona trascinate il mouse sul desktop per disegnare il rettangolo, oppure "
           "cliccate la finestra da catturare."),
         "Fumetto in alto",
         320,
         region,
         {}},
        {{{"wizard", wizard}},
         "wizard",
         "timed",
         s("Cattura temporizzata o a ogni clic"),
         s("La cattura temporizzata prende i frame al ritmo scelto; Cattura a ogni clic prende un "
           "frame a ogni clic del mouse."),
         "Fumetto a sinistra",
         300,
         {},
         {}},
        {{{"capture", capture}},
         "",
         "",
         s("Il tasto Pausa"),
         s("Premete Pausa per catturare un frame, ovunque sul desktop. Maiusc+Pausa avvia la cattura "
           "temporizzata; Pausa la ferma."),
         "Fumetto in basso",
         340,
         region,
         QPoint(200, 330)},
        {{{"capture", capture}},
         "capture",
         "finish",
         s("La finestra di cattura"),
         s("La finestra di cattura conta i frame e resta fuori dalle immagini. Termina crea il "
           "progetto, Annulla scarta i frame catturati."),
         "Fumetto a destra",
         320,
         region,
         {}},
        {{{"project", QPoint(30, 40)}},
         "project",
         "editor",
         s("Il progetto catturato"),
         s("Ecco i frame catturati, pronti da annotare. Il Tutorial 2 mostra come scrivere i "
           "testi e pubblicare il progetto."),
         "Fumetto a destra",
         300,
         {},
         {}},
    };
}

// Editing and publishing: text box, callout, title, buttons, settings, render.
std::vector<Step> editingSteps() {
    const QPoint main(30, 40);
    return {
        {{{"project", main}},
         "project",
         "thumbnails",
         s("Tutorial 2: annotare e pubblicare"),
         s("In alto l'editor del frame, sotto le miniature, a sinistra il pannello delle proprietà. "
           "Cliccate una miniatura per scegliere il frame."),
         "Fumetto a destra",
         320,
         {},
         {}},
        {{{"project", main}},
         "project",
         "editor",
         s("La casella di testo"),
         s("Ogni frame ha una casella di testo: scrivete nel pannello o con un doppio clic; "
           "trascinatela e usate le maniglie per ridimensionarla."),
         "Fumetto a destra",
         300,
         {},
         {}},
        {{{"project", main}},
         "project",
         "frame-menu",
         s("Il fumetto e il carattere"),
         s("Frame > Scegli il Callout (Ctrl+L) cambia il fumetto intorno al testo; Scegli il carattere "
           "(Ctrl+F) il carattere e il suo colore. Usa come stile predefinito del pannello vale per "
           "le nuove caselle."),
         "Fumetto a sinistra",
         320,
         {},
         {}},
        {{{"project", main}},
         "project",
         "title",
         s("Il titolo del frame"),
         s("Il titolo appare in cima al frame in ogni output. Il suo carattere e la sua posizione "
           "sono gli stessi per tutto il progetto."),
         "Fumetto a sinistra",
         320,
         {},
         {}},
        {{{"project", main}},
         "project",
         "buttons",
         s("I pulsanti di navigazione"),
         s("Avanti e Indietro portano al frame vicino; i due pulsanti VaiA saltano al frame che "
           "scegliete. Senza pulsanti il frame avanza da solo."),
         "Fumetto a sinistra",
         320,
         {},
         {}},
        {{{"project", main}, {"settings", QPoint(200, 90)}},
         "settings",
         "type",
         s("Impostazioni progetto"),
         s("Progetto > Impostazioni (F3) sceglie il tipo di output (pagina HTML5, filmato, eseguibile) "
           "e il nome del file."),
         "Fumetto in alto",
         340,
         {},
         {}},
        {{{"project", main}, {"render", QPoint(230, 160)}},
         "render",
         "bar",
         s("Rendering e pubblicazione"),
         s("Progetto > Renderizza (F7) crea l'output; File > Esporta in HTML ed Esporta in PDF "
           "scrivono pagine o un PDF. Pubblicate la cartella dell'output."),
         "Fumetto in alto",
         340,
         {},
         {}},
    };
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s DATA_FOLDER\n", argv[0]);
        return 2;
    }
    // Nothing of the user's is read or written: settings and data go to a folder of their own.
    QTemporaryDir home;
    for (const char* name : {"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME"})
        qputenv(name, home.path().toLocal8Bit());
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setFont(QFont(QStringLiteral("DejaVu Sans"), 9));

    const QString data = QString::fromLocal8Bit(argv[1]);
    const QString images = data + QStringLiteral("/docs/immagini");
    if (!QDir().mkpath(data + QStringLiteral("/samples")) || !QDir().mkpath(images))
        return 1;
    const std::map<QString, WindowPicture> windows = grabProgramWindows();
    if (windows.size() < 6) {
        std::fprintf(stderr, "only %zu windows could be opened\n", windows.size());
        return 1;
    }
    for (const auto& [name, window] : windows) {
        if (!window.image.save(images + QLatin1Char('/') + name + QStringLiteral(".png")))
            return 1;
    }
    if (!makeSample(windows, capturingSteps(), data + QStringLiteral("/samples/tutorial.qbk")) ||
        !makeSample(windows, editingSteps(), data + QStringLiteral("/samples/sample.qbk")))
        return 1;
    return 0;
}
