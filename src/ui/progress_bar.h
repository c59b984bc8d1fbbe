#pragma once

#include <QPointer>
#include <QString>

#include "base/progress.h"

class QProgressBar;

namespace quib {

class QuibStatusBar;

// A progress bar with a text inside the status bar's message pane, for long operations that have
// no dialog. Nothing shows while the status bar is hidden. Setting a position first lets the
// window handle pending events, so it stays alive during the work.
class CProgressBar final : public Progress {
public:
    CProgressBar(QuibStatusBar* statusBar, const QString& text, int sizePercent, int maximum,
                 bool smooth = true);
    ~CProgressBar() override;

    void SetPos(int position);
    void StepIt();
    void SetRange(int low, int high);
    void SetText(const QString& text);

    // Progress
    void setText(const std::string& text) override { SetText(QString::fromStdString(text)); }
    void setRange(int low, int high) override { SetRange(low, high); }
    void setPosition(int position) override { SetPos(position); }

    bool isShown() const;
    QProgressBar* bar() const { return m_bar; }

private:
    void layoutInPane();

    QPointer<QuibStatusBar> m_statusBar;
    QPointer<QProgressBar> m_bar;
    QString m_text;
    int m_sizePercent;
};

}  // namespace quib
