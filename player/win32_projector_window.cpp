#include "win32_projector_window.h"

#include <windows.h>

#include <optional>

#include "projector_view.h"

namespace quib::player {

namespace {

constexpr UINT_PTR FrameTimer = 1;
constexpr wchar_t WindowClass[] = L"QuibProjector";

std::optional<ProjectorKey> keyOf(WPARAM key) {
    switch (key) {
        case VK_RIGHT:
        case VK_SPACE:
            return ProjectorKey::Next;
        case VK_LEFT:
            return ProjectorKey::Previous;
        case VK_HOME:
            return ProjectorKey::First;
        case VK_END:
            return ProjectorKey::Last;
        default:
            return std::nullopt;
    }
}

void paint(HWND window, ProjectorView& view) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window, &ps);
    const Picture& picture = view.picture();
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = picture.width;
    info.bmiHeader.biHeight = -picture.height;  // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    SetDIBitsToDevice(dc, 0, 0, DWORD(picture.width), DWORD(picture.height), 0, 0, 0, UINT(picture.height),
                      picture.pixels.data(), &info, DIB_RGB_COLORS);
    EndPaint(window, &ps);
}

LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* view = reinterpret_cast<ProjectorView*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
        return DefWindowProcW(window, message, wParam, lParam);
    }
    if (!view)
        return DefWindowProcW(window, message, wParam, lParam);
    const int x = short(LOWORD(lParam)), y = short(HIWORD(lParam));
    switch (message) {
        case WM_TIMER:
            if (view->tick())
                InvalidateRect(window, nullptr, FALSE);
            return 0;
        case WM_SIZE:
            view->resize(LOWORD(lParam), HIWORD(lParam));
            InvalidateRect(window, nullptr, FALSE);
            return 0;
        case WM_PAINT:
            paint(window, *view);
            return 0;
        case WM_ERASEBKGND:
            return 1;
        case WM_SETCURSOR:
            if (LOWORD(lParam) == HTCLIENT) {
                POINT p;
                GetCursorPos(&p);
                ScreenToClient(window, &p);
                SetCursor(LoadCursorW(nullptr, view->overButton(p.x, p.y) ? IDC_HAND : IDC_ARROW));
                return TRUE;
            }
            break;
        case WM_LBUTTONUP:
            if (view->click(x, y))
                InvalidateRect(window, nullptr, FALSE);
            return 0;
        case WM_KEYDOWN:
            if (auto key = keyOf(wParam)) {
                if (view->press(*key))
                    InvalidateRect(window, nullptr, FALSE);
                return 0;
            }
            break;
        case WM_DESTROY:
            KillTimer(window, FrameTimer);
            PostQuitMessage(0);
            return 0;
        default:
            break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

std::wstring wideFromUtf8(const std::string& text) {
    const int length = MultiByteToWideChar(CP_UTF8, 0, text.data(), int(text.size()), nullptr, 0);
    std::wstring wide(size_t(std::max(length, 0)), L'\0');
    if (length > 0)
        MultiByteToWideChar(CP_UTF8, 0, text.data(), int(text.size()), wide.data(), length);
    return wide;
}

std::string utf8FromWide(const std::wstring& text) {
    const int length =
        WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), nullptr, 0, nullptr, nullptr);
    std::string utf8(size_t(std::max(length, 0)), '\0');
    if (length > 0)
        WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), utf8.data(), length, nullptr, nullptr);
    return utf8;
}

int runWin32Projector(const MovieToPlay& toPlay) {
    if (!toPlay.movie) {
        MessageBoxW(nullptr, wideFromUtf8(toPlay.error).c_str(), wideFromUtf8(toPlay.title).c_str(),
                    MB_OK | MB_ICONERROR);
        return ExitError;
    }
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = windowProcedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    windowClass.lpszClassName = WindowClass;
    RegisterClassExW(&windowClass);

    ProjectorView view(toPlay.movie);
    RECT work{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const DWORD style = WS_OVERLAPPEDWINDOW;
    // The frame around the picture counts against the work area too.
    RECT frame{0, 0, 0, 0};
    AdjustWindowRect(&frame, style, FALSE);
    const Size room{int(work.right - work.left) - int(frame.right - frame.left),
                    int(work.bottom - work.top) - int(frame.bottom - frame.top)};
    const Size client = ProjectorView::fittedSize(view.player().movie().stageSize(), room);
    RECT outer{0, 0, client.cx, client.cy};
    AdjustWindowRect(&outer, style, FALSE);
    const int width = outer.right - outer.left, height = outer.bottom - outer.top;
    const int left = work.left + std::max(0, int(work.right - work.left - width) / 2);
    const int top = work.top + std::max(0, int(work.bottom - work.top - height) / 2);
    view.resize(client.cx, client.cy);
    HWND window = CreateWindowExW(0, WindowClass, wideFromUtf8(toPlay.title).c_str(), style, left, top, width,
                                  height, nullptr, nullptr, instance, &view);
    if (!window)
        return ExitError;
    SetTimer(window, FrameTimer, UINT(view.frameIntervalMs()), nullptr);
    ShowWindow(window, SW_SHOWNORMAL);
    UpdateWindow(window);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}

}  // namespace quib::player
