#pragma once

#include <string>

namespace quib {

// What a long operation reports to whoever shows its progress. The user interface implements it
// with the status-bar bar or the progress dialog; the engine and the tests use NullProgress.
class Progress {
public:
    virtual ~Progress() = default;
    virtual void setText(const std::string& /*text*/) {}
    virtual void setRange(int low, int high) = 0;
    virtual void setPosition(int position) = 0;
    virtual bool cancelled() const { return false; }
};

class NullProgress final : public Progress {
public:
    void setRange(int, int) override {}
    void setPosition(int) override {}
};

}  // namespace quib
