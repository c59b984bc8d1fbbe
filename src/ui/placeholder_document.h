#pragma once

#include "project_document.h"

namespace quib {

// Stands for a project file until the project document is plugged in: it knows its path only,
// is never modified and handles no command.
class PlaceholderDocument final : public ProjectDocument {
public:
    explicit PlaceholderDocument(QString path) : m_path(std::move(path)) {}
    QString pathName() const override { return m_path; }
    QString title() const override;
    bool isModified() const override { return false; }
    bool save() override { return true; }

    // Opens a placeholder for a readable file; a missing file gives the not-found message.
    static std::unique_ptr<ProjectDocument> open(const QString& path, QString* error);

private:
    QString m_path;
};

}  // namespace quib
