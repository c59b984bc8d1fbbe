#include "placeholder_document.h"

#include <QFileInfo>

#include "base/strings.h"

namespace quib {

QString PlaceholderDocument::title() const {
    return QFileInfo(m_path).fileName();
}

std::unique_ptr<ProjectDocument> PlaceholderDocument::open(const QString& path, QString* error) {
    QFileInfo info(path);
    if (!info.isFile() || !info.isReadable()) {
        if (error)
            *error = QString::fromStdString(formatString1(str::FileNotFound, path.toStdString()));
        return nullptr;
    }
    return std::make_unique<PlaceholderDocument>(info.absoluteFilePath());
}

}  // namespace quib
