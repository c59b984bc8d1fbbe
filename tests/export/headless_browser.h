#pragma once

#include <sys/types.h>

#include <QJsonObject>
#include <QJsonValue>
#include <string>

namespace quib::test {

// A headless Chromium driven over its DevTools pipe: one page, scripts evaluated in it, and real
// mouse and key input. Runs with a fresh profile and home folder inside profileDir.
class HeadlessBrowser {
public:
    // The browser's program, or empty when none is installed.
    static std::string program();

    explicit HeadlessBrowser(const std::string& profileDir);
    ~HeadlessBrowser();
    HeadlessBrowser(const HeadlessBrowser&) = delete;
    HeadlessBrowser& operator=(const HeadlessBrowser&) = delete;

    bool running() const { return m_pid > 0; }
    // Opens url in a new page and waits until it has loaded.
    bool open(const std::string& url);
    // The value of expression (a promise is awaited); an exception fails the test and gives null.
    QJsonValue evaluate(const std::string& expression);
    // A left click at page coordinates (CSS pixels).
    void click(double x, double y);
    // A key press and release; key as the page sees it ("ArrowRight", " ", "Home"), code and
    // keyCode as a keyboard reports it.
    void press(const std::string& key, const std::string& code, int keyCode);

private:
    QJsonObject call(const QString& method, const QJsonObject& params = {});

    pid_t m_pid = -1;
    int m_toBrowser = -1;
    int m_fromBrowser = -1;
    int m_nextId = 1;
    QString m_session;
    std::string m_buffer;
};

}  // namespace quib::test
