#pragma once

#include <QString>
#include <functional>
#include <memory>

#include "model/quib_doc.h"
#include "project_document.h"

namespace quib {

class QuibStatusBar;

// The project document of a window: a CQuibDoc with the file commands (save, save as, compressed save).
class QuibProjectDocument final : public ProjectDocument {
public:
    QuibProjectDocument();
    ~QuibProjectDocument() override;

    CQuibDoc& doc() { return *m_doc; }
    const CQuibDoc& doc() const { return *m_doc; }

    QString pathName() const override;
    QString title() const override;
    bool isModified() const override { return m_doc->isModified(); }
    bool save() override;
    bool saveAs();
    bool saveCompressed();
    // Writes to path; failures are shown and give false.
    bool saveTo(const QString& path, bool compressed);
    // The render command with its progress dialog; false when nothing was rendered.
    bool render();
    // The PDF export to path (asked for when empty), with its progress dialog.
    bool exportPdf(QString path = QString());

    bool handles(int id) const override;
    void run(int id) override;
    bool enabled(int id) const override;

    // Failure messages (a message box unless replaced) and the file name asked for by Save As.
    static void setMessageFunction(std::function<void(const QString&)> show);
    static void setSaveNameFunction(std::function<QString(const QString& suggested)> ask);
    static void showMessage(const QString& text);

    // Loads the project file at path; nullptr and the engine's message on failure.
    static std::unique_ptr<ProjectDocument> open(const QString& path, QString* error);
    // A new project without the capture wizard: default buttons, "Senza nome".
    static std::unique_ptr<QuibProjectDocument> createNew();

private:
    std::unique_ptr<CQuibDoc> m_doc;
};

}  // namespace quib
