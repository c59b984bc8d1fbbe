#include <windows.h>

#include <shellapi.h>

#include <string>
#include <vector>

#include "player_program.h"
#include "win32_projector_window.h"

using namespace quib::player;

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    int count = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::string> args;
    for (int i = 1; wide && i < count; ++i)
        args.push_back(utf8FromWide(wide[i]));
    LocalFree(wide);
    // Long paths: grow the buffer until the name fits.
    std::wstring self(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, self.data(), DWORD(self.size()));
        if (length < self.size()) {
            self.resize(length);
            break;
        }
        self.resize(self.size() * 2);
    }
    return runPlayerProgram(args, "quib-projector", utf8FromWide(self), runWin32Projector);
}
