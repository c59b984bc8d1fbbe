#include "template_element_chooser.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "model/template_file.h"

namespace quib {

namespace {
// Both titles live in one text, the saving one first.
const char* const kTitles = "Scegli elementi da salvare nel modello,Scegli elementi da usare dal modello";
}  // namespace

QString TemplateElementChooser::titleFor(Mode mode) {
    return QString::fromUtf8(kTitles).section(QLatin1Char(','), mode == Saving ? 0 : 1,
                                              mode == Saving ? 0 : 1);
}

TemplateElementChooser::TemplateElementChooser(Mode mode, uint32_t mask, QWidget* parent) : QDialog(parent) {
    setWindowTitle(titleFor(mode));
    m_list = new QListWidget(this);
    for (int i = 0; i < templ::ElementCount; ++i) {
        auto* item = new QListWidgetItem(QString::fromUtf8(templ::elementText(i)), m_list);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable | Qt::ItemIsSelectable);
    }
    setMask(mask);
    // Every element in view without scrolling.
    m_list->setMinimumHeight(m_list->sizeHintForRow(0) * templ::ElementCount + 2 * m_list->frameWidth());

    m_all = new QPushButton(QStringLiteral("&Tutti"), this);
    m_none = new QPushButton(QStringLiteral("&Nessuno"), this);
    connect(m_all, &QPushButton::clicked, this, [this] { setMask(templ::AllElements); });
    connect(m_none, &QPushButton::clicked, this, [this] { setMask(0); });

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Annulla"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* side = new QVBoxLayout;
    side->addWidget(m_all);
    side->addWidget(m_none);
    side->addStretch();
    auto* row = new QHBoxLayout;
    row->addWidget(m_list, 1);
    row->addLayout(side);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(buttons);
}

uint32_t TemplateElementChooser::mask() const {
    uint32_t mask = 0;
    for (int i = 0; i < m_list->count(); ++i)
        if (m_list->item(i)->checkState() == Qt::Checked)
            mask |= 1u << i;
    return mask;
}

void TemplateElementChooser::setMask(uint32_t mask) {
    for (int i = 0; i < m_list->count(); ++i)
        m_list->item(i)->setCheckState((mask & (1u << i)) ? Qt::Checked : Qt::Unchecked);
}

}  // namespace quib
