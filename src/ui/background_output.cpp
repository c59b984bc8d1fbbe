#include "background_output.h"

#include <QEventLoop>
#include <QTimer>
#include <atomic>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

namespace quib {

namespace {

// What the worker reports, kept until the interface thread takes it.
class RelayedProgress final : public Progress {
public:
    void setText(const std::string& text) override {
        std::lock_guard lock(m_mutex);
        m_text = text;
        m_textChanged = true;
    }
    void setRange(int low, int high) override {
        m_low = low;
        m_high = high;
        m_rangeChanged = true;
    }
    void setPosition(int position) override { m_position = position; }
    bool cancelled() const override { return m_cancelled; }

    // On the interface thread: shows what changed and passes a cancel on.
    void forward(Progress& shown) {
        {
            std::lock_guard lock(m_mutex);
            if (m_textChanged.exchange(false))
                shown.setText(m_text);
        }
        if (m_rangeChanged.exchange(false))
            shown.setRange(m_low, m_high);
        const int position = m_position;
        if (position != m_shownPosition) {
            m_shownPosition = position;
            shown.setPosition(position);
        }
        if (shown.cancelled())
            m_cancelled = true;
    }

private:
    std::mutex m_mutex;
    std::string m_text;
    std::atomic<bool> m_textChanged{false};
    std::atomic<int> m_low{0}, m_high{0}, m_position{0};
    std::atomic<bool> m_rangeChanged{false};
    std::atomic<bool> m_cancelled{false};
    int m_shownPosition = -1;
};

}  // namespace

ExportResult runInBackground(Progress& shown, const std::function<ExportResult(Progress&)>& work) {
    RelayedProgress relay;
    std::optional<ExportResult> result;
    QEventLoop loop;
    std::thread worker([&] {
        result = work(relay);
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    QTimer ticks;
    ticks.setInterval(40);
    QObject::connect(&ticks, &QTimer::timeout, &loop, [&] { relay.forward(shown); });
    ticks.start();
    loop.exec();
    worker.join();
    relay.forward(shown);
    return std::move(*result);
}

}  // namespace quib
