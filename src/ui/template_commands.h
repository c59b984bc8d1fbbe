#pragma once

#include <QString>
#include <cstdint>
#include <functional>

#include "command_handler.h"
#include "template_element_chooser.h"

namespace quib {

struct AppSettings;
class QuibProjectDocument;
class TemplatePreview;

// What the template commands ask of the user; tests replace these so that no modal box opens.
struct TemplateInteraction {
    // The element chooser starting from mask; true on OK with the checked mask.
    std::function<bool(TemplateElementChooser::Mode mode, uint32_t& mask)> chooseElements;
    // The template file to save to, starting in folder with the suggested name; empty to stop.
    std::function<QString(const QString& folder, const QString& suggested)> askSaveName;
    // The apply dialog starting in folder; true on OK with the template path, the elements to use
    // and the folder the user ended in.
    std::function<bool(const TemplatePreview& preview, QString& folder, QString& path, uint32_t& mask)>
        askTemplate;
};

// "Salva progetto come modello" and "Applica un modello" on one project.
class TemplateCommands final : public CommandHandler {
public:
    explicit TemplateCommands(QuibProjectDocument& document);

    bool handles(int id) const override;
    void run(int id) override;
    bool enabled(int id) const override;

    // Both return true when a template was written or applied.
    bool saveAsTemplate();
    bool applyTemplate();

    // The suggested template name: the title without its " *" mark and without its extension.
    static QString suggestedName(const QString& title);
    // Where templates are saved; created when missing.
    static QString templatesFolder();

    static TemplateInteraction& interaction();
    // The settings that remember the last template folder (the main window's when not set).
    static void setApplicationSettings(AppSettings* settings);

private:
    QuibProjectDocument& m_document;
};

}  // namespace quib
