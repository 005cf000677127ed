#include "window_placement.h"

#include <algorithm>

namespace velkaro::winapp {

RECT workAreaOf(HWND owner) {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    const HMONITOR handle = owner != nullptr ? MonitorFromWindow(owner, MONITOR_DEFAULTTONEAREST)
                                             : MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY);
    if (GetMonitorInfoW(handle, &monitor) == FALSE) {
        RECT area{};
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
        return area;
    }
    return monitor.rcWork;
}

namespace {

[[nodiscard]] LONG centredStart(LONG low, LONG high, LONG extent, LONG areaLow, LONG areaHigh) {
    const LONG start = (low + high) / 2 - extent / 2;
    return std::max(areaLow, std::min(start, areaHigh - extent));
}

} // namespace

void centreWindow(HWND window, HWND owner) {
    const RECT area = workAreaOf(owner);
    RECT around = area;
    if (owner != nullptr) {
        GetWindowRect(owner, &around);
    }
    RECT own;
    GetWindowRect(window, &own);
    const LONG width = own.right - own.left;
    const LONG height = own.bottom - own.top;
    const LONG x = centredStart(around.left, around.right, width, area.left, area.right);
    const LONG y = centredStart(around.top, around.bottom, height, area.top, area.bottom);
    SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

POINT minimisedIconPosition(SIZE client, SIZE icon) {
    return {(client.cx - icon.cx + 1) / 2, (client.cy - icon.cy + 1) / 2};
}

} // namespace velkaro::winapp
