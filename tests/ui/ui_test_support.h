#pragma once

#include <QSettings>
#include <QString>
#include <QTemporaryDir>
#include <algorithm>
#include <memory>
#include <vector>

#include "model/doc_observer.h"

namespace quib::test {

// The one QApplication of the test program, created on first use with the offscreen platform
// and every user folder redirected to a temporary directory.
void ensureApplication();

// Base of fixtures whose members are widgets: the application exists before they are built.
struct WithApplication {
    WithApplication() { ensureApplication(); }
};

// A settings store in a fresh ini file of its own temporary folder.
class TempSettings {
public:
    TempSettings();
    QSettings& store() { return *m_store; }
    std::unique_ptr<QSettings> takeStore();
    // A second store over the same file, to read what was written.
    std::unique_ptr<QSettings> reopen() const;
    QString path() const { return m_path; }
    QString folder() const { return m_dir.path(); }

private:
    QTemporaryDir m_dir;
    QString m_path;
    std::unique_ptr<QSettings> m_store;
};

// Records the hints a document sends to its observers.
struct HintRecorder : DocObserver {
    std::vector<int> hints;
    void onUpdate(int hint, uint32_t) override { hints.push_back(hint); }
    bool heard(int hint) const { return std::find(hints.begin(), hints.end(), hint) != hints.end(); }
    int last() const { return hints.empty() ? -1 : hints.back(); }
};

// Creates a file with some bytes and returns its absolute path.
QString makeFile(const QString& folder, const QString& name);

}  // namespace quib::test

// Readable QString values in test failures.
#include <ostream>
inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}
