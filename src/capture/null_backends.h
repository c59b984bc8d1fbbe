#pragma once

#include <string>

#include "global_hot_key.h"
#include "screen_grabber.h"

namespace quib {

// Stands in where no screen can be read: every grab fails with the reason given at creation.
class NullScreenGrabber final : public ScreenGrabber {
public:
    explicit NullScreenGrabber(std::string reason) : m_reason(std::move(reason)) {}
    Status grab(const Rect& region, Bitmap24& out) override;
    ScreenCursor grabCursor() override;
    Size screenSize() override { return Size{}; }
    WindowAtPoint windowAt(Point) override { return WindowAtPoint{}; }

private:
    std::string m_reason;
};

// Stands in where no global key can be grabbed: start() fails with the reason given at creation.
class NullGlobalHotKey final : public GlobalHotKey {
public:
    explicit NullGlobalHotKey(std::string reason) : m_reason(std::move(reason)) {}
    Status start(Callback) override { return Status::failureText(m_reason); }
    void stop() override {}
    bool isActive() const override { return false; }
    int fileDescriptor() const override { return -1; }
    void processEvents() override {}

private:
    std::string m_reason;
};

// Stands in where the lock keys cannot be read: their state is never known.
class NullLockKeyReader final : public LockKeyReader {
public:
    LockKeys read() override { return LockKeys{}; }
};

}  // namespace quib
