#pragma once

// A private Xvfb display for tests and benchmarks: started on a free display number (the server
// picks it and reports it through -displayfd once it accepts connections), stopped on destruction.

#include <chrono>
#include <string>

#include "support/child_process.h"
#include "support/files_and_commands.h"

namespace quib::testing {

class XvfbServer {
public:
    explicit XvfbServer(const std::string& screen = "640x480x24") {
        if (!installed())
            return;
        // The server writes its display number once it accepts connections.
        m_process.start({"Xvfb", "-displayfd", "1", "-screen", "0", screen, "-nolisten", "tcp", "-noreset"},
                        {}, {.output = true});
        const std::string number = m_process.readLine(std::chrono::seconds(20));
        if (number.empty())
            m_process.stop();
        else
            m_display = ":" + number;
    }

    static bool installed() { return test::programInstalled("Xvfb"); }

    bool running() const { return !m_display.empty(); }
    // ":N", for XOpenDisplay and xcb_connect.
    const std::string& display() const { return m_display; }

private:
    test::ChildProcess m_process;
    std::string m_display;
};

}  // namespace quib::testing
