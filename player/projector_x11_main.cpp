#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "player_program.h"
#include "x11_projector_window.h"

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    std::error_code error;
    std::string self = std::filesystem::read_symlink("/proc/self/exe", error).string();
    if (error)
        self = "/proc/self/exe";
    return quib::player::runPlayerProgram(args, "quib-projector", self, quib::player::runX11Projector);
}
