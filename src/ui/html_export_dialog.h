#pragma once

#include <QDialog>
#include <functional>

#include "imagefilters/filter_table.h"

class QLineEdit;
class QListWidget;

namespace quib {

// "Opzioni per esportazione HTML": the page name and the image type of the frames.
class HtmlExportDialog : public QDialog {
public:
    // Asks for the page name; gets the current name, returns the chosen path or an empty text.
    using BrowseFunction = std::function<QString(QWidget* parent, const QString& name)>;

    // Lists the writable types of filters; selects rememberedFilter (the first when not listed).
    HtmlExportDialog(const FilterTable& filters, const QString& rememberedName, int rememberedFilter,
                     QWidget* parent = nullptr);

    void setBrowseFunction(BrowseFunction browse) { m_browse = std::move(browse); }

    QLineEdit* nameEdit() const { return m_name; }
    QListWidget* typeList() const { return m_types; }
    // Whether any plug-in can write images: without one the export cannot start.
    bool hasTypes() const;

    // The confirmed values (valid after accept).
    QString pageName() const;
    int filterIndex() const;

    void browse();

private:
    QLineEdit* m_name = nullptr;
    QListWidget* m_types = nullptr;
    BrowseFunction m_browse;
};

}  // namespace quib
