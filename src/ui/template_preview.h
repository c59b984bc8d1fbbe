#pragma once

#include <QImage>
#include <QSize>
#include <QString>
#include <cstdint>
#include <string>
#include <vector>

namespace quib {

class CQuibDoc;

// What a project would look like with a template applied: the project is kept serialised, and
// each preview reloads it into a private document, so the real project is never touched.
class TemplatePreview {
public:
    // Serialises project now (its pending edits are committed first).
    explicit TemplatePreview(CQuibDoc& project);

    // The current frame composed with every element after applying the template at path with
    // mask, box-filtered to fit area; a null image when the template does not load.
    QImage render(const QString& templatePath, uint32_t mask, QSize area) const;

private:
    std::vector<uint8_t> m_projectBytes;
    std::string m_projectPath;
    int m_frameIndex = -1;
};

}  // namespace quib
