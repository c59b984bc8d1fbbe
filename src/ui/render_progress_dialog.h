#pragma once

#include <QDialog>
#include <QPointer>
#include <cstdint>
#include <functional>

#include "base/progress.h"

class QLabel;
class QProgressBar;
class QPushButton;

namespace quib {

// The modeless "Rendering..." dialog kept open by long operations: percentage, elapsed time, an
// estimate of the time left, and cancel. It disables its parent while it lives.
class RenderProgressDialog : public QDialog, public Progress {
public:
    using Clock = std::function<int64_t()>;  // milliseconds

    explicit RenderProgressDialog(QWidget* parent, Clock clock = {});
    ~RenderProgressDialog() override;

    void setTitle(const QString& title);

    // Progress
    void setText(const std::string& text) override;
    void setRange(int low, int high) override;
    void setPosition(int position) override;
    bool cancelled() const override { return m_cancelled; }

    QString percentText() const;
    QString elapsedText() const;
    QString remainingText() const;
    QPushButton* cancelButton() const { return m_cancel; }

    // "%d secs" below a minute, else "%d min, %d secs".
    static QString durationText(int64_t seconds);
    // (pos - low) * 100 / (high - low), 100 for an empty range or at the end.
    static int percentage(int low, int high, int position);

    void reject() override;
    void accept() override {}

private:
    Clock m_clock;
    int m_low = 0;
    int m_high = 100;
    int64_t m_start = 0;
    bool m_cancelled = false;
    QPointer<QWidget> m_disabledParent;
    QProgressBar* m_bar = nullptr;
    QLabel* m_percent = nullptr;
    QLabel* m_elapsed = nullptr;
    QLabel* m_remaining = nullptr;
    QPushButton* m_cancel = nullptr;
};

}  // namespace quib
