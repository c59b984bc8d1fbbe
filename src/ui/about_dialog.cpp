#include "about_dialog.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "toolbar_icons.h"

namespace quib {

QString AboutDialog::versionLine() {
    return QStringLiteral("Quib versione %1").arg(QStringLiteral(QUIB_VERSION));
}

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Informazioni su Quib"));
    auto* icon = new QLabel(this);
    icon->setPixmap(applicationIcon().pixmap(48, 48));
    icon->setAlignment(Qt::AlignTop);

    auto* version = new QLabel(versionLine(), this);
    QFont bold = version->font();
    bold.setBold(true);
    version->setFont(bold);
    auto* link = new QLabel(
        QStringLiteral("<a href=\"https://www.corvander.example/quib\">www.corvander.example/quib</a>"),
        this);
    link->setOpenExternalLinks(true);
    auto* notice =
        new QLabel(QStringLiteral("Crea tutorial animati da catture dello schermo: cattura, annota e "
                                  "pubblica come filmato, pagina HTML o documento PDF.\n\n"
                                  "Copyright © Corvander. Tutti i diritti riservati."),
                   this);
    notice->setWordWrap(true);
    notice->setObjectName(QStringLiteral("notice"));

    auto* text = new QVBoxLayout;
    text->addWidget(version);
    text->addWidget(link);
    text->addSpacing(8);
    text->addWidget(notice);
    auto* top = new QHBoxLayout;
    top->addWidget(icon);
    top->addLayout(text, 1);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(buttons);
    setMinimumWidth(380);
}

}  // namespace quib
