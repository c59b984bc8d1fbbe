// Turns the user guide's Markdown text into the HTML page the "Guida utente" command opens and
// the PDF beside it: user_guide_generator GUIDA.md OUT.html OUT.pdf. Pictures are linked
// relative to the page's folder.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPageSize>
#include <QPdfWriter>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFragment>
#include <QUrl>
#include <cstdio>

namespace {

constexpr int kPdfResolution = 96;

// Loads the pictures; those wider than the text are shown at the text's width.
void fitImages(QTextDocument& document, qreal width) {
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.charFormat().isImageFormat())
                continue;
            QTextImageFormat image = fragment.charFormat().toImageFormat();
            const QImage loaded(QDir(document.baseUrl().toLocalFile()).filePath(image.name()));
            if (loaded.isNull())
                continue;
            // Printing works on a copy of the document, which takes the pictures along.
            document.addResource(QTextDocument::ImageResource, QUrl(image.name()), loaded);
            if (loaded.width() <= width)
                continue;
            image.setWidth(width);
            image.setHeight(loaded.height() * width / loaded.width());
            QTextCursor cursor(&document);
            cursor.setPosition(fragment.position());
            cursor.setPosition(fragment.position() + fragment.length(), QTextCursor::KeepAnchor);
            cursor.setCharFormat(image);
        }
    }
}

bool writeText(const QString& path, const QString& text) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(text.toUtf8()) >= 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "uso: %s GUIDA.md OUT.html OUT.pdf\n", argv[0]);
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    QFile source(QString::fromLocal8Bit(argv[1]));
    if (!source.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "impossibile leggere %s\n", argv[1]);
        return 1;
    }
    const QString html = QString::fromLocal8Bit(argv[2]);
    const QString pdf = QString::fromLocal8Bit(argv[3]);
    QTextDocument document;
    document.setBaseUrl(QUrl::fromLocalFile(QFileInfo(html).absolutePath() + QLatin1Char('/')));
    document.setMarkdown(QString::fromUtf8(source.readAll()));
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPointSizeF(10.5);
    document.setDefaultFont(font);
    document.setMetaInformation(QTextDocument::DocumentTitle, QStringLiteral("Guida utente di Quib"));

    QString page = document.toHtml();
    page.replace(QStringLiteral("</head>"),
                 QStringLiteral("<style>body{max-width:60em;margin:1em auto;padding:0 1em}"
                                "img{max-width:100%;height:auto;border:1px solid #ccc}</style></head>"));
    if (!writeText(html, page)) {
        std::fprintf(stderr, "impossibile scrivere %s\n", argv[2]);
        return 1;
    }

    QPdfWriter writer(pdf);
    writer.setResolution(kPdfResolution);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageMargins(QMarginsF(20, 20, 20, 20), QPageLayout::Millimeter);
    writer.setTitle(QStringLiteral("Guida utente di Quib"));
    writer.setCreator(QStringLiteral("Quib"));
    fitImages(document, writer.pageLayout().paintRectPixels(kPdfResolution).width() * 0.9);
    document.print(&writer);
    return QFile::exists(pdf) ? 0 : 1;
}
